#pragma once
// The device server's side of telnet with the COM-PORT-OPTION (RFC 2217), for the standalone unit
// listening on the network with --rfc2217: it offers BINARY and SGA, takes the client's
// COM-PORT-OPTION, answers each port command with its code + 100 and the value it now holds, and
// keeps the line's data apart from the commands (0xFF doubled both ways).
#include "link/telnet/Telnet.h"

#include <cstdint>
#include <set>
#include <span>

namespace mr3x::sim {

class TelnetSide {
public:
    /// What the server says as soon as a client connects.
    telnet::Bytes greeting();
    /// Takes what the client sent: returns the line's data; the answers go to `reply`.
    telnet::Bytes receive(std::span<const std::uint8_t> bytes, telnet::Bytes& reply);
    /// The unit's bytes as they go on the wire.
    telnet::Bytes send(std::span<const std::uint8_t> data) const { return telnet::escaped(data); }

    /// The baud rate the client set; 0 before it set one.
    std::uint32_t baud() const { return baud_; }

private:
    void answer(const telnet::Command& command, telnet::Bytes& reply);
    void answerPortCommand(const telnet::Bytes& payload, telnet::Bytes& reply);

    telnet::Decoder decoder_;
    std::set<std::uint8_t> weWill_, weDo_, refused_;
    std::uint32_t baud_ = 0;
};

} // namespace mr3x::sim
