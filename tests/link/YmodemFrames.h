#pragma once
// A YMODEM sender's frames, built by hand for the tests: blocks with their number, complement
// and CRC-16, block 0 with a file's name and length, and test files of a given size.
#include "link/ymodem/Crc16.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mr3x::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

/// A block of `size` (128 or 1024) payload bytes: the data, then `pad` up to the size.
inline Bytes frame(std::uint8_t number, const Bytes& data, std::size_t size, std::uint8_t pad = 0x1A)
{
    Bytes payload(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min(size, data.size())));
    payload.resize(size, pad);
    const std::uint16_t crc = ymodem::crc16(payload);
    return Bytes{size == 128 ? ymodem::SOH : ymodem::STX, number, static_cast<std::uint8_t>(~number)} + payload
        + Bytes{static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc & 0xFF)};
}

/// Block 0: the name, NUL, the length in decimal (none when not given), `more` (such as
/// " 14575373620 100644"), NUL, then `padding` repeated to the end of the block.
inline Bytes header(const std::string& name, std::optional<std::uint64_t> length, const std::string& more = "",
                    std::uint8_t padding = 0, std::size_t size = 128)
{
    const std::string text = name + '\0' + (length ? std::to_string(*length) : "") + more + '\0';
    return frame(0, Bytes(text.begin(), text.end()), size, padding);
}

/// The empty block 0 that ends a batch.
inline Bytes endOfBatch()
{
    return frame(0, {}, 128, 0);
}

/// A file's contents that differ from byte to byte and from size to size.
inline Bytes testFile(std::size_t size)
{
    Bytes file(size);
    for (std::size_t i = 0; i < size; ++i)
        file[i] = static_cast<std::uint8_t>((i * 31 + size * 7 + i / 251) & 0xFF);
    return file;
}

/// The file cut into data blocks of `blockSize`, numbered from 1.
inline std::vector<Bytes> dataFrames(const Bytes& file, std::size_t blockSize)
{
    std::vector<Bytes> frames;
    for (std::size_t at = 0; at < file.size(); at += blockSize) {
        const auto from = file.begin() + static_cast<std::ptrdiff_t>(at);
        const auto number = static_cast<std::uint8_t>(frames.size() + 1);
        frames.push_back(frame(number, Bytes(from, from + static_cast<std::ptrdiff_t>(std::min(blockSize, file.size() - at))), blockSize));
    }
    return frames;
}

} // namespace mr3x::test
