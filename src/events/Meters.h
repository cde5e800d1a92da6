#pragma once
// The meters of the Metering tab: at a measuring point m (a sample group) every channel shows
// its instantaneous value and its rms over the 80 groups around m, in volts for the three phase
// voltages (channels 0 to 2) and in amps for the current (channel 3). In raw mode they show
// instead how far the level at m stands from the level 80 groups earlier.
#include "events/EventRecord.h"

#include <array>
#include <string>
#include <string_view>

namespace mr3x::events {

inline constexpr int kVoltageZero = 129, kCurrentZero = 124;
inline constexpr double kVoltsPerLevel = 388.0 / 128.0;
inline constexpr int kCurrentChannel = 3;
inline constexpr int kRmsWindowGroups = 80;
inline constexpr int kRawLookBackGroups = 80;

/// Amps a level for a full-scale text ("1000A" gives 1000 / 128): the number at its start.
/// A text that does not start with a number (the reset mark "---") gives 0.
double ampsPerLevel(std::string_view fullScaleText);

/// The meters show something only for a measuring point from 1 to 800.
bool isMeasuringPoint(int m);

struct ChannelMeter {
    long long instant = 0;  // volts or amps at m
    long long rms = 0;      // volts or amps over the window, never negative
    long long rawLevels = 0; // raw mode: |level at m| - |level 80 groups earlier|
    double rawScaled = 0;    // raw mode: rawLevels in volts or amps
};

struct MeterReadings {
    int measuringPoint = 0; // the m used: held to 1..800, raised to 80 in raw mode
    int windowStart = 0;    // the first of the 80 groups the rms is taken over
    std::array<ChannelMeter, kChannels> channel{};
};

/// The meters at measuring point m (1..800): instantaneous (half to even), rms over the 80
/// groups m-40..m+39 (half to even) and, in raw mode, |d| - |p| against the group 80 earlier
/// (m raised to 80 first; measuringPoint tells the m used).
///
/// The recording holds groups 0 to 799 only, and nothing here reads past them whatever m holds:
/// point 800 reads the last group, the look-back is always 80 groups before the group read, and
/// near either end the rms window moves inside the recording, keeping its 80 groups so the rms
/// is always taken over a whole window.
MeterReadings readMeters(const EventRecord& record, int m, bool raw, double ampsPerLevel);

/// The meter label caption of channel c, normal or raw: "##0 volts (##0 volts rms)",
/// "##0 amps (##0 amps rms)", "##0 levels (##0 volts)", "##0 levels (##0 amps)". Channel 3 is
/// the current; every other channel a voltage.
std::string meterCaption(int channel, const ChannelMeter& meter, bool raw);

} // namespace mr3x::events
