// The link log: what a log-on and a download against the simulated unit leave in "<unit> Link.log".
#include "link/ConnectionLifecycle.h"
#include "link/LinkLog.h"
#include "retrieval/EventDownload.h"
#include "retrieval/EventIndex.h"
#include "support/LinkFixture.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::LinkFixture;

namespace {

/// The unit starts out recording and holds two events; the second transfer (the newest event)
/// has one block spoiled once.
sim::SimOptions recordingUnitWithALineHit()
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    options.armed = true;
    options.events = 2;
    options.faults.faultyTransfer = 2;
    options.faults.transfer.corruptFromBlock = 2;
    options.faults.transfer.corruptTimes = 1;
    return options;
}

QStringList logLines(const QString& folder, const QString& name = "MR-0101 Link.log")
{
    QFile file(folder + "/" + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

/// The text of each line after its stamp: "-> e".
QStringList records(const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines)
        out << line.mid(24);
    return out;
}

QStringList warnings;
void keepWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg)
        warnings << text;
}

} // namespace

TEST(LinkLog, ALogOnAndADownloadAreLoggedWithTimesDirectionsBlockSummariesAndEveryStatusTextInAFreshLogAfterAFullOne)
{
    LinkFixture f(recordingUnitWithALineHit());
    // A log left at its bound replaces the older copy at the log-on.
    const QByteArray full(LinkLog::kDefaultBound, 'x');
    f.root.write("Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101/MR-0101 Link.log", full);
    f.root.write("Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101/MR-0101 Link.old.log", "stale");
    frmMaster& w = f.start();
    f.logOn();
    w.eventIndex->cmdSelectAll_Click();
    w.eventDownload->cmdGetData_Click();
    w.connection->cmdConnect_Click(); // logs off, letting the unit arm itself
    ASSERT_EQ(w.lblStatus->text(), QString("Disconnected"));

    QFile older(f.unitFolder() + "/MR-0101 Link.old.log");
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), full);
    const QStringList lines = logLines(f.unitFolder());
    ASSERT_GT(lines.size(), 20);
    static const QRegularExpression stamped(R"(^2026-12-06 12:00:\d\d\.\d{3} (->|<-|<=|==|##) \S)");
    for (const QString& line : lines)
        EXPECT_TRUE(stamped.match(line).hasMatch()) << line.toStdString();

    // The log-on, to the millisecond on the program's clock.
    EXPECT_TRUE(lines[0].endsWith("## -> to the unit, <- from the unit, <= file transfer, == status line; <CR> <LF> "
                                  "<ACK>: control bytes, <9C>: other bytes in hex"));
    EXPECT_EQ(lines.mid(1, 6), QStringList({
                                   "2026-12-06 12:00:00.000 ## Log on to MR-0101 through Simulated unit (M-R32) at 115200,n,8,1",
                                   "2026-12-06 12:00:00.000 == Disarming local unit...",
                                   "2026-12-06 12:00:00.000 -> e",
                                   "2026-12-06 12:00:00.500 -> =",
                                   "2026-12-06 12:00:01.500 -> -",
                                   "2026-12-06 12:00:01.500 <- <CR><LF>",
                               }));
    const QStringList told = records(lines);
    EXPECT_TRUE(told.contains("<- stopped by serial comm!<CR><LF>"));
    EXPECT_TRUE(told.contains("<- Finished X<CR><LF>"));

    // The event with the spoiled block: told by its blocks, then the program's ACK.
    const qsizetype start = told.indexOf("<= receiving \"Event_02.EVT\"");
    ASSERT_GE(start, 0);
    const QStringList transfer = told.mid(start, told.indexOf("== Event 02 received", start) - start + 1);
    EXPECT_EQ(transfer.mid(0, 6), QStringList({"<= receiving \"Event_02.EVT\"",
                                               "<= block 0: the unit sends \"EVENT_02.EVT\", 11520 bytes",
                                               "<= block 1: 1024 bytes received (1024 of 11520)",
                                               "== 1024 bytes transferred",
                                               "<= block 2: CRC error",
                                               "<= NAK: the block is asked for again"}));
    EXPECT_EQ(transfer.mid(transfer.size() - 5), QStringList({"== 11520 bytes transferred",
                                                              "<= end of file after 11520 bytes",
                                                              "<= complete: \"Event_02.EVT\", 11520 bytes",
                                                              "-> <ACK>",
                                                              "== Event 02 received"}));
    EXPECT_TRUE(told.contains("<= complete: \"Event_01.EVT\", 11520 bytes"));
    EXPECT_LT(QFile(f.unitFolder() + "/MR-0101 Link.log").size(), 16 * 1024) << "the blocks' bytes are not dumped";

    // Every status text from the log-on on, in its order; the log closes with the link.
    QStringList statusTexts;
    for (const QString& record : told)
        if (record.startsWith("== "))
            statusTexts << record.mid(3);
    EXPECT_EQ(statusTexts, f.statusHistory.mid(f.statusHistory.indexOf("Disarming local unit...")));
    EXPECT_EQ(told.mid(told.size() - 4), QStringList({"-> e", "== Local Unit armed", "== Disconnected", "## Link closed"}));

    // The next log-on is appended to the same log.
    f.logOn();
    const QStringList again = logLines(f.unitFolder());
    EXPECT_EQ(again.mid(0, lines.size()), lines);
    EXPECT_TRUE(again[lines.size()].contains("## Log on to MR-0101 through"));
    EXPECT_EQ(again.filter("## -> to the unit").size(), 1);
}

TEST(LinkLog, ALogPassingItsBoundGoesOnInAFreshFileAndALogThatCannotBeWrittenNeverStopsTheLink)
{
    // Within a log-on, the log passing its bound is put aside and goes on in a fresh file.
    TestClock clock;
    const test::TempFolder folder;
    LinkLog log(clock, 4096);
    log.open(folder.path(), "MR-0101", "COM3", "9600,n,8,1");
    for (int i = 0; i < 150; ++i)
        log.status(QString("Status %1").arg(i));
    log.close();
    const QStringList current = logLines(folder.path());
    const QStringList older = logLines(folder.path(), "MR-0101 Link.old.log");
    EXPECT_LE(QFile(folder("MR-0101 Link.old.log")).size(), 4096 + 200);
    ASSERT_GE(current.size(), 3);
    EXPECT_TRUE(current[1].endsWith("## continued from MR-0101 Link.old.log"));
    EXPECT_TRUE(current.back().endsWith("## Link closed"));
    EXPECT_TRUE(current[current.size() - 2].endsWith("== Status 149"));
    const QString lastPutAside = records(older).filter("== Status").back();
    const QString firstKept = records(current).filter("== Status").front();
    EXPECT_EQ(lastPutAside.mid(10).toInt() + 1, firstKept.mid(10).toInt()) << "no record is lost at the change";

    // A log that cannot be written is said once on standard error; the log-on goes on.
    LinkFixture f;
    f.root.mkdirs("Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101/MR-0101 Link.log");
    frmMaster& w = f.start();
    warnings.clear();
    const QtMessageHandler before = qInstallMessageHandler(keepWarnings);
    f.logOn();
    qInstallMessageHandler(before);
    EXPECT_EQ(warnings.filter("link log").size(), 1) << warnings.join("\n").toStdString();
    EXPECT_TRUE(QFile::exists(f.unitFolder() + "/MR-0101 Settings.txt"));
    EXPECT_TRUE(f.statusHistory.contains("Index file downloaded")) << f.statusHistory.join(" / ").toStdString();
    EXPECT_EQ(w.cmdConnect->text(), QString("Disconnect from Local Unit"));
}
