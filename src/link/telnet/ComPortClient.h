#pragma once
// The client side of telnet with the COM-PORT-OPTION (RFC 2217), the way a serial device server
// (ser2net's "telnet(rfc2217)" accepter, a Moxa NPort, ...) offers its serial port: a state
// machine fed with what arrives, answering with what to send. No input or output of its own, so
// the network transport drives it from a socket and tests drive it with the RFC's byte strings.
//
//   start(line)   IAC WILL BINARY, IAC DO BINARY, IAC WILL SGA, IAC DO SGA, IAC WILL COM-PORT-OPTION
//   server        IAC DO COM-PORT-OPTION (and its own WILL/DO for BINARY and SGA)
//   we            SET-BAUDRATE, SET-DATASIZE 8, SET-PARITY NONE, SET-STOPSIZE 1, PURGE-DATA both:
//                 the far port is ready (ready()), the line's data flow both ways
//
// The server's answers to the subnegotiations (the same command + 100) and its notifications are
// consumed; an option it asks for that is not one of ours is refused once (WONT / DONT), so two
// sides never loop. Data: 0xFF goes out doubled and comes in undoubled.
#include "link/telnet/Telnet.h"

#include <cstdint>
#include <set>

namespace mr3x::telnet {

namespace comport {
inline constexpr std::uint8_t SetBaudRate = 1;
inline constexpr std::uint8_t SetDataSize = 2;
inline constexpr std::uint8_t SetParity = 3;
inline constexpr std::uint8_t SetStopSize = 4;
inline constexpr std::uint8_t PurgeData = 12;
/// A server's answer to a command carries the command's code plus this.
inline constexpr std::uint8_t ServerOffset = 100;

inline constexpr std::uint8_t ParityNone = 1, ParityOdd = 2, ParityEven = 3, ParityMark = 4, ParitySpace = 5;
inline constexpr std::uint8_t PurgeBoth = 3; // the server's receive and transmit buffers
} // namespace comport

/// The far serial port's line: speed, data bits, parity ('n', 'o', 'e', 'm', 's'), stop bits.
struct SerialLine {
    std::uint32_t baud = 9600;
    int dataBits = 8;
    char parity = 'n';
    int stopBits = 1;
};

/// The subnegotiations that set the far port to `line`: baud rate (four bytes, high first),
/// data size, parity, stop size, in that order.
Bytes lineSettingCommands(const SerialLine& line);

class ComPortClient {
public:
    enum class State {
        Negotiating, // waiting for the server to take the COM-PORT-OPTION
        Ready,       // the far port is set; data flow
        Refused,     // the server will not let us set its port (DONT COM-PORT-OPTION)
    };

    /// What to send first, at connecting; `line` is set on the far port once the server agrees.
    Bytes start(const SerialLine& line);
    /// Takes what arrived: returns the line's data, and puts what to answer in `reply`.
    Bytes receive(std::span<const std::uint8_t> bytes, Bytes& reply);
    /// The data as they go on the wire (0xFF doubled).
    Bytes send(std::span<const std::uint8_t> data) const { return escaped(data); }
    /// A new line speed (or other settings): the commands to send now, or nothing while the
    /// server has not agreed yet (it gets the new line then).
    Bytes setLine(const SerialLine& line);

    State state() const { return state_; }
    bool ready() const { return state_ == State::Ready; }
    /// How many answers to the line-setting commands the server has sent (for the link log).
    int serverAnswers() const { return serverAnswers_; }
    /// The baud rate the server last said its port runs at; 0 before it said.
    std::uint32_t serverBaud() const { return serverBaud_; }

private:
    void answer(const Command& command, Bytes& reply);
    void answerServerWill(std::uint8_t option, Bytes& reply);
    void answerServerDo(std::uint8_t option, Bytes& reply);
    void takeServerAnswer(const Command& command);
    static void append(Bytes& to, const Bytes& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

    Decoder decoder_;
    SerialLine line_;
    State state_ = State::Negotiating;
    std::set<std::uint8_t> weWill_;   // options we offered or agreed to do
    std::set<std::uint8_t> weAsked_;  // options we asked the server to do, or agreed to
    std::set<std::uint8_t> refused_;  // options we refused once
    int serverAnswers_ = 0;
    std::uint32_t serverBaud_ = 0;
};

} // namespace mr3x::telnet
