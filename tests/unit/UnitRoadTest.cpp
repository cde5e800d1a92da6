// The unit's road through the window and without one, and the link log it leaves in
// "<unit> Link.log". A session over the simulated unit with its reports taken by a plain observer
// must put the window's bytes on the wire and its texts on the status line, since the window is
// only another observer.
#include "link/ConnectionLifecycle.h"
#include "link/LinkLog.h"
#include "retrieval/EventDownload.h"
#include "retrieval/EventIndex.h"
#include "support/LinkFixture.h"
#include "support/LongRun.h"
#include "unit/UnitSession.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::LinkFixture;
using mr3x::test::RecordingTransport;
using mr3x::test::TempFolder;

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

/// What the session reports, kept in order; a question is answered with its first button, as a
/// user pressing Enter would.
class RecordingObserver final : public UnitObserver {
public:
    void status(const QString& text) override { statuses << text; }
    MsgAnswer ask(const QString& text, MsgButtons buttons, MsgIcon, const QString&) override
    {
        questions << text;
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    void stored(const StoredFile& file) override { storedFiles << QFileInfo(file.path).fileName(); }

    QStringList statuses;
    QStringList questions;
    QStringList storedFiles;
};

/// A session on a fresh simulated unit found recording, with nothing but the link and the clock.
struct BareSession {
    explicit BareSession(const sim::SimOptions& options)
        : unit(std::make_shared<sim::SimUnit>(options))
        , link(clock,
               [this, inner = sim::openerWithSimulatedUnit(clock, unit, {})](const QString& name) -> std::unique_ptr<Transport> {
                   return std::make_unique<RecordingTransport>(inner(name), clock, sent, received, writes);
               })
        , session(link, clock, observer)
    {
        link.setPortName(sim::simulatedPortName(QStringLiteral("M-R32")));
        link.setSettings(QStringLiteral("115200,n,8,1"));
    }

    TestClock clock;
    std::shared_ptr<sim::SimUnit> unit;
    QByteArray sent, received;
    RecordingTransport::Writes writes;
    SerialControl link;
    RecordingObserver observer;
    UnitSession session;
};

QStringList logLines(const QString& folder, const QString& name = "MR-0101 Link.log")
{
    QStringList lines = QString::fromUtf8(test::readWhole(folder + "/" + name)).split("\r\n");
    if (lines.back().isEmpty()) // after the last line's CR LF
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

} // namespace

TEST(UnitRoad, TheRoadOfTwoEventsIsLoggedWithTimesDirectionsBlocksAndStatusTextsAndABareSessionPutsTheWindowsBytesOnTheLink)
{
    // Through the window: connect (log-on, settings, index), both events, then the log-off that
    // lets the unit arm itself. A log left at its bound replaces the older copy at the log-on.
    LinkFixture f(recordingUnitWithALineHit());
    const QByteArray full(LinkLog::kDefaultBound, 'x');
    f.root.write("Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101/MR-0101 Link.log", full);
    f.root.write("Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101/MR-0101 Link.old.log", "stale");
    frmMaster& w = f.open();
    w.connection->cmdConnect_Click();
    w.eventIndex->cmdSelectAll_Click();
    w.eventDownload->cmdGetData_Click();
    w.connection->cmdConnect_Click();
    ASSERT_EQ(w.lblStatus->text(), QString("Disconnected"));
    const QStringList windowFiles = QDir(f.unitFolder()).entryList({QStringLiteral("*.trg")}, QDir::Files, QDir::Name);
    ASSERT_EQ(windowFiles.size(), 2) << f.statusHistory.join('|').toStdString();
    ASSERT_TRUE(f.unit().armed());

    // The same road on a bare session.
    TempFolder root;
    const QString folder = root.mkdirs(QStringLiteral("MR-0101"));
    BareSession bare(recordingUnitWithALineHit());
    UnitSession& session = bare.session;
    ASSERT_EQ(session.logOn(folder, QStringLiteral("MR-0101")), UnitSession::LogOn::Stopped);
    ASSERT_TRUE(session.captureSettings(folder, QStringLiteral("MR-0101")));
    ASSERT_TRUE(session.readSettings(UnitSession::settingsFile(folder, QStringLiteral("MR-0101"))));
    bare.link.setPause(1000);
    const std::optional<QString> index = session.fetchIndex(folder, QStringLiteral("MR-0101"), UnitSession::IndexRequest::AfterSettings);
    ASSERT_TRUE(index);
    const std::vector<std::string> missing = UnitSession::missingEvents(folder, UnitSession::readIndex(*index, "M-R32"));
    ASSERT_EQ(missing, (std::vector<std::string>{"01", "02"}));
    for (const std::string& slot : {missing[1], missing[0]}) // the window asks newest first
        ASSERT_TRUE(session.downloadEvent(folder, slot));
    session.armAndRelease();
    session.close();

    EXPECT_EQ(bare.sent, f.sent);
    EXPECT_EQ(bare.received, f.received);
    EXPECT_EQ(bare.observer.statuses, f.statusHistory);
    EXPECT_TRUE(bare.observer.questions.isEmpty()) << bare.observer.questions.join('|').toStdString();
    EXPECT_TRUE(bare.unit->armed());
    // The stored events are the window's under the same names, and they, the settings and the
    // index are the window's byte for byte.
    QStringList stored = bare.observer.storedFiles;
    stored.sort();
    EXPECT_EQ(stored.filter(QStringLiteral(".trg")), windowFiles);
    for (const QString& name : windowFiles + QStringList{QStringLiteral("MR-0101 Settings.txt"), QStringLiteral("MR-0101.IDX")})
        EXPECT_EQ(root.read(QStringLiteral("MR-0101/") + name), test::readWhole(f.unitFolder() + '/' + name))
            << name.toStdString();

    // The window's link log.
    EXPECT_EQ(test::readWhole(f.unitFolder() + "/MR-0101 Link.old.log"), full);
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
    EXPECT_EQ(statusTexts, f.statusHistory);
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
    static QStringList warnings;
    const QtMessageHandler before = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtWarningMsg)
            warnings << text;
    });
    f.logOn();
    qInstallMessageHandler(before);
    EXPECT_EQ(warnings.filter("link log").size(), 1) << warnings.join("\n").toStdString();
    EXPECT_TRUE(QFile::exists(f.unitFolder() + "/MR-0101 Settings.txt"));
    EXPECT_TRUE(f.statusHistory.contains("Index file downloaded")) << f.statusHistory.join(" / ").toStdString();
    EXPECT_EQ(w.cmdConnect->text(), QString("Disconnect from Local Unit"));
}
