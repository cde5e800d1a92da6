#pragma once
// The four recorded channels as the exports name and scale them. A sample is one byte, and
// a x byte + b is what the slot's meters show for it: the three phase voltages at 388/128 volts a
// level about level 129, the current at the full scale over 128 amps a level about level 124.
#include "events/EventRecord.h"

#include <array>
#include <cstdint>
#include <string>

namespace mr3x::exports {

struct ChannelScale {
    std::string name;   // "Vr", "Vy", "Vb", "I"
    std::string phase;  // "R", "Y", "B"; the current has none
    std::string unit;   // "V", "A"; "levels" for a current whose full scale is not known
    double a = 1;
    double b = 0;

    double valueOf(std::uint8_t raw) const { return a * raw + b; }
};

/// Channels 0 to 3 of the record, in the order they are stored. The full scale is the one the
/// slot's labels show: only a known model ("M-R32", "M-S32") with a known full-scale code has
/// one. Without it the meters would read the current as 0 amps; the exports keep the recording
/// instead, as levels from the current's zero (a = 1, b = -124).
std::array<ChannelScale, events::kChannels> channelScales(const events::EventRecord& record);

/// Whether the record's current has a full scale, so that channel I is in amps.
bool currentInAmps(const events::EventRecord& record);

} // namespace mr3x::exports
