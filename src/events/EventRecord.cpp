#include "events/EventRecord.h"

#include "common/Text.h"

#include <algorithm>

namespace mr3x::events {

namespace {

constexpr std::size_t kSamplesOffset = kHeadBytes;
constexpr std::size_t kShortTrailerOffset = kSamplesOffset + kSampleBytes;        // 3208
constexpr std::size_t kLongTrailerOffset = kShortTrailerOffset + kTraceAreaBytes; // 11400

static_assert(kShortTrailerOffset + kTrailerBytes + 3 == kShortFileBytes);
static_assert(kLongTrailerOffset + kTrailerBytes + 3 == kLongFileBytes);
static_assert(kSampleBytes == std::size_t(kSampleGroups) * kChannels);

template <std::size_t N>
void copyFrom(std::span<const std::uint8_t> file, std::size_t offset, std::array<std::uint8_t, N>& into)
{
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), N, into.begin());
}

} // namespace

std::optional<EventForm> eventFormOfLength(std::uintmax_t length)
{
    if (length == kShortFileBytes)
        return EventForm::Short;
    if (length == kLongFileBytes)
        return EventForm::Long;
    return std::nullopt;
}

std::optional<std::size_t> trailerOffsetForLength(std::uintmax_t length)
{
    const std::optional<EventForm> form = eventFormOfLength(length);
    if (!form)
        return std::nullopt;
    return *form == EventForm::Long ? kLongTrailerOffset : kShortTrailerOffset;
}

std::uint8_t EventRecord::sample(int group, int channel) const
{
    const int g = std::clamp(group, 0, kSampleGroups - 1);
    const int c = std::clamp(channel, 0, kChannels - 1);
    return samples[static_cast<std::size_t>(g * kChannels + c)];
}

std::optional<EventRecord> readEventRecord(std::span<const std::uint8_t> file)
{
    const std::optional<EventForm> form = eventFormOfLength(file.size());
    if (!form)
        return std::nullopt;
    EventRecord record;
    copyFrom(file, 0, record.head);
    copyFrom(file, kSamplesOffset, record.samples);
    // The short form has no trace area: the slot's stays at zeros.
    if (*form == EventForm::Long)
        copyFrom(file, kShortTrailerOffset, record.traceArea);
    record.trailer = RecordTrailer::from(file.subspan(*trailerOffsetForLength(file.size()), kTrailerBytes));
    return record;
}

bool isEventFilePath(std::string_view path)
{
    return containsNoCase(path, ".TRG") || containsNoCase(path, ".VLT");
}

} // namespace mr3x::events
