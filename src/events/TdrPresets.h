#pragma once
// What loading an event sets on the TDR viewer: the first plotted point, both cursors, the
// scale and, for a few models, the slot's range label. The range normally comes from bit 0 of
// the trailer's flags (clear 400 m, set 800 m). Model bytes 38 and 43 always start the plot at
// 25 whatever the range; model byte 26 also takes its range from bit 0 of the mode byte.
#include "events/RecordTrailer.h"

#include <optional>
#include <string>

namespace mr3x::events {

/// What loading an event sets on the TDR viewer (the presets run by SHOW_EVENT_PARAMETERS):
/// Plotstart, both cursors' x, lblScale and, for some model bytes, lblLong_Short.
struct TdrPresets {
    int plotStart = 25;
    int cursorX = 25;
    std::string scale = "1";
    std::optional<std::string> longShort; // overrides the range label when set
};

TdrPresets tdrPresetsFor(const RecordTrailer& trailer);

} // namespace mr3x::events
