// mr3x-export: one set of files an input, messages naming what could not be exported, exit
// codes, and nothing that exists replaced without --force.
#include "events/ViewerFixture.h"
#include "export/ExportCommand.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::EventFile;
using mr3x::test::TempFolder;

namespace {

/// A long M-R32 event of 6 December 2026, 12:00:00.
QByteArray eventBytes()
{
    EventFile event;
    const int when[6] = {26, 12, 6, 12, 0, 0};
    for (int k = 0; k < 6; ++k)
        event.head(k, when[k]);
    return event.bytes();
}

QByteArray traceBytes()
{
    return QByteArray(629, '\x80');
}

struct Outcome {
    int code = -1;
    QString out, err;
};

Outcome run(const QStringList& arguments)
{
    Outcome o;
    QTextStream out(&o.out), err(&o.err);
    o.code = runExportCommand(arguments, out, err);
    return o;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(ExportCommand, EachInputGetsItsOwnSetAndOneThatCannotBeReadIsNamedWhileTheOthersGoOn)
{
    TempFolder f;
    const QString good = f.write("in/26-12-06 12-00-00.trg", eventBytes());
    const QString shortFile = f.write("in/broken.trg", QByteArray(100, '\0'));
    const QString missing = f("in/gone.vlt");
    const QString other = f.write("in/notes.txt", "hello");
    const QString trace = f.write("in/26-12-05 14-03-09 (R-N=Y-N).TDR", traceBytes());
    const QString out = f("out");

    const Outcome o = run({"--format", "comtrade", "--output", out, good, shortFile, missing, other, trace});
    EXPECT_EQ(o.code, kExportSomeFailed);
    EXPECT_EQ(filesIn(out), QStringList({"26-12-06 12-00-00.cfg", "26-12-06 12-00-00.dat"}));
    EXPECT_TRUE(o.out.contains("26-12-06 12-00-00.trg -> 26-12-06 12-00-00.cfg, 26-12-06 12-00-00.dat")) << o.out.toStdString();
    const QStringList errors = o.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(errors.size(), 4) << o.err.toStdString();
    EXPECT_TRUE(errors[0].contains("broken.trg: holds 100 bytes, where an event file holds 3328 or 11520"));
    EXPECT_TRUE(errors[1].contains("gone.vlt: cannot be read"));
    EXPECT_TRUE(errors[2].contains("notes.txt: not an event file"));
    EXPECT_TRUE(errors[3].contains("(R-N=Y-N).TDR: it is a TDR trace; COMTRADE holds events"));
    for (const QString& line : errors)
        EXPECT_TRUE(line.startsWith("mr3x-export: ")) << line.toStdString();

    // CSV takes both kinds; a long event brings its trace too.
    const Outcome csv = run({"--format", "csv", "--output", f("csv"), good, trace});
    EXPECT_EQ(csv.code, kExportDone) << csv.err.toStdString();
    EXPECT_TRUE(csv.err.isEmpty());
    EXPECT_EQ(filesIn(f("csv")), QStringList({"26-12-05 14-03-09 (R-N=Y-N).csv", "26-12-06 12-00-00 (TDR).csv",
                                              "26-12-06 12-00-00.csv"}));
}

TEST(ExportCommand, AnExistingFileIsNeverReplacedWithoutForceAndThenTheWholeSetIsLeft)
{
    TempFolder f;
    const QString event = f.write("in/26-12-06 12-00-00.trg", eventBytes());
    f.write("out/26-12-06 12-00-00.cfg", "mine");

    const Outcome kept = run({"--format=comtrade-binary", "--output", f("out"), event});
    EXPECT_EQ(kept.code, kExportSomeFailed);
    EXPECT_TRUE(kept.err.contains("not exported, 26-12-06 12-00-00.cfg already there (--force replaces)")) << kept.err.toStdString();
    EXPECT_EQ(f.read("out/26-12-06 12-00-00.cfg"), QByteArray("mine"));
    EXPECT_FALSE(f.exists("out/26-12-06 12-00-00.dat")) << "no half set";

    const Outcome forced = run({"--format=comtrade-binary", "--force", "--output", f("out"), event});
    EXPECT_EQ(forced.code, kExportDone) << forced.err.toStdString();
    EXPECT_TRUE(f.read("out/26-12-06 12-00-00.cfg").contains("BINARY\r\n"));
    EXPECT_EQ(f.read("out/26-12-06 12-00-00.dat").size(), 800 * 16);

    // Two inputs of one name: the second never replaces the first's files, even with --force.
    const QString twin = f.write("slave/26-12-06 12-00-00.trg", eventBytes());
    const Outcome twins = run({"--format=csv", "--force", "--output", f("twins"), event, twin});
    EXPECT_EQ(twins.code, kExportSomeFailed);
    EXPECT_TRUE(twins.err.contains("slave")) << twins.err.toStdString();
    EXPECT_TRUE(twins.err.contains("already written for another input"));
}

TEST(ExportCommand, AWrongCommandLineExportsNothingAndHelpSaysHowItIsUsed)
{
    TempFolder f;
    const QString event = f.write("26-12-06 12-00-00.trg", eventBytes());
    for (const QStringList& wrong : {QStringList{"--format", "gif", event}, QStringList{"--format", "csv", "--frequency", "55", event},
                                     QStringList{"--format", "csv"}, QStringList{event}}) {
        const Outcome o = run(wrong + QStringList{"--output", f("out")});
        EXPECT_EQ(o.code, kExportUsage) << wrong.join(' ').toStdString();
        EXPECT_TRUE(o.err.contains("--help"));
        EXPECT_FALSE(f.exists("out"));
    }
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.code, kExportDone);
    for (const char* mention : {"--format", "comtrade|", "--frequency 50|60", "--output DIR", "--force", "stderr"})
        EXPECT_TRUE(help.out.contains(mention) || help.out.contains(QString(mention).remove('|'))) << mention;
}

TEST(ExportCommand, TheProgramDrawsItsPicturesWithNoDisplayAndSaysNothingMoreThanItDid)
{
    TempFolder f;
    const QString event = f.write("in/26-12-06 12-00-00.trg", eventBytes());
    QProcess exporter;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        environment.remove(QString::fromLatin1(name));
    exporter.setProcessEnvironment(environment);
    exporter.start(QStringLiteral(MR3X_EXPORT), {"--format", "png", "--size", "400x300", "--output", f("out"), event});
    ASSERT_TRUE(exporter.waitForFinished(60000));
    EXPECT_EQ(exporter.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(exporter.exitCode(), kExportDone);
    EXPECT_EQ(exporter.readAllStandardError(), QByteArray());
    EXPECT_EQ(filesIn(f("out")), QStringList({"26-12-06 12-00-00 (TDR).png", "26-12-06 12-00-00.png"}));
    EXPECT_EQ(QImage(f("out/26-12-06 12-00-00.png")).size(), QSize(400, 300));

    exporter.start(QStringLiteral(MR3X_EXPORT), {"--format", "png", "--output", f("out"), event, f("in/missing.trg")});
    ASSERT_TRUE(exporter.waitForFinished(60000));
    EXPECT_EQ(exporter.exitCode(), kExportSomeFailed);
    const QString err = QString::fromUtf8(exporter.readAllStandardError());
    EXPECT_TRUE(err.contains("already there")) << err.toStdString();
    EXPECT_TRUE(err.contains("missing.trg: cannot be read")) << err.toStdString();
}
