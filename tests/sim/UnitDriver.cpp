#include "UnitDriver.h"

#include "link/ymodem/Crc16.h"

#include <algorithm>
#include <cstdlib>

namespace mr3x::sim::test {

using namespace mr3x::ymodem;

void UnitDriver::run(std::int64_t ms)
{
    const std::int64_t end = now + ms;
    while (now < end) {
        now = std::min(end, now + 1);
        const auto bytes = unit.transmit(now);
        received.insert(received.end(), bytes.begin(), bytes.end());
    }
}

std::string UnitDriver::take()
{
    std::string text(received.begin(), received.end());
    received.clear();
    return text;
}

std::string UnitDriver::ask(std::string_view command, std::int64_t ms)
{
    take();
    send(command);
    run(ms);
    return take();
}

std::string UnitDriver::logOn()
{
    take();
    send("=");
    run(1000);
    send("-");
    run(200);
    return take();
}

std::vector<std::uint8_t> bytesOf(std::string_view text)
{
    return {text.begin(), text.end()};
}

namespace {

constexpr std::int64_t kBlockStartMs = 10'000;
constexpr std::int64_t kCharacterMs = 1'000;
constexpr int kMaxErrors = 10;

enum class Expect { Header, Data, Closing };

struct Frame {
    enum class Kind { Incomplete, Block, Eot, Cancel, Junk } kind;
    int number = 0;
    std::vector<std::uint8_t> payload;
    bool crcOk = false;
    std::size_t used = 0;
};

Frame readFrame(const std::vector<std::uint8_t>& in)
{
    if (in.empty())
        return Frame{Frame::Kind::Incomplete, 0, {}, false, 0};
    if (in[0] == EOT)
        return {Frame::Kind::Eot, 0, {}, true, 1};
    if (in[0] == CAN)
        return in.size() >= 2 && in[1] == CAN ? Frame{Frame::Kind::Cancel, 0, {}, true, 2}
                                               : Frame{Frame::Kind::Incomplete, 0, {}, false, 0};
    if (in[0] != SOH && in[0] != STX)
        return Frame{Frame::Kind::Junk, 0, {}, false, 1};
    const std::size_t size = in[0] == STX ? 1024 : 128;
    if (in.size() < size + 5)
        return Frame{Frame::Kind::Incomplete, 0, {}, false, 0};
    Frame frame{Frame::Kind::Block, in[1], {in.begin() + 3, in.begin() + 3 + static_cast<std::ptrdiff_t>(size)}};
    const std::uint16_t crc = static_cast<std::uint16_t>((in[size + 3] << 8) | in[size + 4]);
    frame.crcOk = in[2] == 255 - in[1] && crc16(frame.payload) == crc;
    frame.used = size + 5;
    return frame;
}

} // namespace

ReceivedFile receiveFile(UnitDriver& d, const ReceiverOptions& options)
{
    ReceivedFile file;
    file.startedMs = d.now;
    std::vector<std::uint8_t> in;
    Expect expect = Expect::Header;
    int nextBlock = 1;
    int errors = 0;
    int naksLeft = options.nakBlocks;
    bool eotSeen = false;
    std::int64_t waitingSince = d.now;
    std::int64_t lastByte = d.now;

    auto answer = [&](std::uint8_t byte) {
        d.sendByte(byte);
        waitingSince = d.now;
    };
    auto error = [&](std::uint8_t reply) {
        ++errors;
        in.clear();
        if (errors > kMaxErrors) {
            d.send("\x18\x18");
            file.gaveUp = true;
        } else {
            answer(reply);
        }
    };

    answer(CRC_REQUEST);
    while (d.now - file.startedMs < options.limitMs && !file.gaveUp) {
        d.run(1);
        if (!d.received.empty()) {
            in.insert(in.end(), d.received.begin(), d.received.end());
            d.received.clear();
            lastByte = d.now;
        }
        const Frame frame = readFrame(in);
        const std::uint8_t retryByte = expect == Expect::Data ? NAK : CRC_REQUEST;
        switch (frame.kind) {
        case Frame::Kind::Incomplete:
            if (!in.empty() && d.now - lastByte > kCharacterMs)
                error(retryByte);  // a block that stopped arriving
            else if (in.empty() && d.now - waitingSince > kBlockStartMs)
                error(retryByte);
            continue;
        case Frame::Kind::Junk:
            in.erase(in.begin());
            continue;
        case Frame::Kind::Cancel:
            file.canceled = true;
            file.endedMs = d.now;
            return file;
        case Frame::Kind::Eot:
            in.erase(in.begin());
            if (options.nakFirstEot && !eotSeen) {
                eotSeen = true;
                answer(NAK);
            } else {
                answer(ACK);
                if (!options.closeBatch) {
                    // A receiver that leaves with the file: the batch is never closed.
                    file.complete = file.data.size() >= file.announced;
                    file.data.resize(std::min(file.data.size(), file.announced));
                    file.endedMs = d.now;
                    return file;
                }
                answer(CRC_REQUEST);
                expect = Expect::Closing;
            }
            continue;
        case Frame::Kind::Block:
            break;
        }
        in.erase(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(frame.used));
        if (!frame.crcOk) {
            ++file.crcErrors;
            error(retryByte);
            continue;
        }
        if (expect == Expect::Header && frame.number == 0) {
            const auto nul = std::find(frame.payload.begin(), frame.payload.end(), 0);
            file.name.assign(frame.payload.begin(), nul);
            file.announced = std::strtoul(reinterpret_cast<const char*>(&*(nul + 1)), nullptr, 10);
            errors = 0;
            answer(ACK);
            answer(CRC_REQUEST);
            expect = Expect::Data;
        } else if (expect == Expect::Closing && frame.number == 0) {
            answer(ACK);
            file.complete = file.data.size() >= file.announced;
            file.data.resize(std::min(file.data.size(), file.announced));
            file.endedMs = d.now;
            return file;
        } else if (expect == Expect::Data && frame.number == (nextBlock & 0xFF)) {
            if (naksLeft > 0) {
                --naksLeft;
                answer(NAK);
                continue;
            }
            file.data.insert(file.data.end(), frame.payload.begin(), frame.payload.end());
            ++nextBlock;
            errors = 0;
            answer(ACK);
        } else if (expect == Expect::Data && frame.number == ((nextBlock - 1) & 0xFF)) {
            ++file.duplicates;
            answer(ACK);
        } else {
            error(retryByte);
        }
    }
    file.gaveUp = true;
    file.endedMs = d.now;
    return file;
}

std::vector<std::string> settingsFields(const std::string& answer)
{
    std::string joined;
    for (char c : answer)
        if (c != '\r' && c != '\n')
            joined += c;
    const auto at = joined.find("Parameters:");
    std::string rest = at == std::string::npos ? joined : joined.substr(at + 11);
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = rest.find(',', start);
        fields.push_back(rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            return fields;
        start = comma + 1;
    }
}

} // namespace mr3x::sim::test
