#pragma once
// An event as a COMTRADE record (IEEE C37.111-1999): the configuration file (.cfg) and the data
// file (.dat) that go under one name. Common COMTRADE viewers read them as they would a relay's
// recording: four analog channels Vr, Vy, Vb and I, no status channels, one sampling rate of 80
// groups a cycle, the first sample's time and the trigger time from the event's head.
//
// The .cfg is text, every line ended by CR LF, its fields in the standard's order. The .dat holds
// the raw sample bytes; each channel's a and b turn them into volts and amps. ASCII: one line a
// sample, "n,timestamp,Vr,Vy,Vb,I", CR LF. BINARY: 16 bytes a sample, little-endian: n and the
// timestamp as 4-byte unsigned numbers, then the four values as 2-byte two's complement numbers.
// Timestamps are microseconds from the first sample (timemult 1). The header file (.hdr), free
// ASCII text beside them, says what the event is: where and when, its parameters, and its dips,
// swells and interruptions as the half-cycle rms reads them.
#include "events/EventRecord.h"
#include "export/EventTiming.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x::exports {

enum class DataFileType { Ascii, Binary };

struct ComtradeOptions {
    std::string stationName;  // where the unit stands: its location
    std::string deviceId;     // the unit: serial number and model
    int lineFrequency = 50;   // 50 or 60
    DataFileType type = DataFileType::Ascii;
};

struct ComtradeFiles {
    std::string cfg;
    std::vector<std::uint8_t> dat;
    std::string hdr;
};

/// The three files; nothing when the event's head holds no calendar date and time, which the
/// configuration file cannot do without.
std::optional<ComtradeFiles> comtradeFiles(const events::EventRecord& record, const ComtradeOptions& options);

/// A text as a configuration field: printable ASCII only (a comma, which would split the field,
/// a control character or a character beyond ASCII becomes "_"), blanks trimmed, at most
/// `maxLength` characters. A character written in UTF-8 becomes one "_", not one a byte.
std::string comtradeField(std::string_view text, std::size_t maxLength = 64);

/// "dd/mm/yyyy,hh:mm:ss.ssssss".
std::string comtradeTime(const CivilTime& time);

} // namespace mr3x::exports
