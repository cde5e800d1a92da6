#pragma once
// Event files and trailers built byte by byte for the event viewer's rules.
#include "events/EventRecord.h"

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace mr3x::events::test {

using ByteAt = std::pair<std::size_t, std::uint8_t>;

/// A trailer of zeros but for the bytes given (offsets from the trailer's start).
inline RecordTrailer trailerWith(std::initializer_list<ByteAt> bytes)
{
    RecordTrailer trailer;
    for (const auto& [offset, value] : bytes)
        trailer.bytes[offset] = value;
    return trailer;
}

/// A file of `length` bytes where no two nearby bytes are alike, so a field read from the wrong
/// place shows.
inline std::vector<std::uint8_t> patternedFile(std::size_t length)
{
    std::vector<std::uint8_t> file(length);
    for (std::size_t i = 0; i < length; ++i)
        file[i] = static_cast<std::uint8_t>((i * 7 + i / 251) % 256);
    return file;
}

/// A record whose head and trailer are all zeros and whose every sample of channel c is
/// `levels[c]`. The trace area holds 255s, so a meter that read past the samples would show it.
inline EventRecord constantRecord(std::array<std::uint8_t, kChannels> levels)
{
    EventRecord record;
    for (int g = 0; g < kSampleGroups; ++g)
        for (int c = 0; c < kChannels; ++c)
            record.samples[std::size_t(g * kChannels + c)] = levels[std::size_t(c)];
    record.traceArea.fill(255);
    return record;
}

inline void setSample(EventRecord& record, int group, int channel, std::uint8_t value)
{
    record.samples[std::size_t(group * kChannels + channel)] = value;
}

} // namespace mr3x::events::test
