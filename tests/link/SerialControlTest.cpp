// The serial control with the test's clock: the port, reply waits, capture and the terminal
// screen over a test line, and file receptions from the simulated unit.
#include "FakeLine.h"
#include "link/SerialControl.h"
#include "link/SerialPortTransport.h"
#include "sim/InProcessTransport.h"
#include "support/TempFolder.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

class SerialControlTest : public testing::Test {
protected:
    void open(const QString& settings = QStringLiteral("9600,n,8,1"))
    {
        comm.setPortName(QStringLiteral("COM3"));
        comm.setSettings(settings);
        comm.setPortOpen(true);
    }

    TestClock clock;
    FakeLine line{clock};
    SerialControl comm{clock, line.opener()};
};

/// The serial control on the simulated unit's port, the unit under serial control and asked
/// for its first event record (11520 bytes).
struct UnitLink {
    UnitLink(TestClock& clock, const sim::TransferFaults& faults = {})
        : clock(clock)
    {
        sim::SimOptions options;
        options.armed = false;
        options.faults.transfer = faults;
        unit = std::make_shared<sim::SimUnit>(options);
        comm = std::make_unique<SerialControl>(clock, sim::openerWithSimulatedUnit(clock, unit, nullptr));
        comm->setPortName(sim::simulatedPortName(QStringLiteral("M-R32")));
        comm->setSettings(QStringLiteral("115200,n,8,1"));
        comm->setPortOpen(true);
        comm->Send(QStringLiteral("f00"));
        clock.advance(50);
    }

    /// Receives into `folder` as `name`, letting the clock run until the reception ends.
    int receive(const QString& folder, const QString& name)
    {
        comm->setReceiveFolder(folder);
        comm->setReceiveFile(name);
        for (const std::int64_t end = clock.nowMs() + 200'000; comm->TransferState() == 4 && clock.nowMs() < end;)
            clock.idle(10);
        return comm->TransferState();
    }

    TestClock& clock;
    std::shared_ptr<sim::SimUnit> unit;
    std::unique_ptr<SerialControl> comm;
};

/// Every file in the folder, hidden ones included (a temporary file would show here).
QStringList filesIn(const TempFolder& folder)
{
    return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray qbytes(const std::vector<std::uint8_t>& b)
{
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

} // namespace

TEST_F(SerialControlTest, ReportsThePortStateThroughOpeningClosingAndLosingIt)
{
    EXPECT_EQ(comm.PortStatus(), "Port closed");
    open(QStringLiteral("115200,n,8,1"));
    EXPECT_TRUE(comm.PortOpen());
    EXPECT_EQ(comm.PortStatus(), "Connected");
    EXPECT_EQ(line.lastPortName, "COM3");
    EXPECT_EQ(line.lastSettings.baud, 115200);

    open();
    EXPECT_EQ(line.opened, 2) << "opening an open port opens it anew";
    EXPECT_EQ(line.lastSettings.baud, 9600);

    line.pull();
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_EQ(comm.PortStatus(), "Canceled");

    comm.setPortOpen(false);
    EXPECT_EQ(comm.PortStatus(), "Port closed");

    line.available = false;
    open();
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_EQ(comm.PortStatus(), "Port unavailable");
}

TEST_F(SerialControlTest, SendsTextAndControlCharactersUnchanged)
{
    open();
    comm.Send(QStringLiteral("X"));
    comm.Send(QString());
    comm.Send(QStringLiteral("\r\n"));
    comm.Send(QString(QChar(2)));
    comm.Send(QStringLiteral("N260501,J\u00e9b"));
    EXPECT_EQ(line.wire(), QByteArray("X\r\n\x02N260501,J\xe9" "b"));
    EXPECT_EQ(line.written.size(), 4u) << "an empty text puts nothing on the line";
}

TEST_F(SerialControlTest, AReplyPatternEndsTheWaitInEitherCaseAcrossReadsAndBeforeTimedOutIsRead)
{
    open();
    for (const char* reply : {"Finished h", "Finished H"}) {
        SCOPED_TRACE(reply);
        comm.setWaitTimeout(5000);
        comm.setReplyPatterns(QStringLiteral("Finished H|Finished h"));
        const std::int64_t start = clock.nowMs();
        comm.Send(QStringLiteral("h15"));
        const QByteArray text = QByteArray("ok\r\n") + reply + "\r\n";
        line.deliver(text.left(7), 100);
        line.deliver(text.mid(7), 300);
        EXPECT_EQ(comm.TimedOut(), 0);
        EXPECT_LT(clock.nowMs() - start, 400) << "the wait ends when the pattern is complete";
        EXPECT_EQ(comm.ReplyText(), QString::fromLatin1(QByteArray("ok\r\n") + reply));
        EXPECT_EQ(comm.TimedOut(), 0) << "the result is kept";
        comm.setWaitTimeout(0);
    }

    // The stop pair: the answer comes during the pause between the two sends.
    comm.setWaitTimeout(2000);
    comm.setReplyPatterns(QStringLiteral("stopped by serial comm!"));
    comm.Send(QStringLiteral("="));
    comm.setPause(1000);
    comm.Send(QStringLiteral("-"));
    line.deliver("stopped by serial comm!\r\n", 50);
    comm.setPause(500);
    const std::int64_t before = clock.nowMs();
    EXPECT_EQ(comm.TimedOut(), 0);
    EXPECT_EQ(clock.nowMs(), before);
}

TEST_F(SerialControlTest, AWaitWithoutItsReplyEndsOnTheClockOrWithThePort)
{
    open();
    std::vector<int> statesSeen;
    const int pump = clock.addPump([&] { statesSeen.push_back(comm.TransferState()); });
    comm.setWaitTimeout(3000);
    comm.setReplyPatterns(QStringLiteral("Finished F|Finished f"));
    comm.Send(QStringLiteral("f04"));
    line.deliver("Finished G\r\n", 100);
    EXPECT_EQ(comm.TimedOut(), 1);
    clock.removePump(pump);
    EXPECT_GE(clock.nowMs(), 3000);
    EXPECT_LE(clock.nowMs(), 3010);
    ASSERT_FALSE(statesSeen.empty());
    EXPECT_TRUE(std::all_of(statesSeen.begin(), statesSeen.end(), [](int s) { return s == 4; }));
    EXPECT_EQ(comm.TransferState(), 0);
    EXPECT_EQ(comm.TimedOut(), 1) << "kept until the next Send";
    comm.setWaitTimeout(0);
    comm.Send(QStringLiteral("R"));
    EXPECT_EQ(comm.TimedOut(), 0);

    // Clearing WaitTimeout ends a wait at once.
    comm.setWaitTimeout(5000);
    comm.Send(QStringLiteral("X"));
    comm.setWaitTimeout(0);
    EXPECT_EQ(comm.TimedOut(), 1);
    EXPECT_LE(clock.nowMs(), 3010);

    // A port pulled during the wait ends it, and a closed port does not wait at all.
    comm.setWaitTimeout(5000);
    comm.Send(QStringLiteral("X"));
    clock.addPump([&] {
        if (clock.nowMs() >= 3200)
            line.pull();
    });
    EXPECT_EQ(comm.TimedOut(), 1);
    EXPECT_LT(clock.nowMs(), 3300);
    const std::int64_t pulled = clock.nowMs();
    comm.Send(QStringLiteral("X"));
    EXPECT_EQ(comm.TimedOut(), 1);
    EXPECT_EQ(clock.nowMs(), pulled);
}

TEST_F(SerialControlTest, CapturesReceivedTextIntoAFreshFileUntilCaptureEnds)
{
    TempFolder folder;
    open();
    const QString path = folder.write(QStringLiteral("UNIT Settings.txt"), "stale text from an old capture\r\n");
    comm.setCaptureFile(path);
    comm.setWaitTimeout(5000);
    comm.setReplyPatterns(QStringLiteral("Finished X|Finished x"));
    comm.Send(QStringLiteral("X"));
    line.deliver("Parameters:9600, 15,", 100);
    line.deliver(" 3,\r\nFinished X\r\n", 200);
    EXPECT_EQ(comm.TimedOut(), 0);
    clock.advance(100);
    comm.setCaptureFile(QString());
    line.deliver("after the capture", 0);
    clock.advance(50);
    EXPECT_EQ(folder.read(QStringLiteral("UNIT Settings.txt")), QByteArray("Parameters:9600, 15, 3,\r\nFinished X\r\n"));
}

TEST_F(SerialControlTest, KeepsReceivedTextForInputAndShowsItOnTheScreen)
{
    open();
    line.deliver("Version 3.1\r\nReady\r", 10);
    clock.advance(20);
    EXPECT_EQ(comm.InCount(), 19);
    EXPECT_EQ(comm.Input(), "Version 3.1\r\nReady\r");
    EXPECT_EQ(comm.InCount(), 0);
    line.deliver("noise", 0);
    comm.setInCount(0);
    EXPECT_EQ(comm.Input(), QString()) << "bytes already arrived are emptied too";
    EXPECT_EQ(comm.ScreenText(), "Version 3.1\nReady\nnoise");

    // Sent text shows only with Echo; typed text waits while the terminal is not active.
    comm.setScreenText(QString());
    comm.setEcho(true);
    comm.Send(QStringLiteral("V"));
    comm.setEcho(false);
    comm.Send(QStringLiteral("W"));
    EXPECT_EQ(comm.ScreenText(), "V");
    line.written.clear();
    comm.typeText(QStringLiteral("A1"));
    EXPECT_EQ(comm.PendingText(), "A1");
    comm.setTerminalActive(true);
    comm.typeText(QStringLiteral("A0\r"));
    EXPECT_EQ(line.wire(), QByteArray("A0\r"));

    // A unit that talks for ever does not fill the memory: the screen keeps the newest text.
    const QByteArray chunk(1000, 'z');
    for (int i = 0; i < 200; ++i)
        line.deliver(chunk + QByteArray::number(i), 0);
    line.deliver("the end", 0);
    clock.advance(10);
    EXPECT_LE(comm.ScreenText().size(), 64 * 1024);
    EXPECT_TRUE(comm.ScreenText().endsWith(QStringLiteral("199the end")));
}

TEST(SerialControlReception, ReceivesAFileUnderTheNameAskedForAndReplacesAnOldOneOnlyWhenWhole)
{
    TestClock clock;
    TempFolder folder;
    folder.write(QStringLiteral("Event_05.EVT"), "old");
    UnitLink link(clock);
    std::vector<qint64> counts;
    int aborts = 0;
    QObject::connect(link.comm.get(), &SerialControl::Abort, [&] { ++aborts; });
    QObject::connect(link.comm.get(), &SerialControl::Progress, [&] {
        counts.push_back(link.comm->BytesTransferred());
        EXPECT_EQ(link.comm->TransferState(), 4);
        if (counts.size() == 5) {
            EXPECT_EQ(folder.read(QStringLiteral("Event_05.EVT")), QByteArray("old")) << "replaced only when whole";
        }
    });
    const std::int64_t start = clock.nowMs();

    EXPECT_EQ(link.receive(folder.path(), QStringLiteral("Event_05.EVT")), 0);
    EXPECT_EQ(link.unit->lastOfferName(), "EVENT_01.EVT");
    EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("Event_05.EVT")}) << "no temporary file, no file of the sender's name";
    EXPECT_EQ(folder.read(QStringLiteral("Event_05.EVT")), qbytes(link.unit->eventRecord(0)));
    EXPECT_EQ(link.comm->BytesTransferred(), 11520);
    ASSERT_EQ(counts.size(), 13u);
    EXPECT_EQ(counts.front(), 1024);
    EXPECT_EQ(counts.back(), 11520);
    EXPECT_EQ(aborts, 0);
    EXPECT_LT(clock.nowMs() - start, 1000) << "each block is answered as soon as it is read";
}

TEST(SerialControlReception, EveryFailedReceptionEndsInBoundedTimeLeavingTheOldFileAlone)
{
    struct Case {
        const char* what;
        sim::TransferFaults faults;
        std::int64_t boundMs;
        bool abort = false;
        bool closePort = false; // the program closes the port once the first block is in
    };
    std::vector<Case> cases(7);
    cases[0] = {"CRC errors past the retry limit", {}, 5'000};
    cases[0].faults.corruptFromBlock = 3;
    cases[0].faults.corruptTimes = 12;
    cases[1] = {"a few bytes dropped from every sending", {}, 15'000};
    cases[1].faults.dropFromBlock = 2;
    cases[1].faults.dropTimes = 12;
    cases[2] = {"a sender that stops in the middle of a block", {}, 101'000};
    cases[2].faults.stallAfterBytes = 3000;
    cases[3] = {"a sender that never starts", {}, 101'000};
    cases[3].faults.stallAfterBytes = 0;
    cases[4] = {"an abort", {}, 1'000, true};
    cases[4].faults.abortAtBlock = 4;
    cases[5] = {"a pulled cable", {}, 1'000};
    cases[5].faults.disconnectAfterBytes = 5000;
    cases[6] = {"the port closed by the program", {}, 1'000, false, true};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestClock clock;
        TempFolder folder;
        const QString name = QStringLiteral("Event_07.EVT");
        folder.write(name, "the old record");
        UnitLink link(clock, c.faults);
        int aborts = 0;
        QObject::connect(link.comm.get(), &SerialControl::Abort, [&] { ++aborts; });
        if (c.closePort)
            QObject::connect(link.comm.get(), &SerialControl::Progress, [&] { link.comm->setPortOpen(false); });
        const std::int64_t start = clock.nowMs();
        EXPECT_EQ(link.receive(folder.path(), name), -1);
        EXPECT_LE(clock.nowMs() - start, c.boundMs);
        EXPECT_EQ(aborts, c.abort ? 1 : 0);
        EXPECT_EQ(filesIn(folder), QStringList{name});
        EXPECT_EQ(folder.read(name), QByteArray("the old record"));
        clock.advance(20'000);
        EXPECT_EQ(link.comm->TransferState(), -1) << "the failure stays until the next Send";
        link.comm->Send(QStringLiteral("R"));
        EXPECT_EQ(link.comm->TransferState(), 0);
    }
}

TEST_F(SerialControlTest, RefusesAReceptionItCannotMake)
{
    TempFolder folder;
    comm.setReceiveFolder(folder.path());
    comm.setReceiveFile(QStringLiteral("Event_01.EVT"));
    EXPECT_EQ(comm.TransferState(), -1) << "the port is closed";

    open();
    comm.setReceiveFile(QStringLiteral("../Event_01.EVT"));
    EXPECT_EQ(comm.TransferState(), -1) << "a name that leads out of the folder";
    comm.setReceiveFolder(folder(QStringLiteral("missing")));
    comm.setReceiveFile(QStringLiteral("Event_01.EVT"));
    EXPECT_EQ(comm.TransferState(), -1);
    EXPECT_TRUE(line.wire().isEmpty()) << "nothing was asked of the unit";
}

TEST(SerialPortNames, NameTheDeviceOfACommPort)
{
#ifdef Q_OS_WIN
    EXPECT_EQ(deviceForPortName(QStringLiteral("COM3")), "COM3");
#else
    EXPECT_EQ(deviceForPortName(QStringLiteral("COM1")), "/dev/ttyS0");
    EXPECT_EQ(deviceForPortName(QStringLiteral("COM12")), "/dev/ttyS11");
    EXPECT_EQ(deviceForPortName(QStringLiteral("/dev/pts/4")), "/dev/pts/4");
#endif
}
