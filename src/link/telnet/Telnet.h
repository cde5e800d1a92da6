#pragma once
// The telnet layer a serial device server speaks (RFC 854 framing, RFC 855 options), as far as a
// serial link needs it: the byte values, the builders for what goes out, and a decoder that
// splits what comes in into the line's data and the server's commands. Standard library only.
//
// On the wire the data byte 0xFF goes as IAC IAC; a negotiation is IAC WILL|WONT|DO|DONT option;
// a subnegotiation is IAC SB option payload IAC SE, the payload's 0xFF bytes doubled too.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace mr3x::telnet {

using Bytes = std::vector<std::uint8_t>;

namespace code {
inline constexpr std::uint8_t SE = 240;
inline constexpr std::uint8_t NOP = 241;
inline constexpr std::uint8_t SB = 250;
inline constexpr std::uint8_t WILL = 251;
inline constexpr std::uint8_t WONT = 252;
inline constexpr std::uint8_t DO = 253;
inline constexpr std::uint8_t DONT = 254;
inline constexpr std::uint8_t IAC = 255;
} // namespace code

namespace option {
inline constexpr std::uint8_t Binary = 0;          // RFC 856: 8-bit data both ways
inline constexpr std::uint8_t Echo = 1;
inline constexpr std::uint8_t SuppressGoAhead = 3; // RFC 858
inline constexpr std::uint8_t ComPort = 44;        // RFC 2217: the far serial port's settings
} // namespace option

/// The data bytes as they go on the wire: each 0xFF doubled.
Bytes escaped(std::span<const std::uint8_t> data);
/// IAC verb option.
Bytes negotiation(std::uint8_t verb, std::uint8_t option);
/// IAC SB option payload IAC SE, the payload escaped.
Bytes subnegotiation(std::uint8_t option, std::span<const std::uint8_t> payload);

/// A command from the other side.
struct Command {
    enum class Kind { Negotiation, Subnegotiation };
    Kind kind = Kind::Negotiation;
    std::uint8_t verb = 0;   // WILL, WONT, DO or DONT for a negotiation; SB for a subnegotiation
    std::uint8_t option = 0;
    Bytes payload;           // a subnegotiation's bytes after the option, unescaped
};

/// Splits the incoming stream, across reads of any size, into data (IAC IAC undone) and commands.
/// Two-byte commands (NOP, GA, BRK, ...) carry nothing a serial link uses and are dropped.
class Decoder {
public:
    struct Output {
        Bytes data;
        std::vector<Command> commands;
    };
    Output feed(std::span<const std::uint8_t> bytes);

private:
    enum class State { Data, Iac, Verb, SbOption, SbData, SbIac };
    void take(std::uint8_t byte, Output& out);

    State state_ = State::Data;
    std::uint8_t verb_ = 0;
    Command sub_;
};

} // namespace mr3x::telnet
