#include "sim/TelnetSide.h"

#include "link/telnet/ComPortClient.h"

namespace mr3x::sim {

using namespace mr3x::telnet;

namespace {

void append(Bytes& to, const Bytes& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

} // namespace

Bytes TelnetSide::greeting()
{
    Bytes out;
    for (const std::uint8_t o : {option::Binary, option::SuppressGoAhead}) {
        append(out, negotiation(code::WILL, o));
        append(out, negotiation(code::DO, o));
        weWill_.insert(o);
        weDo_.insert(o);
    }
    return out;
}

Bytes TelnetSide::receive(std::span<const std::uint8_t> bytes, Bytes& reply)
{
    Decoder::Output in = decoder_.feed(bytes);
    for (const Command& command : in.commands)
        answer(command, reply);
    return std::move(in.data);
}

void TelnetSide::answer(const Command& command, Bytes& reply)
{
    if (command.kind == Command::Kind::Subnegotiation) {
        if (command.option == option::ComPort && weDo_.contains(option::ComPort))
            answerPortCommand(command.payload, reply);
        return;
    }
    const std::uint8_t o = command.option;
    const bool ours = o == option::Binary || o == option::SuppressGoAhead;
    switch (command.verb) {
    case code::WILL:
        if (ours || o == option::ComPort) {
            if (weDo_.insert(o).second)
                append(reply, negotiation(code::DO, o));
        } else if (refused_.insert(o).second) {
            append(reply, negotiation(code::DONT, o));
        }
        return;
    case code::DO:
        if (ours) {
            if (weWill_.insert(o).second)
                append(reply, negotiation(code::WILL, o));
        } else if (refused_.insert(o).second) {
            append(reply, negotiation(code::WONT, o));
        }
        return;
    case code::WONT: weDo_.erase(o); return;
    case code::DONT: weWill_.erase(o); return;
    default: return;
    }
}

void TelnetSide::answerPortCommand(const Bytes& payload, Bytes& reply)
{
    if (payload.empty() || payload[0] == 0 || payload[0] > comport::PurgeData)
        return;
    Bytes answer = payload;
    answer[0] = static_cast<std::uint8_t>(payload[0] + comport::ServerOffset);
    if (payload[0] == comport::SetBaudRate && payload.size() == 5) {
        const std::uint32_t asked = (std::uint32_t{payload[1]} << 24) | (std::uint32_t{payload[2]} << 16) |
                                    (std::uint32_t{payload[3]} << 8) | payload[4];
        if (asked != 0)
            baud_ = asked; // 0 asks what the port runs at
        for (int i = 0; i < 4; ++i)
            answer[static_cast<std::size_t>(1 + i)] = static_cast<std::uint8_t>(baud_ >> (24 - 8 * i));
    }
    append(reply, subnegotiation(option::ComPort, answer));
}

} // namespace mr3x::sim
