#pragma once
// The signals the unit records: mains voltages and current with a dip, TDR pulse blocks and TRS
// traces with pulses on them. All 8-bit levels.
#include "sim/SimRandom.h"

#include <cstdint>
#include <vector>

namespace mr3x::sim {

inline constexpr int kSampleGroups = 800;   // four channels each
inline constexpr int kGroupsPerCycle = 80;  // 4000 groups a second at 50 Hz
inline constexpr int kSweepSamples = 128;
inline constexpr int kTrsSamples = 8192;
/// The level of a quiet line on a TDR or TRS trace.
inline constexpr double kQuietLevel = 128.0;

/// A voltage dip on one phase, with the fault current that goes with it.
struct Disturbance {
    int dipChannel = 0;      // 0..2: R, Y, B
    int startGroup = 120;
    int groups = 240;
    double remaining = 0.5;  // fraction of the normal voltage left during the dip
    int dippedPhases = 0;    // bit c set for each phase that dips; 0: dipChannel alone
};

/// 800 groups of four levels: channels 0..2 the phase voltages around level 129 (230 V rms at
/// 388/128 V a level), channel 3 the current around level 124.
std::vector<std::uint8_t> mainsSamples(SimRandom& random, const Disturbance& dip);

/// A pulse on a trace's own time axis (plot units on a TDR trace, samples on a TRS trace): a
/// straight rise from its leading edge, a flat top, then an exponential decay.
struct TracePulse {
    double at = 0;      // the leading edge
    double height = 0;  // levels above the quiet line; negative for an inverted pulse
    double rise = 1;
    double top = 0;
    double fall = 1;    // time constant of the decay
};

/// The trace's level at time t, before noise: the quiet line and every pulse on it.
double traceLevel(const std::vector<TracePulse>& pulses, double t);

/// One TDR pulse block of 128 samples. Sample s is taken at plot time 4 (s + 1) - lead, so the
/// blocks with leads 3, 2, 1, 0 fill in the quarter steps between each other.
std::vector<std::uint8_t> tdrBlock(const std::vector<TracePulse>& pulses, int lead, SimRandom& random);

/// A TRS trace of 8192 samples, sample n (counted from 1) taken at time n, on a line that wanders
/// slowly by a few levels.
std::vector<std::uint8_t> trsSamples(const std::vector<TracePulse>& pulses, SimRandom& random);

} // namespace mr3x::sim
