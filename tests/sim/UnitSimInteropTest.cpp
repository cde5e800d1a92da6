// The standalone server on a real pty, with lrzsz's rz receiving what it sends.
#include "sim/SimUnit.h"

#include "support/TempFolder.h"
#include "support/UnitSimProcess.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace mr3x::sim;
using mr3x::test::UnitSimProcess;

namespace {

// Opens the pty, sends a command, reads until `until` shows up or the time runs out, and closes it.
std::string exchange(const QString& pty, const std::string& command, const std::string& until, int timeoutMs = 3000)
{
    const int fd = ::open(pty.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return {};
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    const bool sent = ::write(fd, command.data(), command.size()) == static_cast<ssize_t>(command.size());
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (sent && got.find(until) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd watch{fd, POLLIN, 0};
        char buffer[512];
        if (::poll(&watch, 1, 50) > 0)
            if (const ssize_t n = ::read(fd, buffer, sizeof buffer); n > 0)
                got.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);  // the program side closes; the server keeps serving
    return got;
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

QByteArray bytesOf(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
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

    EXPECT_NE(exchange(server.path(), "=-", "stopped by serial comm!").find("stopped by serial comm!"), std::string::npos);
    EXPECT_NE(exchange(server.path(), "p", "Finished p\r\n").find("Finished p"), std::string::npos);
    ASSERT_EQ(runRz(server.path(), folder.path()), 0);
    EXPECT_EQ(folder.read("INDEX.IDX"), bytesOf(reference.indexFile()));

    EXPECT_NE(exchange(server.path(), "f04", "Finished f\r\n").find("Finished f"), std::string::npos);
    ASSERT_EQ(runRz(server.path(), folder.path()), 0);
    EXPECT_EQ(folder.read("EVENT_05.EVT"), bytesOf(reference.eventRecord(4)));

    // Reopened, the unit still answers, under serial control.
    EXPECT_NE(exchange(server.path(), "R", "Finished R").find("\r\nFinished R\r\n"), std::string::npos);
}

TEST(UnitSimInterop, ServerEndsOnTerminateAndOnAPulledCable)
{
    UnitSimProcess server({"--disarmed", "--disconnect", "200"});
    ASSERT_FALSE(server.path().isEmpty());
    // The request, a receiver's 'C', then the header's ACK and the data 'C': the line goes in the first block.
    exchange(server.path(), "f00", "Finished f\r\n");
    exchange(server.path(), "C", std::string(1, '\x01'), 1000);
    exchange(server.path(), "\x06" "C", "never", 300);
    EXPECT_TRUE(server.process().waitForFinished(3000));
    EXPECT_EQ(server.process().exitCode(), 0);

    UnitSimProcess idle({});
    ASSERT_FALSE(idle.path().isEmpty());
    idle.process().terminate();
    EXPECT_TRUE(idle.process().waitForFinished(3000));
    EXPECT_EQ(idle.process().exitStatus(), QProcess::NormalExit);
}
