#pragma once
// The transports for a unit behind a serial device server or a cellular router, named like the
// serial tools name them:
//   "socket://HOST:PORT" (also "tcp://HOST:PORT")  raw TCP: the line's bytes as they are
//   "rfc2217://HOST:PORT"                          telnet with the COM-PORT-OPTION (RFC 2217): the
//                                                  far port's speed, 8 data bits, no parity and
//                                                  1 stop bit are set at opening, 0xFF escaped
// HOST is a name, an IPv4 address or an IPv6 address in brackets ("[fd00::5]:4001").
//
// Opening is bounded on the program's clock: a host that cannot be found or reached, refuses,
// or (RFC 2217) does not negotiate gives "Port unavailable" and a plain reason (failureReason())
// within a few seconds. The time that opening took is the link's measured round trip, from which
// linkAllowanceMs() is made (see NetworkLimits).
#include "common/Clock.h"
#include "link/Transport.h"

#include <optional>

namespace mr3x {

struct NetworkPort {
    enum class Kind { Raw, Rfc2217 };
    Kind kind = Kind::Raw;
    QString host;
    quint16 port = 0;
    /// Why the name names no reachable address ("" when it is well formed).
    QString error;
};

/// Whether the name is a network port's ("socket://", "tcp://", "rfc2217://", any case).
bool isNetworkPortName(const QString& name);
/// Reads a network port's name; nothing for any other name (a serial port). A network name that
/// is not of the form HOST:PORT comes back with `error` set.
std::optional<NetworkPort> networkPortFromName(const QString& name);

struct NetworkLimits {
    int connectMs = 5000;   // from asking to the TCP connection (the name looked up on the way)
    int negotiateMs = 5000; // from connecting to the server taking the COM-PORT-OPTION
    // The allowance: the round trip measured at opening, times the factor, within floor and cap.
    // The factor covers a reply that waits on the line and a slower moment of a cellular link.
    int allowanceFactor = 4;
    int allowanceFloorMs = 250;
    int allowanceCapMs = 8000;
};

/// The allowance for a measured round trip.
int allowanceForRoundTrip(std::int64_t roundTripMs, const NetworkLimits& limits = {});

/// A transport to a network port, opened by open().
std::unique_ptr<Transport> openNetworkPort(Clock& clock, const NetworkPort& port, const NetworkLimits& limits = {});

/// The opener the program and the collector use: network transports for network names, the
/// serial port transport (or `serial`) for every other name.
TransportOpener openerForPorts(Clock& clock, TransportOpener serial = {});

} // namespace mr3x
