#include "link/telnet/ComPortClient.h"

namespace mr3x::telnet {

namespace {

std::uint8_t parityCode(char parity)
{
    switch (parity) {
    case 'o': return comport::ParityOdd;
    case 'e': return comport::ParityEven;
    case 'm': return comport::ParityMark;
    case 's': return comport::ParitySpace;
    default: return comport::ParityNone;
    }
}

Bytes comPortCommand(std::uint8_t command, std::initializer_list<std::uint8_t> value)
{
    Bytes payload{command};
    payload.insert(payload.end(), value.begin(), value.end());
    return subnegotiation(option::ComPort, payload);
}

bool isOurs(std::uint8_t option)
{
    return option == option::Binary || option == option::SuppressGoAhead;
}

} // namespace

Bytes lineSettingCommands(const SerialLine& line)
{
    const std::uint32_t b = line.baud;
    Bytes out = comPortCommand(comport::SetBaudRate, {static_cast<std::uint8_t>(b >> 24), static_cast<std::uint8_t>(b >> 16),
                                                      static_cast<std::uint8_t>(b >> 8), static_cast<std::uint8_t>(b)});
    for (const Bytes& part : {comPortCommand(comport::SetDataSize, {static_cast<std::uint8_t>(line.dataBits)}),
                              comPortCommand(comport::SetParity, {parityCode(line.parity)}),
                              comPortCommand(comport::SetStopSize, {static_cast<std::uint8_t>(line.stopBits)})})
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes ComPortClient::start(const SerialLine& line)
{
    line_ = line;
    Bytes out;
    for (const std::uint8_t option : {option::Binary, option::SuppressGoAhead}) {
        append(out, negotiation(code::WILL, option));
        append(out, negotiation(code::DO, option));
        weWill_.insert(option);
        weAsked_.insert(option);
    }
    append(out, negotiation(code::WILL, option::ComPort));
    weWill_.insert(option::ComPort);
    return out;
}

Bytes ComPortClient::receive(std::span<const std::uint8_t> bytes, Bytes& reply)
{
    Decoder::Output in = decoder_.feed(bytes);
    for (const Command& command : in.commands)
        answer(command, reply);
    return std::move(in.data);
}

Bytes ComPortClient::setLine(const SerialLine& line)
{
    line_ = line;
    return ready() ? lineSettingCommands(line) : Bytes{};
}

void ComPortClient::answer(const Command& command, Bytes& reply)
{
    if (command.kind == Command::Kind::Subnegotiation) {
        if (command.option == option::ComPort)
            takeServerAnswer(command);
        return;
    }
    switch (command.verb) {
    case code::WILL: answerServerWill(command.option, reply); return;
    case code::DO: answerServerDo(command.option, reply); return;
    case code::DONT:
        // Without the COM-PORT-OPTION the far port keeps whatever speed it was set to: the unit
        // would not be heard.
        if (command.option == option::ComPort)
            state_ = State::Refused;
        weWill_.erase(command.option);
        return;
    case code::WONT: weAsked_.erase(command.option); return;
    default: return;
    }
}

void ComPortClient::answerServerWill(std::uint8_t option, Bytes& reply)
{
    if (isOurs(option)) {
        if (weAsked_.insert(option).second)
            append(reply, negotiation(code::DO, option));
        return;
    }
    if (refused_.insert(option).second)
        append(reply, negotiation(code::DONT, option));
}

void ComPortClient::answerServerDo(std::uint8_t option, Bytes& reply)
{
    if (option == option::ComPort) {
        if (state_ == State::Negotiating) {
            state_ = State::Ready;
            append(reply, lineSettingCommands(line_));
            append(reply, comPortCommand(comport::PurgeData, {comport::PurgeBoth}));
        }
        return;
    }
    if (isOurs(option)) {
        if (weWill_.insert(option).second)
            append(reply, negotiation(code::WILL, option));
        return;
    }
    if (refused_.insert(option).second)
        append(reply, negotiation(code::WONT, option));
}

void ComPortClient::takeServerAnswer(const Command& command)
{
    if (command.payload.empty() || command.payload[0] <= comport::ServerOffset)
        return;
    ++serverAnswers_;
    const Bytes& p = command.payload;
    if (p[0] == comport::ServerOffset + comport::SetBaudRate && p.size() == 5)
        serverBaud_ = (std::uint32_t{p[1]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 8) | p[4];
}

} // namespace mr3x::telnet
