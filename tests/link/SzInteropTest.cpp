// A sender nobody here wrote: lrzsz's sz in YMODEM mode, on the far side of a socat pty pair,
// received through the QSerialPort transport. These run in real time.
#include "YmodemFrames.h"
#include "link/SerialControl.h"
#include "link/SerialPortTransport.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

/// Two connected ptys made by socat; each end is a path a serial port can be opened on.
class PtyPair {
public:
    bool start()
    {
        socat_.setProcessChannelMode(QProcess::MergedChannels); // socat tells the paths on stderr
        socat_.start(QStringLiteral("socat"), {QStringLiteral("-d"), QStringLiteral("-d"),
                                               QStringLiteral("pty,raw,echo=0"), QStringLiteral("pty,raw,echo=0")});
        if (!socat_.waitForStarted(5000))
            return false;
        static const QRegularExpression ptyLine(QStringLiteral("PTY is (\\S+)"));
        QByteArray said;
        while (paths.size() < 2 && socat_.waitForReadyRead(5000)) {
            said += socat_.readAll();
            paths.clear();
            for (auto it = ptyLine.globalMatch(QString::fromLocal8Bit(said)); it.hasNext();)
                paths << it.next().captured(1);
        }
        return paths.size() == 2;
    }

    ~PtyPair() { stop(); }

    void stop()
    {
        socat_.kill();
        socat_.waitForFinished(2000);
    }

    QStringList paths;

private:
    QProcess socat_;
};

class SzInterop : public testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("sz")).isEmpty())
            GTEST_SKIP() << "socat or sz (lrzsz) is not installed";
        ASSERT_TRUE(ptys.start()) << "socat made no pty pair";
        comm.setPortName(ptys.paths[0]);
        comm.setSettings(QStringLiteral("115200,n,8,1"));
        comm.setPortOpen(true);
        ASSERT_EQ(comm.PortStatus(), "Connected");
    }

    /// sz sends `file` from the other pty; the control receives it as `name`.
    void sendWithSz(const Bytes& file, bool longBlocks, const QString& name)
    {
        const QString source = outbox.write(QStringLiteral("sent by sz.bin"),
                                            QByteArray(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size())));
        QProcess sz;
        QStringList arguments{QStringLiteral("--ymodem")};
        if (longBlocks)
            arguments << QStringLiteral("-k");
        arguments << source;
        sz.setStandardInputFile(ptys.paths[1]);
        sz.setStandardOutputFile(ptys.paths[1], QIODevice::Append);
        sz.start(QStringLiteral("sz"), arguments);
        ASSERT_TRUE(sz.waitForStarted(5000));

        comm.setReceiveFolder(inbox.path());
        comm.setReceiveFile(name);
        const std::int64_t deadline = clock.nowMs() + 30'000;
        while (comm.TransferState() == 4 && clock.nowMs() < deadline)
            clock.idle(50);
        EXPECT_EQ(comm.TransferState(), 0) << qPrintable(QString::fromLocal8Bit(sz.readAllStandardError()));
        // Our event loop may have seen sz end already; waitForFinished says false then.
        EXPECT_TRUE(sz.state() == QProcess::NotRunning || sz.waitForFinished(10'000));
        EXPECT_EQ(sz.exitCode(), 0) << qPrintable(QString::fromLocal8Bit(sz.readAllStandardError()));
    }

    RealClock clock;
    PtyPair ptys;
    SerialControl comm{clock, [](const QString& port) { return openSerialPort(port); }};
    TempFolder outbox;
    TempFolder inbox;
};

} // namespace

TEST_F(SzInterop, ReceivesEveryFileSizeTheUnitSendsByteForByte)
{
    for (const bool longBlocks : {false, true}) {
        for (const std::size_t size : {1, 360, 629, 720, 3328, 8309, 11520}) {
            SCOPED_TRACE(testing::Message() << size << " bytes" << (longBlocks ? " in 1024-byte blocks" : ""));
            const Bytes file = testFile(size);
            sendWithSz(file, longBlocks, QStringLiteral("Event_01.EVT"));
            EXPECT_EQ(inbox.read(QStringLiteral("Event_01.EVT")),
                      QByteArray(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size())));
            EXPECT_EQ(QDir(inbox.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Event_01.EVT")});
        }
    }
}

TEST_F(SzInterop, APortWhoseFarEndGoesAwayIsCanceled)
{
    ptys.stop();
    const std::int64_t deadline = clock.nowMs() + 5000;
    while (comm.PortStatus() != "Canceled" && clock.nowMs() < deadline)
        clock.idle(50);
    EXPECT_EQ(comm.PortStatus(), "Canceled");
    EXPECT_FALSE(comm.PortOpen());
}
