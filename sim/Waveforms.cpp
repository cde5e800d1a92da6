#include "sim/Waveforms.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mr3x::sim {

namespace {

constexpr double kVoltsPerLevel = 388.0 / 128.0;
constexpr double kVoltageZero = 129.0;
constexpr double kCurrentZero = 124.0;
// 230 V rms as a peak in levels.
const double kPhasePeak = 230.0 * std::numbers::sqrt2 / kVoltsPerLevel;
constexpr double kLoadCurrentPeak = 12.0;
constexpr double kFaultCurrentPeak = 70.0;
constexpr double kTraceNoise = 0.6;
constexpr double kTrsWander = 3.0;

std::uint8_t level(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

double pulseShape(const TracePulse& p, double t)
{
    const double since = t - p.at;
    if (since <= 0)
        return 0;
    if (since < p.rise)
        return since / p.rise;
    if (since < p.rise + p.top)
        return 1;
    return std::exp(-(since - p.rise - p.top) / p.fall);
}

} // namespace

std::vector<std::uint8_t> mainsSamples(SimRandom& random, const Disturbance& dip)
{
    std::vector<std::uint8_t> samples;
    samples.reserve(kSampleGroups * 4);
    const double startAngle = random.unit() * 2 * std::numbers::pi;
    for (int g = 0; g < kSampleGroups; ++g) {
        const bool inDip = g >= dip.startGroup && g < dip.startGroup + dip.groups;
        const double angle = startAngle + 2 * std::numbers::pi * g / kGroupsPerCycle;
        for (int c = 0; c < 3; ++c) {
            const bool dips = dip.dippedPhases != 0 ? ((dip.dippedPhases >> c) & 1) != 0 : c == dip.dipChannel;
            const double scale = inDip && dips ? dip.remaining : 1.0;
            const double v = kPhasePeak * scale * std::sin(angle - c * 2 * std::numbers::pi / 3);
            samples.push_back(level(kVoltageZero + v + random.noise(0.6)));
        }
        // The current lags its voltage; a fault on the dipped phase drives it up.
        const double peak = inDip ? kFaultCurrentPeak : kLoadCurrentPeak;
        const double lag = inDip ? std::numbers::pi / 3 : std::numbers::pi / 9;
        const double i = peak * std::sin(angle - dip.dipChannel * 2 * std::numbers::pi / 3 - lag);
        samples.push_back(level(kCurrentZero + i + random.noise(0.6)));
    }
    return samples;
}

double traceLevel(const std::vector<TracePulse>& pulses, double t)
{
    double value = kQuietLevel;
    for (const TracePulse& p : pulses)
        value += p.height * pulseShape(p, t);
    return value;
}

std::vector<std::uint8_t> tdrBlock(const std::vector<TracePulse>& pulses, int lead, SimRandom& random)
{
    std::vector<std::uint8_t> samples;
    samples.reserve(kSweepSamples);
    for (int s = 0; s < kSweepSamples; ++s)
        samples.push_back(level(traceLevel(pulses, 4.0 * (s + 1) - lead) + random.noise(kTraceNoise)));
    return samples;
}

std::vector<std::uint8_t> trsSamples(const std::vector<TracePulse>& pulses, SimRandom& random)
{
    std::vector<std::uint8_t> samples;
    samples.reserve(kTrsSamples);
    const double wanderPhase = random.unit() * 2 * std::numbers::pi;
    for (int n = 1; n <= kTrsSamples; ++n) {
        const double wander = kTrsWander * std::sin(wanderPhase + n * 2 * std::numbers::pi / kTrsSamples);
        samples.push_back(level(traceLevel(pulses, n) + wander + random.noise(kTraceNoise)));
    }
    return samples;
}

} // namespace mr3x::sim
