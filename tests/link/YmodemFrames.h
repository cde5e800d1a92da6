#pragma once
// A YMODEM sender's frames, built by hand for the tests: blocks with their number, complement
// and CRC-16, block 0 with a file's name and length, and test files of a given size.
#include "link/ymodem/Crc16.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mr3x::test {

using Bytes = std::vector<std::uint8_t>;

/// A block of `size` (128 or 1024) payload bytes: the data, then `pad` up to the size.
Bytes frame(std::uint8_t number, const Bytes& data, std::size_t size, std::uint8_t pad = 0x1A);

/// Block 0: the name, NUL, the length in decimal (none when not given), `more` (such as
/// " 14575373620 100644"), NUL, then `padding` repeated to the end of the block.
Bytes header(const std::string& name, std::optional<std::uint64_t> length, const std::string& more = "",
             std::uint8_t padding = 0, std::size_t size = 128);

/// The empty block 0 that ends a batch.
Bytes endOfBatch();

/// A file's contents that differ from byte to byte and from size to size.
Bytes testFile(std::size_t size);

/// The file cut into data blocks of `blockSize`, numbered from 1.
std::vector<Bytes> dataFrames(const Bytes& file, std::size_t blockSize);

Bytes operator+(Bytes a, const Bytes& b);

} // namespace mr3x::test
