// mr3x-export: one set of files an input, messages naming what could not be exported, exit
// codes, and nothing that exists replaced without --force.
#include "events/ViewerFixture.h"
#include "export/ExportCommand.h"
#include "export/CommandOutcome.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::TempFolder;

namespace {

using mr3x::test::Outcome;

Outcome run(const QStringList& arguments)
{
    return mr3x::test::runCommand(runExportCommand, arguments);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

const QByteArray kEvent = mr3x::test::datedEventFile().bytes();

} // namespace

TEST(ExportCommand, EachInputGetsItsOwnSetWhatCannotBeReadIsNamedNothingIsReplacedWithoutForceAndNoDisplayIsNeeded)
{
    TempFolder f;
    const QString good = f.write("in/26-12-06 12-00-00.trg", kEvent);
    const QString shortFile = f.write("in/broken.trg", QByteArray(100, '\0'));
    const QString other = f.write("in/notes.txt", "hello");
    const QString trace = f.write("in/26-12-05 14-03-09 (R-N=Y-N).TDR", QByteArray(629, '\x80'));

    const Outcome o = run({"--format", "comtrade", "--output", f("out"), good, shortFile, f("in/gone.vlt"), other, trace});
    EXPECT_EQ(o.code, kExportSomeFailed);
    EXPECT_EQ(filesIn(f("out")), QStringList({"26-12-06 12-00-00.cfg", "26-12-06 12-00-00.dat", "26-12-06 12-00-00.hdr"}));
    EXPECT_TRUE(o.out.contains("26-12-06 12-00-00.trg -> 26-12-06 12-00-00.cfg, 26-12-06 12-00-00.dat, 26-12-06 12-00-00.hdr"))
        << o.out.toStdString();
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

    // An existing file is never replaced without --force, and then the whole set is left.
    f.write("kept/26-12-06 12-00-00.cfg", "mine");
    const Outcome kept = run({"--format=comtrade-binary", "--output", f("kept"), good});
    EXPECT_EQ(kept.code, kExportSomeFailed);
    EXPECT_TRUE(kept.err.contains("not exported, 26-12-06 12-00-00.cfg already there (--force replaces)")) << kept.err.toStdString();
    EXPECT_EQ(f.read("kept/26-12-06 12-00-00.cfg"), QByteArray("mine"));
    EXPECT_FALSE(f.exists("kept/26-12-06 12-00-00.dat")) << "no half set";

    const Outcome forced = run({"--format=comtrade-binary", "--force", "--output", f("kept"), good});
    EXPECT_EQ(forced.code, kExportDone) << forced.err.toStdString();
    EXPECT_TRUE(f.read("kept/26-12-06 12-00-00.cfg").contains("BINARY\r\n"));

    // Two inputs of one name: the second never replaces the first's files, even with --force.
    const QString twin = f.write("slave/26-12-06 12-00-00.trg", kEvent);
    const Outcome twins = run({"--format=csv", "--force", "--output", f("twins"), good, twin});
    EXPECT_EQ(twins.code, kExportSomeFailed);
    EXPECT_TRUE(twins.err.contains("slave")) << twins.err.toStdString();
    EXPECT_TRUE(twins.err.contains("already written for another input"));

    // The program on its own draws its pictures with no display and ends with its exit code.
    const auto exporter = [](const QStringList& arguments) {
        return mr3x::test::runWithoutDisplay(QStringLiteral(MR3X_EXPORT), arguments);
    };
    const Outcome drawn = exporter({"--format", "png", "--size", "400x300", "--output", f("drawn"), good});
    EXPECT_EQ(drawn.code, kExportDone);
    EXPECT_EQ(drawn.err, QString());
    EXPECT_EQ(filesIn(f("drawn")), QStringList({"26-12-06 12-00-00 (TDR).png", "26-12-06 12-00-00.png"}));
    EXPECT_EQ(QImage(f("drawn/26-12-06 12-00-00.png")).size(), QSize(400, 300));

    // A wrong command line exports nothing and points to --help, which says how it is used.
    const Outcome wrong = exporter({"--format", "gif", "--output", f("wrong"), good});
    EXPECT_EQ(wrong.code, kExportUsage);
    EXPECT_TRUE(wrong.err.contains("--help")) << wrong.err.toStdString();
    EXPECT_FALSE(f.exists("wrong"));
    const Outcome help = exporter({"--help"});
    EXPECT_EQ(help.code, kExportDone);
    EXPECT_TRUE(help.out.contains("--frequency 50|60")) << help.out.toStdString();
}
