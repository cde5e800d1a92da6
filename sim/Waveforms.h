#pragma once
// The signals the unit records: mains voltages and current with a dip, TDR sweeps with a
// reflection from a fault, and TRS traces with a step at the injection sample. All 8-bit levels.
#include "sim/SimRandom.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace mr3x::sim {

inline constexpr int kSampleGroups = 800;   // four channels each
inline constexpr int kGroupsPerCycle = 80;  // 4000 groups a second at 50 Hz
inline constexpr int kSweepSamples = 128;
inline constexpr int kTrsSamples = 8192;

/// A voltage dip on one phase, with the fault current that goes with it.
struct Disturbance {
    int dipChannel = 0;      // 0..2: R, Y, B
    int startGroup = 120;
    int groups = 240;
    double remaining = 0.5;  // fraction of the normal voltage left during the dip
};

/// 800 groups of four levels: channels 0..2 the phase voltages around level 129 (230 V rms at
/// 388/128 V a level), channel 3 the current around level 124.
std::vector<std::uint8_t> mainsSamples(SimRandom& random, const Disturbance& dip);

/// A reflectometry scene on the TDR plot's time scale (plot units of 10 ns, or 20 ns on the long range).
struct TdrScene {
    bool pulseOn = true;
    int pulseWidth = 1;        // 1..8
    double gain = 10;          // 0..20; 10 is unity
    double launchAt = 25;      // the launch pulse's leading edge
    double reflectionAt = 210; // the fault's leading edge
};

/// The scene's level at plot time t, before noise.
double tdrLevel(const TdrScene& scene, double t);

/// `sweeps` sweeps of 128 samples; sweep k is sampled at plot times 4s + 3 - shift(k), so
/// four consecutive sweeps interleave into a trace of quarter-sample resolution.
std::vector<std::uint8_t> tdrSweeps(const TdrScene& scene, SimRandom& random, int sweeps,
                                    const std::function<int(int)>& shift);

/// 8192 samples: a quiet line, then a step at `injection` (1-based sample) ringing down.
std::vector<std::uint8_t> trsTrace(SimRandom& random, int injection, double stepHeight);

} // namespace mr3x::sim
