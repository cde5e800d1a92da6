#pragma once
// What mr3x-analyse prints: one JSON object a line for each file it reads, its keys in a fixed
// order. Numbers are plain decimals with a point; a text is escaped as JSON needs, and bytes that
// are no UTF-8 become U+FFFD.
#include "events/Dips.h"
#include "tdr/FaultFinder.h"

#include <string>
#include <string_view>

namespace mr3x::exports {

/// A trace's line: {"file", "kind": "tdr"|"trs", "fault", "far_end", "noise"}.
std::string traceJson(std::string_view file, bool trs, const tdr::TraceFinding& finding);
/// An event's line: {"file", "kind": "event", "reference_v", "dips": [...]}.
std::string eventJson(std::string_view file, const events::DipMeasurement& measurement, int lineFrequency);

/// The text as a JSON string, quotes included.
std::string jsonString(std::string_view text);

} // namespace mr3x::exports
