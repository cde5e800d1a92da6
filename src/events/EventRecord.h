#pragma once
// A stored event file and the record an event slot keeps of it.
//
// The file comes in two forms, told apart only by its length. The short form (3328 bytes) is the
// 8-byte head, 3200 sample bytes and the trailer at 3208. The long form (11520 bytes) also
// carries an 8192-byte trace area for the TDR viewer and the TRS locator between the samples and
// the trailer, which then starts at 11400. The last three bytes of either form are not read.
//
// The head is the date (3 bytes) and the time of day (3 bytes) in the order the unit stores
// them, the trigger source and the current full-scale code. The samples are 800 groups of four
// bytes, one for each of channels 0, 1, 2 and 3 in that order.
#include "events/RecordTrailer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace mr3x::events {

inline constexpr std::size_t kHeadBytes = 8, kSampleBytes = 3200, kTraceAreaBytes = 8192;
inline constexpr std::size_t kShortFileBytes = 3328, kLongFileBytes = 11520;
inline constexpr int kSampleGroups = 800, kChannels = 4;

enum class EventForm { Short, Long };

/// The form a file of this length holds; nothing for any other length (a corrupt file).
std::optional<EventForm> eventFormOfLength(std::uintmax_t length);

/// Where the trailer of a file of this length lies (11400 or 3208); nothing for other lengths.
std::optional<std::size_t> trailerOffsetForLength(std::uintmax_t length);

/// A viewer slot's record, always laid out as the long form: head, samples, trace area, trailer.
struct EventRecord {
    std::array<std::uint8_t, kHeadBytes> head{};           // date(3) time(3) trigger source, FSD code
    std::array<std::uint8_t, kSampleBytes> samples{};      // 800 groups of channels 0,1,2,3
    std::array<std::uint8_t, kTraceAreaBytes> traceArea{}; // all zeros for a short file
    RecordTrailer trailer;

    std::uint8_t triggerSource() const { return head[6]; }
    std::uint8_t fsdCode() const { return head[7]; }

    /// Channel c (0..3) of sample group g (0..799). An index outside those ranges is held to
    /// the nearest one inside: the four arrays lie next to each other, so a slip in a caller
    /// would otherwise read the neighbouring field without any tool noticing.
    std::uint8_t sample(int group, int channel) const;
};

/// The record in a whole file's bytes (short: head at 0, samples at 8, trailer at 3208; long:
/// everything from 0, trailer at 11400); nothing when the length is neither form.
std::optional<EventRecord> readEventRecord(std::span<const std::uint8_t> file);

/// A path the viewer loads at all: its name holds ".TRG" or ".VLT" in any case. Any other file is
/// left alone and the slot's labels stay cleared.
bool isEventFilePath(std::string_view path);

} // namespace mr3x::events
