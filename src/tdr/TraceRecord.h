#pragma once
// The trace file a TDR test leaves in the unit folder: the unit's samples in time order, then the
// 117-byte record trailer, stored exactly as the unit sent them. A TDR trace holds 512 samples
// (four sweeps of 128), a TRS trace 8192. Nothing in the file says which of the two it holds; the
// program tells them apart by "TRS" in the file's path, which its own test names carry.
//
// The older ".tst" and ".ref" files hold the same records; the program copies them to ".TDR"
// names made from their trailer (TestNames.h).
#include "events/RecordTrailer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace mr3x::tdr {

inline constexpr std::size_t kTdrSamples = 512, kTrsSamples = 8192;
inline constexpr std::size_t kTdrTraceBytes = kTdrSamples + events::kTrailerBytes;  // 629
inline constexpr std::size_t kTrsTraceBytes = kTrsSamples + events::kTrailerBytes;  // 8309

enum class TraceKind { Tdr, Trs };

/// A trace file is a TRS trace when its full path contains "TRS" (in capitals), else a TDR trace.
TraceKind traceKindOfPath(std::string_view path);

struct TdrTrace {
    std::array<std::uint8_t, kTdrSamples> samples{};
    events::RecordTrailer trailer;
};

struct TrsTrace {
    std::array<std::uint8_t, kTrsSamples> samples{};
    events::RecordTrailer trailer;
};

/// The record at the start of a trace file's bytes; nothing when the file is too short to hold
/// a whole record (a half-received or damaged file must never fill a slot with zeros silently).
/// Bytes after the record are not read.
std::optional<TdrTrace> readTdrTrace(std::span<const std::uint8_t> file);
std::optional<TrsTrace> readTrsTrace(std::span<const std::uint8_t> file);

/// The trailer of a legacy ".tst"/".ref" file: at 8192 when its name up to the first "."
/// contains "TRS", else at 512; nothing when the file is too short. `fileName` is the file's own
/// name, without its folder.
std::optional<events::RecordTrailer> legacyTrailer(std::string_view fileName, std::span<const std::uint8_t> file);

/// The legacy name up to its first "." (all of it when it has none).
std::string_view legacyBaseName(std::string_view fileName);

} // namespace mr3x::tdr
