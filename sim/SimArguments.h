#pragma once
// The standalone server's command line.
#include "sim/SimUnit.h"

#include <optional>
#include <string>
#include <vector>

namespace mr3x::sim {

struct ServerArguments {
    SimOptions options;
    /// Serve this serial device; empty: create a pty and print its path.
    std::string device;
    /// Listen on the network instead (--listen HOST:PORT, port 0: one the system picks), raw TCP
    /// or, with --rfc2217, telnet with the COM-PORT-OPTION as a serial device server speaks it.
    std::string listenHost;
    int listenPort = -1;
    bool rfc2217 = false;
    /// --clock was given; otherwise the unit starts at the PC's local time.
    bool clockGiven = false;
    bool help = false;
    /// Log the line traffic to standard error.
    bool log = false;
};

/// Reads the arguments (without the program name). Nothing, with `error` set, for an unknown
/// flag, a missing value or a value out of range.
std::optional<ServerArguments> parseServerArguments(const std::vector<std::string>& args, std::string& error);

/// The usage text shown for --help and after a bad argument.
std::string serverUsage();

} // namespace mr3x::sim
