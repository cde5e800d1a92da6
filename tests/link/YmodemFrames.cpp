#include "YmodemFrames.h"

#include <algorithm>

namespace mr3x::test {

Bytes frame(std::uint8_t number, const Bytes& data, std::size_t size, std::uint8_t pad)
{
    Bytes payload(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min(size, data.size())));
    payload.resize(size, pad);
    Bytes out;
    out.reserve(size + 5);
    out.push_back(size == 128 ? ymodem::SOH : ymodem::STX);
    out.push_back(number);
    out.push_back(static_cast<std::uint8_t>(~number));
    out.insert(out.end(), payload.begin(), payload.end());
    const std::uint16_t crc = ymodem::crc16(payload);
    out.push_back(static_cast<std::uint8_t>(crc >> 8));
    out.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return out;
}

Bytes header(const std::string& name, std::optional<std::uint64_t> length, const std::string& more,
             std::uint8_t padding, std::size_t size)
{
    Bytes payload(name.begin(), name.end());
    payload.push_back(0);
    if (length) {
        const std::string digits = std::to_string(*length);
        payload.insert(payload.end(), digits.begin(), digits.end());
    }
    payload.insert(payload.end(), more.begin(), more.end());
    payload.push_back(0);
    return frame(0, payload, size, padding);
}

Bytes endOfBatch()
{
    return frame(0, {}, 128, 0);
}

Bytes testFile(std::size_t size)
{
    Bytes file(size);
    for (std::size_t i = 0; i < size; ++i)
        file[i] = static_cast<std::uint8_t>((i * 31 + size * 7 + i / 251) & 0xFF);
    return file;
}

std::vector<Bytes> dataFrames(const Bytes& file, std::size_t blockSize)
{
    std::vector<Bytes> frames;
    std::uint8_t number = 1;
    for (std::size_t at = 0; at < file.size(); at += blockSize, ++number) {
        const Bytes part(file.begin() + static_cast<std::ptrdiff_t>(at),
                         file.begin() + static_cast<std::ptrdiff_t>(std::min(file.size(), at + blockSize)));
        frames.push_back(frame(number, part, blockSize));
    }
    return frames;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace mr3x::test
