// The standalone server on a real pty, with lrzsz's rz receiving what it sends.
#include "sim/SimUnit.h"

#include "support/TempFolder.h"
#include "support/UnitSimProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace mr3x::sim;

namespace {

const char* const kClock = mr3x::test::kUnitSimClock;
using ServerProcess = mr3x::test::UnitSimProcess;

int openRaw(const QString& path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return fd;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

// Sends a command and reads until `until` shows up or the time runs out.
std::string exchange(int fd, const std::string& command, const std::string& until, int timeoutMs = 3000)
{
    if (::write(fd, command.data(), command.size()) != static_cast<ssize_t>(command.size()))
        return {};
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.find(until) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd watch{fd, POLLIN, 0};
        if (::poll(&watch, 1, 50) > 0) {
            char buffer[512];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, static_cast<std::size_t>(n));
        }
    }
    return got;
}

// Lets rz take the line and receive one YMODEM batch into `folder`.
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

SimOptions sameUnit(std::uint64_t seed)
{
    SimOptions options;
    options.seed = seed;
    options.clock = *DateTime::parse(kClock);
    return options;
}

bool haveRz()
{
    return !QStandardPaths::findExecutable(QStringLiteral("rz")).isEmpty();
}

} // namespace

TEST(UnitSimInterop, RzReceivesAnEventRecordByteForByte)
{
    if (!haveRz())
        GTEST_SKIP() << "rz (lrzsz) is not installed";
    ServerProcess server({"--seed", "11"});
    ASSERT_TRUE(server.path().startsWith("/dev/")) << server.path().toStdString();

    const int fd = openRaw(server.path());
    ASSERT_GE(fd, 0);
    EXPECT_NE(exchange(fd, "=-", "stopped by serial comm!").find("stopped by serial comm!"), std::string::npos);
    EXPECT_NE(exchange(fd, "f04", "Finished f\r\n").find("Finished f\r\n"), std::string::npos);
    ::close(fd);  // the program side closes; the server keeps serving

    mr3x::test::TempFolder folder;
    ASSERT_EQ(runRz(server.path(), folder.path()), 0);
    const QByteArray received = folder.read("EVENT_05.EVT");
    const SimUnit reference(sameUnit(11));
    const Bytes& expected = reference.eventRecord(4);
    ASSERT_EQ(static_cast<std::size_t>(received.size()), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reinterpret_cast<const std::uint8_t*>(received.data())));

    // Reopened, the unit still answers, under serial control.
    const int again = openRaw(server.path());
    ASSERT_GE(again, 0);
    EXPECT_NE(exchange(again, "R", "Finished R").find("\r\nFinished R\r\n"), std::string::npos);
    ::close(again);
}

TEST(UnitSimInterop, RzReceivesTheIndexFromAPacedUnit)
{
    if (!haveRz())
        GTEST_SKIP() << "rz (lrzsz) is not installed";
    ServerProcess server({"--seed", "5", "--pace", "--baud", "115200", "--disarmed"});
    ASSERT_FALSE(server.path().isEmpty());
    const int fd = openRaw(server.path());
    ASSERT_GE(fd, 0);
    EXPECT_NE(exchange(fd, "p", "Finished p\r\n").find("Finished p"), std::string::npos);
    ::close(fd);

    mr3x::test::TempFolder folder;
    ASSERT_EQ(runRz(server.path(), folder.path()), 0);
    SimOptions options = sameUnit(5);
    const SimUnit reference(options);
    const Bytes expected = reference.indexFile();
    const QByteArray received = folder.read("INDEX.IDX");
    ASSERT_EQ(static_cast<std::size_t>(received.size()), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reinterpret_cast<const std::uint8_t*>(received.data())));
}

TEST(UnitSimInterop, ServerEndsOnTerminateAndOnAPulledCable)
{
    ServerProcess server({"--disarmed", "--disconnect", "200"});
    ASSERT_FALSE(server.path().isEmpty());
    const int fd = openRaw(server.path());
    ASSERT_GE(fd, 0);
    exchange(fd, "f00", "Finished f\r\n");
    // A receiver's 'C', then the header's ACK and the data 'C': the line goes in the first block.
    exchange(fd, "C", std::string(1, '\x01'), 1000);
    exchange(fd, "\x06" "C", "never", 300);
    ::close(fd);
    EXPECT_TRUE(server.process().waitForFinished(3000));
    EXPECT_EQ(server.process().exitCode(), 0);

    ServerProcess idle({});
    ASSERT_FALSE(idle.path().isEmpty());
    idle.process().terminate();
    EXPECT_TRUE(idle.process().waitForFinished(3000));
    EXPECT_EQ(idle.process().exitStatus(), QProcess::NormalExit);
}
