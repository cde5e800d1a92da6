#include "link/telnet/Telnet.h"

namespace mr3x::telnet {

namespace {

// No option this program hears of has a longer subnegotiation; a longer one is cut, not stored.
constexpr std::size_t maxPayload = 256;

} // namespace

Bytes escaped(std::span<const std::uint8_t> data)
{
    Bytes out;
    out.reserve(data.size());
    for (const std::uint8_t byte : data) {
        out.push_back(byte);
        if (byte == code::IAC)
            out.push_back(code::IAC);
    }
    return out;
}

Bytes negotiation(std::uint8_t verb, std::uint8_t option)
{
    return {code::IAC, verb, option};
}

Bytes subnegotiation(std::uint8_t option, std::span<const std::uint8_t> payload)
{
    Bytes out{code::IAC, code::SB, option};
    const Bytes body = escaped(payload);
    out.insert(out.end(), body.begin(), body.end());
    out.push_back(code::IAC);
    out.push_back(code::SE);
    return out;
}

Decoder::Output Decoder::feed(std::span<const std::uint8_t> bytes)
{
    Output out;
    out.data.reserve(bytes.size());
    for (const std::uint8_t byte : bytes)
        take(byte, out);
    return out;
}

void Decoder::take(std::uint8_t byte, Output& out)
{
    switch (state_) {
    case State::Data:
        if (byte == code::IAC)
            state_ = State::Iac;
        else
            out.data.push_back(byte);
        return;
    case State::Iac:
        if (byte == code::IAC) {
            out.data.push_back(byte);
            state_ = State::Data;
        } else if (byte >= code::WILL) {
            verb_ = byte;
            state_ = State::Verb;
        } else if (byte == code::SB) {
            state_ = State::SbOption;
        } else {
            state_ = State::Data; // a two-byte command
        }
        return;
    case State::Verb:
        out.commands.push_back({Command::Kind::Negotiation, verb_, byte, {}});
        state_ = State::Data;
        return;
    case State::SbOption:
        sub_ = {Command::Kind::Subnegotiation, code::SB, byte, {}};
        state_ = State::SbData;
        return;
    case State::SbData:
        if (byte == code::IAC)
            state_ = State::SbIac;
        else if (sub_.payload.size() < maxPayload)
            sub_.payload.push_back(byte);
        return;
    case State::SbIac:
        if (byte == code::IAC) {
            if (sub_.payload.size() < maxPayload)
                sub_.payload.push_back(byte);
            state_ = State::SbData;
            return;
        }
        // IAC SE ends it; a server that forgets the SE ends it with its next command, which is
        // read as such.
        out.commands.push_back(std::move(sub_));
        sub_ = {};
        state_ = State::Data;
        if (byte != code::SE) {
            state_ = State::Iac;
            take(byte, out);
        }
        return;
    }
}

} // namespace mr3x::telnet
