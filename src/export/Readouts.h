#pragma once
// The read-out lines an exported picture or report carries, so it says what it shows without
// the program beside it: which event and unit, the channels' scale, the cursors and the distance,
// and always the propagation speed and cable type the distances were worked out with.
#include "events/EventRecord.h"

#include <string>
#include <string_view>

namespace mr3x::exports {

/// "Speed 54.0% (v/2=81.0m/us), cable type XLPE", or "..., no cable type chosen".
std::string speedReadout(std::string_view dielectricCaption, std::string_view cableType);

/// "Zero cursor 25, moving cursor 125, difference 100: 81 m". The positions as their labels
/// show them (leading blanks dropped).
std::string cursorReadout(std::string_view zero, std::string_view moving, std::string_view difference,
                          std::string_view distance);

/// "05-12-26 14-03-22.trg, unit MR-0101 (M-R32 version 2)": the file's name, the unit's serial
/// number when known, the model and version the trailer names.
std::string eventReadout(std::string_view fileName, std::string_view unit, const events::EventRecord& record);

/// "Triggered 2026-12-06 12:00:00 by Ch0(I), FSD 1000A, pre/post 7/1".
std::string eventDetailsReadout(const events::EventRecord& record);

} // namespace mr3x::exports
