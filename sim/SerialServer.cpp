#include "sim/SerialServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
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
    for (int fd : {fd_, keepOpen_, listen_})
        if (fd >= 0)
            ::close(fd);
    fd_ = keepOpen_ = listen_ = -1;
}

bool SerialServer::listenTcp(const std::string& host, int port, bool rfc2217, std::string& error)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int failed = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); failed != 0) {
        error = "cannot listen on " + host + ": " + gai_strerror(failed);
        return false;
    }
    for (addrinfo* a = found; a != nullptr && listen_ < 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (fd < 0)
            continue;
        const int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (::bind(fd, a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd, 4) == 0 && setNonBlocking(fd))
            listen_ = fd;
        else
            ::close(fd);
    }
    freeaddrinfo(found);
    if (listen_ < 0) {
        error = systemError("cannot listen on " + host + ":" + service);
        return false;
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(listen_, reinterpret_cast<sockaddr*>(&bound), &length);
    const bool v6 = bound.ss_family == AF_INET6;
    const int boundPort = ntohs(v6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                   : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    rfc2217_ = rfc2217;
    path_ = std::string(rfc2217 ? "rfc2217://" : "socket://") + (v6 ? "[" + host + "]" : host) + ":" +
            std::to_string(boundPort);
    return true;
}

void SerialServer::acceptClient(std::vector<std::uint8_t>& pending)
{
    const int client = ::accept(listen_, nullptr, nullptr);
    if (client < 0)
        return;
    if (fd_ >= 0 || !setNonBlocking(client)) {
        ::close(client); // the port is in use, as a device server says by closing
        return;
    }
    const int on = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    fd_ = client;
    pending.clear();
    telnet_.reset();
    if (rfc2217_) {
        telnet_.emplace();
        pending = telnet_->greeting();
    }
}

void SerialServer::dropClient(std::vector<std::uint8_t>& pending)
{
    ::close(fd_);
    fd_ = -1;
    pending.clear();
    telnet_.reset();
}

std::vector<std::uint8_t> SerialServer::fromLine(const std::uint8_t* bytes, std::size_t count,
                                                  std::vector<std::uint8_t>& pending)
{
    if (!telnet_)
        return {bytes, bytes + count};
    telnet::Bytes reply;
    telnet::Bytes data = telnet_->receive(std::span<const std::uint8_t>(bytes, count), reply);
    pending.insert(pending.end(), reply.begin(), reply.end());
    return data;
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
        // With no client on a network port the unit talks to nobody, as on an unplugged line.
        if (fd_ >= 0) {
            const std::vector<std::uint8_t> wire = telnet_ ? telnet_->send(out) : out;
            pending.insert(pending.end(), wire.begin(), wire.end());
        }
        while (fd_ >= 0 && !pending.empty()) {
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
        pollfd watch[2] = {{fd_, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0}, {listen_, POLLIN, 0}};
        const int ready = ::poll(watch, listen_ >= 0 ? 2 : 1, pending.empty() ? timeout : std::min(timeout, 5));
        if (ready < 0 && errno != EINTR)
            return 1;
        if (ready > 0 && listen_ >= 0 && (watch[1].revents & POLLIN) != 0)
            acceptClient(pending);
        if (ready > 0 && fd_ >= 0 && fd_ == watch[0].fd && (watch[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got > 0) {
                log(now(), "in ", buffer, static_cast<std::size_t>(got));
                const std::vector<std::uint8_t> data = fromLine(buffer, static_cast<std::size_t>(got), pending);
                unit.receive(std::span<const std::uint8_t>(data.data(), data.size()), now());
            } else if (listen_ >= 0 && (got == 0 || (errno != EAGAIN && errno != EINTR))) {
                dropClient(pending);  // the client went: the next one finds the unit as it was
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR && errno != EIO)) {
                return 1;  // the device went away
            }
        }
    }
    return 0;
}

} // namespace mr3x::sim
