// The serial control over a test line: the port, reply waits, capture, terminal screen and
// file reception, with the test's clock.
#include "FakeLine.h"
#include "ScriptedSender.h"
#include "link/SerialControl.h"
#include "link/SerialPortTransport.h"
#include "support/TempFolder.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

/// Counts a signal's emissions.
template <typename Signal>
std::shared_ptr<int> counter(SerialControl& comm, Signal signal)
{
    auto count = std::make_shared<int>(0);
    QObject::connect(&comm, signal, &comm, [count] { ++*count; });
    return count;
}

QByteArray qbytes(const Bytes& b)
{
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

class SerialControlTest : public testing::Test {
protected:
    void open(const QString& settings = QStringLiteral("9600,n,8,1"))
    {
        comm.setPortName(QStringLiteral("COM3"));
        comm.setSettings(settings);
        comm.setPortOpen(true);
    }

    /// Starts a reception and lets the clock run until it ends (or `limitMs` pass).
    int receive(const QString& name, std::int64_t limitMs = 200'000)
    {
        comm.setReceiveFolder(folder.path());
        comm.setReceiveFile(name);
        const std::int64_t end = clock.nowMs() + limitMs;
        while (comm.TransferState() == 4 && clock.nowMs() < end)
            clock.idle(10);
        return comm.TransferState();
    }

    /// Every file in the folder, hidden ones included (a temporary file would show here).
    QStringList files() const
    {
        return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    TestClock clock;
    FakeLine line{clock};
    SerialControl comm{clock, line.opener()};
    TempFolder folder;
};

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

TEST_F(SerialControlTest, ListsTheExtraDevicesAfterTheRealPorts)
{
    comm.setExtraDevices({QStringLiteral("Simulated unit")});
    const QStringList devices = comm.DeviceList();
    ASSERT_FALSE(devices.isEmpty());
    EXPECT_EQ(devices.last(), "Simulated unit");
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

TEST_F(SerialControlTest, AReplyPatternEndsTheWaitInEitherCaseAndAcrossReads)
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
}

TEST_F(SerialControlTest, AReplyThatCameBeforeTimedOutWasReadCounts)
{
    open();
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

TEST_F(SerialControlTest, AWaitWithoutReplyTimesOutOnTheClockAndReadsBusyMeanwhile)
{
    open();
    std::vector<int> statesSeen;
    const int pump = clock.addPump([&] { statesSeen.push_back(comm.TransferState()); });
    comm.setWaitTimeout(3000);
    comm.setReplyPatterns(QStringLiteral("Finished F|Finished f"));
    const std::int64_t start = clock.nowMs();
    comm.Send(QStringLiteral("f04"));
    line.deliver("Finished G\r\n", 100);
    EXPECT_EQ(comm.TimedOut(), 1);
    clock.removePump(pump);
    EXPECT_GE(clock.nowMs() - start, 3000);
    EXPECT_LE(clock.nowMs() - start, 3010);
    ASSERT_FALSE(statesSeen.empty());
    EXPECT_TRUE(std::all_of(statesSeen.begin(), statesSeen.end(), [](int s) { return s == 4; }));
    EXPECT_EQ(comm.TransferState(), 0);
    EXPECT_EQ(comm.TimedOut(), 1) << "kept until the next Send";
    comm.setWaitTimeout(0);
    comm.Send(QStringLiteral("R"));
    EXPECT_EQ(comm.TimedOut(), 0);
}

TEST_F(SerialControlTest, AWaitEndsAtOnceOnAClosedPortOrWhenWaitTimeoutIsCleared)
{
    comm.setWaitTimeout(5000);
    comm.setReplyPatterns(QStringLiteral("Finished X|Finished x"));
    comm.Send(QStringLiteral("X"));
    EXPECT_EQ(comm.TimedOut(), 1);
    EXPECT_EQ(clock.nowMs(), 0);

    open();
    comm.Send(QStringLiteral("X"));
    comm.setWaitTimeout(0);
    EXPECT_EQ(comm.TimedOut(), 1);
    EXPECT_EQ(clock.nowMs(), 0);

    // A port pulled during the wait ends it.
    open();
    comm.setWaitTimeout(5000);
    comm.Send(QStringLiteral("X"));
    clock.addPump([&] {
        if (clock.nowMs() >= 200)
            line.pull();
    });
    EXPECT_EQ(comm.TimedOut(), 1);
    EXPECT_LT(clock.nowMs(), 300);
}

TEST_F(SerialControlTest, CapturesReceivedTextIntoAFileUntilCaptureEnds)
{
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
    EXPECT_EQ(comm.CaptureFile(), QString());
}

TEST_F(SerialControlTest, KeepsReceivedTextForInputAndEmptiesItOnRequest)
{
    open();
    line.deliver("V1.2\r\n", 10);
    clock.advance(20);
    EXPECT_EQ(comm.InCount(), 6);
    EXPECT_EQ(comm.Input(), "V1.2\r\n");
    EXPECT_EQ(comm.InCount(), 0);
    line.deliver("noise", 0);
    comm.setInCount(0);
    EXPECT_EQ(comm.Input(), QString()) << "bytes already arrived are emptied too";
}

TEST_F(SerialControlTest, ShowsTrafficOnTheTerminalScreenAndSendsTypedText)
{
    open();
    const auto changed = counter(comm, &SerialControl::ScreenChanged);
    line.deliver("Version 3.1\r\nReady\r", 0);
    clock.advance(10);
    EXPECT_EQ(comm.ScreenText(), "Version 3.1\nReady\n");
    EXPECT_GE(*changed, 1);

    comm.setEcho(true);
    comm.Send(QStringLiteral("V"));
    EXPECT_EQ(comm.ScreenText(), "Version 3.1\nReady\nV");
    comm.setEcho(false);
    comm.Send(QStringLiteral("W"));
    EXPECT_EQ(comm.ScreenText(), "Version 3.1\nReady\nV");

    line.clearWritten();
    comm.setTerminalActive(false);
    comm.typeText(QStringLiteral("A1"));
    EXPECT_EQ(line.wire(), QByteArray());
    EXPECT_EQ(comm.PendingText(), "A1");
    comm.setTerminalActive(true);
    comm.typeText(QStringLiteral("A0\r"));
    EXPECT_EQ(line.wire(), QByteArray("A0\r"));

    comm.setScreenText(QString());
    EXPECT_EQ(comm.ScreenText(), QString());
    // A unit that talks for ever does not fill the memory: the screen keeps the newest text.
    const QByteArray chunk(1000, 'z');
    for (int i = 0; i < 200; ++i)
        line.deliver(chunk + QByteArray::number(i), 0);
    line.deliver("the end", 0);
    clock.advance(10);
    EXPECT_LE(comm.ScreenText().size(), 64 * 1024);
    EXPECT_TRUE(comm.ScreenText().endsWith(QStringLiteral("199the end")));
}

TEST_F(SerialControlTest, ReceivesAFileUnderTheNameAskedForAndReplacesAnOldOneOnlyWhenWhole)
{
    open(QStringLiteral("115200,n,8,1"));
    folder.write(QStringLiteral("Event_05.EVT"), "old");
    const Bytes file = testFile(11520);
    ScriptedSender sender(line, file, "../../evil.name");
    const auto aborted = counter(comm, &SerialControl::Abort);
    std::vector<int> states;
    std::vector<qint64> counts;
    QObject::connect(&comm, &SerialControl::Progress, &comm, [&] {
        counts.push_back(comm.BytesTransferred());
        states.push_back(comm.TransferState());
        if (counts.size() == 5) {
            EXPECT_EQ(folder.read(QStringLiteral("Event_05.EVT")), QByteArray("old")) << "replaced only when whole";
        }
    });

    EXPECT_EQ(receive(QStringLiteral("Event_05.EVT")), 0);
    EXPECT_TRUE(sender.finished());
    EXPECT_EQ(files(), QStringList{QStringLiteral("Event_05.EVT")}) << "no temporary file, no file of the sender's name";
    EXPECT_EQ(folder.read(QStringLiteral("Event_05.EVT")), qbytes(file));
    EXPECT_EQ(comm.BytesTransferred(), 11520);
    ASSERT_EQ(counts.size(), 12u);
    EXPECT_EQ(counts.front(), 1024);
    EXPECT_EQ(counts.back(), 11520);
    EXPECT_TRUE(std::all_of(states.begin(), states.end(), [](int s) { return s == 4; }));
    EXPECT_EQ(*aborted, 0);
    // The first 'C' goes at once; each block is answered as soon as it is read.
    EXPECT_EQ(line.written.front().bytes, QByteArray("C"));
    EXPECT_LT(clock.nowMs(), 1000);
}

TEST_F(SerialControlTest, HandsWhatFollowsTheFileToTheProgram)
{
    open();
    ScriptedSender sender(line, testFile(629), "t");
    auto far = line.farEnd;
    line.farEnd = [&](const QByteArray& bytes) {
        far(bytes);
        if (sender.finished())
            line.deliver("Finished g\r\n", 1);
    };
    EXPECT_EQ(receive(QStringLiteral("trace.TDR")), 0);
    clock.advance(20);
    EXPECT_EQ(comm.Input(), "Finished g\r\n");
}

TEST_F(SerialControlTest, EveryFailedReceptionEndsInBoundedTimeLeavingTheOldFileAlone)
{
    struct Case {
        const char* what;
        std::function<void(ScriptedSender&)> bend;
        std::int64_t boundMs;
        bool abort = false;
    };
    using Kind = ScriptedSender::Kind;
    const std::vector<Case> cases{
        {"CRC errors past the retry limit",
         [](ScriptedSender& s) {
             s.fault = [](const ScriptedSender::Frame& f, Bytes frame) {
                 if (f.kind == Kind::Data && f.index == 3)
                     frame[200] ^= 0x40;
                 return frame;
             };
         },
         5'000},
        {"a byte dropped in every sending",
         [](ScriptedSender& s) {
             s.fault = [](const ScriptedSender::Frame& f, Bytes frame) {
                 if (f.kind == Kind::Data && f.index == 1)
                     frame.erase(frame.begin() + 10);
                 return frame;
             };
         },
         15'000},
        {"a sender that stops in the middle of a block",
         [](ScriptedSender& s) {
             s.fault = [](const ScriptedSender::Frame& f, Bytes frame) {
                 if (f.kind == Kind::Data && f.index == 2)
                     frame.resize(f.attempt == 1 ? 400 : 0);
                 return frame;
             };
         },
         101'000},
        {"a sender that never starts",
         [](ScriptedSender& s) { s.fault = [](const ScriptedSender::Frame&, Bytes) { return Bytes(); }; }, 101'000},
        {"an abort",
         [](ScriptedSender& s) {
             s.fault = [](const ScriptedSender::Frame& f, Bytes frame) {
                 if (f.kind == Kind::Data && f.index == 4)
                     return Bytes{ymodem::CAN, ymodem::CAN};
                 return frame;
             };
         },
         1'000, true},
        {"a length beyond any file of the unit", [](ScriptedSender& s) { s.announced = 5'000'000; }, 1'000},
        {"more data than announced", [](ScriptedSender& s) { s.announced = 3000; }, 1'000},
        {"less data than announced", [](ScriptedSender& s) { s.announced = 13000; }, 1'000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = QStringLiteral("Event_07.EVT");
        folder.write(name, "the old record");
        open();
        ScriptedSender sender(line, testFile(11520));
        c.bend(sender);
        const auto aborted = counter(comm, &SerialControl::Abort);
        const std::int64_t start = clock.nowMs();
        EXPECT_EQ(receive(name), -1);
        EXPECT_LE(clock.nowMs() - start, c.boundMs);
        EXPECT_EQ(*aborted, c.abort ? 1 : 0);
        EXPECT_EQ(files(), QStringList{name});
        EXPECT_EQ(folder.read(name), QByteArray("the old record"));
        EXPECT_EQ(comm.TransferState(), -1) << "the failure stays until the next Send";
        clock.advance(20'000);
        EXPECT_EQ(comm.TransferState(), -1);
        comm.Send(QStringLiteral("R"));
        EXPECT_EQ(comm.TransferState(), 0);
        line.farEnd = nullptr;
        line.arriving.clear();
    }
}

TEST_F(SerialControlTest, APulledCableOrAClosedPortFailsTheReceptionAtOnce)
{
    for (const bool pull : {true, false}) {
        SCOPED_TRACE(pull ? "cable pulled" : "port closed");
        open();
        ScriptedSender sender(line, testFile(3328));
        comm.setReceiveFolder(folder.path());
        comm.setReceiveFile(QStringLiteral("Event_01.EVT"));
        clock.advance(30);
        ASSERT_EQ(comm.TransferState(), 4);
        if (pull)
            line.pull();
        else
            comm.setPortOpen(false);
        EXPECT_EQ(comm.TransferState(), -1);
        EXPECT_EQ(files(), QStringList());
        line.farEnd = nullptr;
        line.arriving.clear();
    }
}

TEST_F(SerialControlTest, RefusesAReceptionItCannotMake)
{
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
    EXPECT_EQ(deviceForPortName(QStringLiteral("/dev/ttyUSB0")), "/dev/ttyUSB0");
    EXPECT_EQ(deviceForPortName(QStringLiteral("/dev/pts/4")), "/dev/pts/4");
#endif
}
