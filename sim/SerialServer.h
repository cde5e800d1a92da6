#pragma once
// Serves a SimUnit on a pty it creates or on a serial device: a single-threaded poll loop whose
// every wait is bounded by the unit's next event.
#include "sim/SimUnit.h"
#include "sim/TelnetSide.h"

#include <csignal>
#include <optional>
#include <string>

namespace mr3x::sim {

class SerialServer {
public:
    SerialServer() = default;
    SerialServer(const SerialServer&) = delete;
    SerialServer& operator=(const SerialServer&) = delete;
    ~SerialServer();

    /// Creates a raw pty. The server keeps its own handle on the far side, so the program may
    /// close and reopen the pty without ending the service.
    bool openPty(std::string& error);
    /// Opens a serial device raw at the line speed.
    bool openDevice(const std::string& path, int baud, std::string& error);
    /// Listens on the network (port 0: one the system picks), as a serial device server offers
    /// its port: one client at a time (a second is turned away); when the client goes, the unit
    /// stays as it was and the next client finds it so. With `rfc2217` the client speaks telnet
    /// with the COM-PORT-OPTION.
    bool listenTcp(const std::string& host, int port, bool rfc2217, std::string& error);
    /// The path the program opens: the pty's far side, the device, or the network port's name
    /// ("socket://127.0.0.1:4001", "rfc2217://[::1]:4001").
    const std::string& path() const { return path_; }

    /// Runs the unit until `stopRequested` is set or the unit's line goes away (a disconnect
    /// fault: the server then closes its side). Returns the exit status.
    int serve(SimUnit& unit, const volatile std::sig_atomic_t& stopRequested);

    /// Writes a line per read and write ("<time> in|out <count> <first bytes>") to standard error.
    void setLogging(bool on) { logging_ = on; }

private:
    void closeAll();
    /// A client knocks: taken when none is connected, else turned away.
    void acceptClient(std::vector<std::uint8_t>& pending);
    void dropClient(std::vector<std::uint8_t>& pending);
    /// What the client sent, for the unit; telnet's answers go into `pending`.
    std::vector<std::uint8_t> fromLine(const std::uint8_t* bytes, std::size_t count, std::vector<std::uint8_t>& pending);
    void log(std::int64_t ms, const char* direction, const std::uint8_t* bytes, std::size_t count) const;

    bool logging_ = false;

    int fd_ = -1;         // what the server reads and writes
    int keepOpen_ = -1;   // the pty's far side, held so it never hangs up
    int listen_ = -1;     // the listening socket (fd_ is then the client's, -1 while none)
    bool rfc2217_ = false;
    std::optional<TelnetSide> telnet_;
    std::string path_;
};

} // namespace mr3x::sim
