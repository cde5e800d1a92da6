#pragma once
// The byte layouts the unit sends: event records (short and long form), trace files, the
// trailer they all end with, and the index file.
#include "sim/UnitClock.h"
#include "sim/UnitModel.h"
#include "sim/UnitSettings.h"

#include <cstdint>
#include <vector>

namespace mr3x::sim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kHeadBytes = 8;
inline constexpr std::size_t kSampleBytes = 3200;
inline constexpr std::size_t kTraceAreaBytes = 8192;
inline constexpr std::size_t kTrailerBytes = 117;
inline constexpr std::size_t kSpareBytes = 3;
inline constexpr std::size_t kShortRecordBytes = kHeadBytes + kSampleBytes + kTrailerBytes + kSpareBytes;  // 3328
inline constexpr std::size_t kLongRecordBytes = kShortRecordBytes + kTraceAreaBytes;                         // 11520
inline constexpr std::size_t kTdrTraceSamples = 512;
inline constexpr std::size_t kTdrTraceBytes = kTdrTraceSamples + kTrailerBytes;  // 629
inline constexpr std::size_t kTrsTraceBytes = kTraceAreaBytes + kTrailerBytes;   // 8309
inline constexpr std::size_t kIndexRecordBytes = 18;
inline constexpr std::size_t kTrailerTextWidth = 24;

// Trigger sources in an event's head.
inline constexpr std::uint8_t kTriggerManual = 0;
inline constexpr std::uint8_t kTriggerCurrent = 4;
inline constexpr std::uint8_t kTriggerTrs = 5;  // the TRS pair's event, at both ends

/// What a trailer says besides the unit's settings.
struct TrailerFacts {
    DateTime when;
    int injection = 0;     // 16-bit, high byte first
    int recordNumber = 0;  // counted from 0
};

/// The 117-byte trailer: date, time, test code, gain, flags, balance, mode, reference, injection,
/// threshold, duration, record number, model byte, job and location (24 characters, blank-padded).
Bytes makeTrailer(Model model, const UnitSettings& settings, const TrailerFacts& facts);

/// An event record: head (date, time, trigger source, FSD code), 3200 sample bytes, the trace
/// area in the long form, the trailer and three spare bytes.
Bytes makeEventRecord(const DateTime& when, std::uint8_t triggerSource, std::uint8_t fsdCode,
                      const Bytes& samples, const Bytes* traceArea, const Bytes& trailer);

/// A trace file: the samples (512 or 8192), then the trailer.
Bytes makeTraceFile(const Bytes& samples, const Bytes& trailer);

/// One index record per slot; a slot without an entry stays all zeros.
struct IndexEntry {
    int slot = 0;
    DateTime when;
};
Bytes makeIndex(int slots, const std::vector<IndexEntry>& entries);

} // namespace mr3x::sim
