#include "sim/SerialServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace mr3x::sim {

namespace {

// The longest the loop sleeps with nothing to do; a stop request is seen within it.
constexpr int kIdlePollMs = 200;

std::int64_t monotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool makeRaw(int fd, speed_t speed, bool device)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    if (device) {
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
        cfsetispeed(&tio, speed);
        cfsetospeed(&tio, speed);
    }
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

bool setNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

std::string systemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

} // namespace

SerialServer::~SerialServer()
{
    closeAll();
}

void SerialServer::closeAll()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (keepOpen_ >= 0)
        ::close(keepOpen_);
    fd_ = keepOpen_ = -1;
}

bool SerialServer::openPty(std::string& error)
{
    char name[256] = {};
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        error = systemError("cannot create a pty");
        return false;
    }
    fd_ = master;
    keepOpen_ = slave;
    path_ = name;
    if (!makeRaw(slave, B115200, false) || !setNonBlocking(master)) {
        error = systemError("cannot set up the pty");
        closeAll();
        return false;
    }
    return true;
}

bool SerialServer::openDevice(const std::string& path, int baud, std::string& error)
{
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        error = systemError("cannot open " + path);
        return false;
    }
    path_ = path;
    if (!makeRaw(fd_, baud == 9600 ? B9600 : B115200, true)) {
        error = systemError("cannot set up " + path);
        closeAll();
        return false;
    }
    return true;
}

void SerialServer::log(std::int64_t ms, const char* direction, const std::uint8_t* bytes, std::size_t count) const
{
    if (!logging_ || count == 0)
        return;
    std::fprintf(stderr, "%8lld.%03lld %s %5zu", static_cast<long long>(ms / 1000), static_cast<long long>(ms % 1000),
                 direction, count);
    for (std::size_t i = 0; i < std::min<std::size_t>(count, 8); ++i)
        std::fprintf(stderr, " %02x", bytes[i]);
    std::fputc('\n', stderr);
}

int SerialServer::serve(SimUnit& unit, const volatile std::sig_atomic_t& stopRequested)
{
    const std::int64_t start = monotonicMs();
    auto now = [start] { return monotonicMs() - start; };
    std::vector<std::uint8_t> pending;
    std::uint8_t buffer[4096];

    while (stopRequested == 0) {
        const std::vector<std::uint8_t> out = unit.transmit(now());
        pending.insert(pending.end(), out.begin(), out.end());
        while (!pending.empty()) {
            const ssize_t written = ::write(fd_, pending.data(), pending.size());
            if (written <= 0)
                break;  // the pty's buffer is full: wait for room
            log(now(), "out", pending.data(), static_cast<std::size_t>(written));
            pending.erase(pending.begin(), pending.begin() + written);
        }
        if (unit.lineLost(now())) {
            closeAll();  // the line goes away: the program sees its port fail
            return 0;
        }

        int timeout = kIdlePollMs;
        if (const auto next = unit.nextEventMs())
            timeout = static_cast<int>(std::clamp<std::int64_t>(*next - now(), 0, kIdlePollMs));
        pollfd watch{fd_, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0};
        const int ready = ::poll(&watch, 1, pending.empty() ? timeout : std::min(timeout, 5));
        if (ready < 0 && errno != EINTR)
            return 1;
        if (ready > 0 && (watch.revents & POLLIN) != 0) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got > 0)
                log(now(), "in ", buffer, static_cast<std::size_t>(got));
            if (got > 0)
                unit.receive(std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(got)), now());
            else if (got == 0 || (errno != EAGAIN && errno != EINTR && errno != EIO))
                return 1;  // the device went away
        }
    }
    return 0;
}

} // namespace mr3x::sim
