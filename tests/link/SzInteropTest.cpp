// A sender nobody here wrote: lrzsz's sz in YMODEM mode, on the far side of a socat pty pair,
// received through the QSerialPort transport. This runs in real time.
#include "YmodemFrames.h"
#include "link/SerialControl.h"
#include "link/SerialPortTransport.h"
#include "support/LinkFixture.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

TEST(SzInterop, ReceivesEveryFileSizeTheUnitSendsByteForByteAndSeesThePortGo)
{
    if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("sz")).isEmpty())
        GTEST_SKIP() << "socat or sz (lrzsz) is not installed";
    TempFolder outbox;
    TempFolder inbox;
    // socat links its two ptys to paths of our choosing.
    const QString ours = outbox(QStringLiteral("ours")), theirs = outbox(QStringLiteral("theirs"));
    QProcess socat;
    socat.start(QStringLiteral("socat"), {"pty,raw,echo=0,link=" + ours, "pty,raw,echo=0,link=" + theirs});
    RealClock clock;
    for (const std::int64_t deadline = clock.nowMs() + 5000; clock.nowMs() < deadline && !QFileInfo::exists(theirs);)
        clock.idle(20);
    ASSERT_TRUE(QFileInfo::exists(ours) && QFileInfo::exists(theirs)) << "socat made no pty pair";
    SerialControl comm{clock, [](const QString& port) { return openSerialPort(port); }};
    comm.setPortName(ours);
    comm.setSettings(QStringLiteral("115200,n,8,1"));
    comm.setPortOpen(true);
    ASSERT_EQ(comm.PortStatus(), "Connected");

    for (const bool longBlocks : {false, true}) {
        for (const std::size_t size : {1, 360, 629, 720, 3328, 8309, 11520}) {
            SCOPED_TRACE(testing::Message() << size << " bytes" << (longBlocks ? " in 1024-byte blocks" : ""));
            const QByteArray file = bytesOf(testFile(size));
            QProcess sz;
            sz.setStandardInputFile(theirs);
            sz.setStandardOutputFile(theirs, QIODevice::Append);
            sz.start(QStringLiteral("sz"), QStringList{"--ymodem"} + (longBlocks ? QStringList{"-k"} : QStringList{})
                                               + QStringList{outbox.write(QStringLiteral("sent by sz.bin"), file)});
            ASSERT_TRUE(sz.waitForStarted(5000));
            comm.setReceiveFolder(inbox.path());
            comm.setReceiveFile(QStringLiteral("Event_01.EVT"));
            for (const std::int64_t deadline = clock.nowMs() + 30'000; comm.TransferState() == 4 && clock.nowMs() < deadline;)
                clock.idle(50);
            EXPECT_EQ(comm.TransferState(), 0) << qPrintable(QString::fromLocal8Bit(sz.readAllStandardError()));
            // Our event loop may have seen sz end already; waitForFinished says false then.
            EXPECT_TRUE(sz.state() == QProcess::NotRunning || sz.waitForFinished(10'000));
            EXPECT_EQ(sz.exitCode(), 0) << qPrintable(QString::fromLocal8Bit(sz.readAllStandardError()));
            EXPECT_EQ(inbox.read(QStringLiteral("Event_01.EVT")), file);
        }
    }

    // The far end goes away: the port reports it canceled.
    socat.kill();
    socat.waitForFinished(2000);
    for (const std::int64_t deadline = clock.nowMs() + 5000; comm.PortStatus() != "Canceled" && clock.nowMs() < deadline;)
        clock.idle(50);
    EXPECT_EQ(comm.PortStatus(), "Canceled");
    EXPECT_FALSE(comm.PortOpen());
}
