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

std::uint8_t level(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// The pulse the unit launches: a fast rise, a flat top as wide as the pulse setting, a decay.
double pulseShape(double t, int width)
{
    constexpr double rise = 2.0;
    const double top = 2.0 * width;
    if (t <= 0)
        return 0;
    if (t < rise)
        return t / rise;
    if (t < rise + top)
        return 1;
    return std::exp(-(t - rise - top) / 5.0);
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
            const double scale = inDip && c == dip.dipChannel ? dip.remaining : 1.0;
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

double tdrLevel(const TdrScene& scene, double t)
{
    if (!scene.pulseOn)
        return 128.0;
    const double gain = scene.gain / 10.0;
    // A low-resistance fault sends back an inverted, smaller and smeared copy of the pulse.
    const double launch = 90.0 * pulseShape(t - scene.launchAt, scene.pulseWidth);
    const double travelled = std::max(0.0, scene.reflectionAt - scene.launchAt);
    const double loss = std::exp(-travelled / 900.0);
    const double echo = -48.0 * loss * pulseShape(t - scene.reflectionAt, scene.pulseWidth + 1);
    return 128.0 + gain * (launch + echo);
}

std::vector<std::uint8_t> tdrSweeps(const TdrScene& scene, SimRandom& random, int sweeps,
                                    const std::function<int(int)>& shift)
{
    std::vector<std::uint8_t> samples;
    samples.reserve(static_cast<std::size_t>(sweeps) * kSweepSamples);
    for (int k = 0; k < sweeps; ++k) {
        const int late = shift(k);
        for (int s = 0; s < kSweepSamples; ++s)
            samples.push_back(level(tdrLevel(scene, 4.0 * s + 3 - late) + random.noise(0.8)));
    }
    return samples;
}

std::vector<std::uint8_t> trsTrace(SimRandom& random, int injection, double stepHeight)
{
    std::vector<std::uint8_t> samples;
    samples.reserve(kTrsSamples);
    const double wanderPhase = random.unit() * 2 * std::numbers::pi;
    for (int n = 1; n <= kTrsSamples; ++n) {
        double v = 128.0 + 3.0 * std::sin(wanderPhase + n * 2 * std::numbers::pi / 8192.0);
        if (n >= injection) {
            const double after = n - injection;
            v += stepHeight * std::exp(-after / 1500.0)
                + 0.3 * stepHeight * std::exp(-after / 200.0) * std::sin(2 * std::numbers::pi * after / 60.0);
        }
        samples.push_back(level(v + random.noise(1.0)));
    }
    return samples;
}

} // namespace mr3x::sim
