// The standalone server on a real pty, with lrzsz's rz receiving what it sends.
#include "sim/SimUnit.h"

#include "support/LinkFixture.h"
#include "support/TempFolder.h"
#include "support/UnitSimProcess.h"

#include "link/SerialControl.h"
#include "link/SerialPortTransport.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace mr3x::sim;
using mr3x::test::UnitSimProcess;
using mr3x::test::bytesOf;

namespace {

// Opens the pty, sends a command, waits (bounded) for `reply` and closes the pty again, so the
// next command or rz can take the line; the server keeps serving.
bool ask(const QString& pty, const QString& command, const QString& reply, int timeoutMs = 3000)
{
    mr3x::RealClock clock;
    mr3x::SerialControl comm(clock, [](const QString& name) { return mr3x::openSerialPort(name); });
    comm.setPortName(pty);
    comm.setSettings(QStringLiteral("115200,n,8,1"));
    comm.setPortOpen(true);
    comm.setReplyPatterns(reply);
    comm.setWaitTimeout(timeoutMs);
    comm.Send(command);
    return comm.TimedOut() == 0;
}

// Lets rz take the line and receive one YMODEM batch into `folder`; returns its exit code.
int runRz(const QString& pty, const QString& folder)
{
    QProcess rz;
    rz.setWorkingDirectory(folder);
    rz.setStandardInputFile(pty);
    rz.setStandardOutputFile(pty, QIODevice::Append);
    rz.start(QStringLiteral("rz"), {"--ymodem", "--binary", "--keep-uppercase", "--overwrite", "--quiet"});
    if (!rz.waitForFinished(60'000)) {
        rz.kill();
        return -1;
    }
    return rz.exitStatus() == QProcess::NormalExit ? rz.exitCode() : -1;
}

} // namespace

TEST(UnitSimInterop, RzReceivesTheIndexAndAnEventRecordFromAPacedUnitByteForByte)
{
    if (QStandardPaths::findExecutable(QStringLiteral("rz")).isEmpty())
        GTEST_SKIP() << "rz (lrzsz) is not installed";
    UnitSimProcess server({"--seed", "11", "--pace", "--baud", "115200"});
    ASSERT_TRUE(server.path().startsWith("/dev/")) << server.path().toStdString();
    SimOptions options;
    options.seed = 11;
    options.clock = *DateTime::parse(mr3x::test::kUnitSimClock);
    const SimUnit reference(options);
    mr3x::test::TempFolder folder;

    EXPECT_TRUE(ask(server.path(), "=-", "stopped by serial comm!"));
    EXPECT_TRUE(ask(server.path(), "p", "Finished p\r\n"));
    ASSERT_EQ(runRz(server.path(), folder.path()), 0);
    EXPECT_EQ(folder.read("INDEX.IDX"), bytesOf(reference.indexFile()));

    EXPECT_TRUE(ask(server.path(), "f04", "Finished f\r\n"));
    ASSERT_EQ(runRz(server.path(), folder.path()), 0);
    EXPECT_EQ(folder.read("EVENT_05.EVT"), bytesOf(reference.eventRecord(4)));

    // Reopened, the unit still answers, under serial control.
    EXPECT_TRUE(ask(server.path(), "R", "\r\nFinished R\r\n"));
}

TEST(UnitSimInterop, ServerEndsOnTerminateAndOnAPulledCable)
{
    UnitSimProcess server({"--disarmed", "--disconnect", "200"});
    ASSERT_FALSE(server.path().isEmpty());
    // The request, a receiver's 'C', then the header's ACK and the data 'C': the line goes in the first block.
    EXPECT_TRUE(ask(server.path(), "f00", "Finished f\r\n"));
    EXPECT_TRUE(ask(server.path(), "C", "\x01", 1000));
    ask(server.path(), "\x06" "C", "never", 300);
    // Waiting for the reply runs the event loop, which may already have seen the server end.
    EXPECT_TRUE(server.process().state() == QProcess::NotRunning || server.process().waitForFinished(3000));
    EXPECT_EQ(server.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server.process().exitCode(), 0);

    UnitSimProcess idle({});
    ASSERT_FALSE(idle.path().isEmpty());
    idle.process().terminate();
    EXPECT_TRUE(idle.process().waitForFinished(3000));
    EXPECT_EQ(idle.process().exitStatus(), QProcess::NormalExit);
}
