// The serial control over a test port with the test's clock: the port, reply waits, capture,
// the terminal screen, and the receptions it refuses.
#include "link/SerialControl.h"
#include "link/SerialPortTransport.h"
#include "support/TempFolder.h"

#include <QPointer>

#include <gtest/gtest.h>

#include <map>

using namespace mr3x;
using namespace mr3x::test;

namespace {

/// A port whose far end is the test: it keeps every write and hands the control what the test
/// sends back at the time the test says.
class TestPort final : public Transport {
public:
    explicit TestPort(const Clock& clock) : clock_(clock) {}

    bool open(const LineSettings& line) override { settings = line; return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    QString status() const override { return lost_ ? "Canceled" : open_ ? "Connected" : "Port closed"; }
    int linkAllowanceMs() const override { return allowance; }
    bool write(const QByteArray& bytes) override { written << bytes; return open_; }
    QByteArray readAll() override { return std::exchange(readable_, QByteArray()); }
    void poll() override
    {
        for (auto next = arriving_.begin(); open_ && next != arriving_.end() && next->first <= clock_.nowMs();)
            readable_ += arriving_.extract(next++).mapped();
    }

    /// The far end sends `bytes`; they arrive `delayMs` from now.
    void deliver(const QByteArray& bytes, std::int64_t delayMs) { arriving_.emplace(clock_.nowMs() + delayMs, bytes); }
    /// The cable is pulled.
    void pull()
    {
        if (std::exchange(open_, false) && !std::exchange(lost_, true))
            emit lost();
    }

    LineSettings settings;
    QList<QByteArray> written;
    int allowance = 0; // what a network port measured at opening

private:
    const Clock& clock_;
    bool open_ = false;
    bool lost_ = false;
    QByteArray readable_;
    std::multimap<std::int64_t, QByteArray> arriving_;
};

class SerialControlTest : public testing::Test {
protected:
    void open(const QString& settings = QStringLiteral("9600,n,8,1"))
    {
        comm.setPortName(QStringLiteral("COM3"));
        comm.setSettings(settings);
        comm.setPortOpen(true);
    }

    TestClock clock;
    QStringList opened;         // the names of the ports opened, in order
    QPointer<TestPort> port;    // the port opened last
    SerialControl comm{clock, [this](const QString& name) {
                           opened << name;
                           auto made = std::make_unique<TestPort>(clock);
                           port = made.get();
                           return made;
                       }};
};

} // namespace

TEST_F(SerialControlTest, ReportsThePortStateRefusesAReceptionItCannotMakeKeepsReceivedTextForInputAndShowsTheTrafficOnTheScreen)
{
    TempFolder folder;
    comm.setReceiveFolder(folder.path());
    comm.setReceiveFile(QStringLiteral("Event_01.EVT"));
    EXPECT_EQ(comm.TransferState(), -1) << "the port is closed";
    EXPECT_EQ(comm.PortStatus(), "Port closed");
    open(QStringLiteral("115200,n,8,1"));
    EXPECT_TRUE(comm.PortOpen());
    EXPECT_EQ(port->settings.baud, 115200);
    comm.setReceiveFile(QStringLiteral("../Event_01.EVT"));
    EXPECT_EQ(comm.TransferState(), -1) << "a name that leads out of the folder";
    comm.setReceiveFolder(folder(QStringLiteral("missing")));
    comm.setReceiveFile(QStringLiteral("Event_01.EVT"));
    EXPECT_EQ(comm.TransferState(), -1);
    EXPECT_TRUE(port->written.isEmpty()) << "nothing was asked of the unit";

    // Setting an open port open keeps it open: on a USB or Bluetooth adapter a close drops the
    // line, and what the unit sent meanwhile would be lost. Another line speed opens it anew.
    port->deliver("stopped by", 0);
    clock.advance(10);
    port->deliver(" serial comm!", 0);
    const QPointer<TestPort> first = port;
    comm.setPortOpen(true);
    EXPECT_EQ(opened, QStringList({"COM3"}));
    EXPECT_EQ(port, first);
    EXPECT_EQ(comm.Input(), "stopped by serial comm!");
    open();
    EXPECT_EQ(opened, QStringList({"COM3", "COM3"}));
    EXPECT_EQ(port->settings.baud, 9600);

    // Received text is kept for Input and shown on the screen.
    comm.setScreenText(QString());
    port->deliver("Version 3.1\r\nReady\r", 10);
    clock.advance(20);
    EXPECT_EQ(comm.InCount(), 19);
    EXPECT_EQ(comm.Input(), "Version 3.1\r\nReady\r");
    EXPECT_EQ(comm.InCount(), 0);
    port->deliver("noise", 0);
    comm.setInCount(0);
    EXPECT_EQ(comm.Input(), QString()) << "bytes already arrived are emptied too";
    EXPECT_EQ(comm.ScreenText(), "Version 3.1\nReady\nnoise");

    // Text goes out unchanged, control characters and Latin-1 included, and shows on the screen
    // only with Echo; typed text waits while the terminal is not active.
    comm.setScreenText(QString());
    comm.setEcho(true);
    comm.Send(QStringLiteral("N260501,J\u00e9b"));
    comm.Send(QString());
    comm.setEcho(false);
    comm.Send(QString(QChar(2)));
    EXPECT_EQ(port->written, QList<QByteArray>({"N260501,J\xe9" "b", "\x02"})) << "an empty text puts nothing on the line";
    EXPECT_EQ(comm.ScreenText(), QStringLiteral("N260501,J\u00e9b"));
    port->written.clear();
    comm.typeText(QStringLiteral("A1"));
    EXPECT_EQ(comm.PendingText(), "A1");
    comm.setTerminalActive(true);
    comm.typeText(QStringLiteral("A0\r"));
    EXPECT_EQ(port->written, QList<QByteArray>({"A0\r"}));

    // A unit that talks for ever does not fill the memory: the screen keeps the newest text.
    const QByteArray chunk(1000, 'z');
    for (int i = 0; i < 200; ++i)
        port->deliver(chunk + QByteArray::number(i), 0);
    port->deliver("the end", 0);
    clock.advance(10);
    EXPECT_LE(comm.ScreenText().size(), 64 * 1024);
    EXPECT_TRUE(comm.ScreenText().endsWith(QStringLiteral("199the end")));

    port->pull();
    EXPECT_FALSE(comm.PortOpen());
    comm.setPortOpen(false);
    EXPECT_EQ(comm.PortStatus(), "Port closed");
}

TEST_F(SerialControlTest, AReplyPatternEndsTheWaitInEitherCaseAcrossReadsOtherwiseTheClockOrThePortEndsItGrownOnANetworkLink)
{
    open();
    // Either pattern ends the wait (the unit answers some commands upper-case).
    comm.setWaitTimeout(5000);
    comm.setReplyPatterns(QStringLiteral("Finished h|Finished H"));
    const std::int64_t start = clock.nowMs();
    comm.Send(QStringLiteral("h15"));
    port->deliver("ok\r\nFini", 100);
    port->deliver("shed H\r\n", 300);
    EXPECT_EQ(comm.TimedOut(), 0);
    EXPECT_LT(clock.nowMs() - start, 400) << "the wait ends when the pattern is complete";
    EXPECT_EQ(comm.ReplyText(), "ok\r\nFinished H");
    EXPECT_EQ(comm.TimedOut(), 0) << "the result is kept";

    // The stop pair: the answer comes during the pause between the two sends.
    comm.setWaitTimeout(2000);
    comm.setReplyPatterns(QStringLiteral("stopped by serial comm!"));
    comm.Send(QStringLiteral("="));
    comm.setPause(1000);
    comm.Send(QStringLiteral("-"));
    port->deliver("stopped by serial comm!\r\n", 50);
    comm.setPause(500);
    const std::int64_t before = clock.nowMs();
    EXPECT_EQ(comm.TimedOut(), 0);
    EXPECT_EQ(clock.nowMs(), before);

    // A wait without its reply ends on the clock.
    const std::int64_t t0 = clock.nowMs();
    comm.setWaitTimeout(3000);
    comm.setReplyPatterns(QStringLiteral("Finished F|Finished f"));
    comm.Send(QStringLiteral("f04"));
    port->deliver("Finished G\r\n", 100);
    EXPECT_EQ(comm.TimedOut(), 1);
    EXPECT_GE(clock.nowMs() - t0, 3000);
    EXPECT_LE(clock.nowMs() - t0, 3010);
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
    EXPECT_LE(clock.nowMs() - t0, 3010);

    // A port pulled during the wait ends it, and a closed port does not wait at all.
    comm.setWaitTimeout(5000);
    comm.Send(QStringLiteral("X"));
    const int puller = clock.addPump([&] {
        if (clock.nowMs() - t0 >= 3200)
            port->pull();
    });
    EXPECT_EQ(comm.TimedOut(), 1);
    EXPECT_LT(clock.nowMs() - t0, 3300);
    clock.removePump(puller);
    const std::int64_t pulled = clock.nowMs();
    comm.Send(QStringLiteral("X"));
    EXPECT_EQ(comm.TimedOut(), 1);
    EXPECT_EQ(clock.nowMs(), pulled);

    // On a network link every wait grows by the link allowance and still ends. An answer later
    // than the serial bound, within the allowance, is taken.
    open();
    port->allowance = 2400; // four round trips of 600 ms
    comm.setReplyPatterns(QStringLiteral("Finished X|Finished x"));
    comm.setWaitTimeout(1000);
    std::int64_t sent = clock.nowMs();
    comm.Send(QStringLiteral("X"));
    port->deliver("Finished X\r\n", 3000);
    EXPECT_EQ(comm.TimedOut(), 0);
    EXPECT_LE(clock.nowMs() - sent, 3010);

    // A dead link still ends: at the serial bound plus the allowance; an address's own allowance
    // takes the measured one's place.
    for (const auto& [own, bound] : {std::pair<std::optional<int>, int>{std::nullopt, 3400}, {500, 1500}}) {
        comm.setLinkAllowance(own);
        sent = clock.nowMs();
        comm.Send(QStringLiteral("X"));
        EXPECT_EQ(comm.TimedOut(), 1);
        EXPECT_GE(clock.nowMs() - sent, bound);
        EXPECT_LE(clock.nowMs() - sent, bound + 10);
    }
    comm.setWaitTimeout(0);

    // A reception waits the allowance longer for a block before it asks again.
    comm.setLinkAllowance(std::nullopt);
    TempFolder folder;
    comm.setReceiveFolder(folder.path());
    port->written.clear();
    comm.setReceiveFile(QStringLiteral("Event_01.EVT"));
    clock.advance(10'000 + 2400 - 20);
    EXPECT_EQ(port->written.join(), "C");
    clock.advance(40);
    EXPECT_EQ(port->written.join(), "CC");
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
