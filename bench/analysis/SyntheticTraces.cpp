#include "SyntheticTraces.h"

#include "sim/TracePictures.h"
#include "sim/UnitSettings.h"
#include "sim/Waveforms.h"

#include <algorithm>
#include <cmath>

namespace mr3x::bench {

namespace {

constexpr double kZeroShort = 25, kZeroLong = 21;
constexpr int kPoints = 512;
constexpr double kLeastEchoInNoise = 12;
constexpr double kQuietestNoise = 0.3, kNoisiest = 6.0;
constexpr double kFrontEndStep = 0.25;  // plot units between the front end's taps

double between(sim::SimRandom& random, double lo, double hi)
{
    return lo + (hi - lo) * random.unit();
}

sim::UnitSettings settingsOf(const SyntheticCable& c)
{
    sim::UnitSettings settings;
    settings.gain = c.gain;
    settings.hardware = (c.longRange ? 1 : 0) | 2 | ((c.pulseWidth - 1) << 2);
    return settings;
}

/// The pulses the unit's picture of the cable holds, reshaped by this cable's pulse.
std::vector<sim::TracePulse> pictureOf(const SyntheticCable& c, bool faulted)
{
    std::vector<sim::TracePulse> pulses = sim::tdrPicture(sim::ownShot(c.cable, sim::TrsRole::None, faulted), settingsOf(c));
    for (sim::TracePulse& p : pulses) {
        p.rise *= c.riseFactor;
        p.top *= c.topFactor;
        p.fall *= c.fallFactor;
    }
    return pulses;
}

double unitNs(const SyntheticCable& c)
{
    return sim::tdrUnitNs(settingsOf(c));
}

/// The level the front end puts out at time t: the picture seen through a first-order lag.
double frontEndLevel(const std::vector<sim::TracePulse>& pulses, double t, double lagUnits)
{
    if (lagUnits <= 0)
        return sim::traceLevel(pulses, t);
    double sum = 0, weights = 0;
    for (double u = 0; u < 6 * lagUnits; u += kFrontEndStep) {
        const double w = std::exp(-u / lagUnits);
        sum += w * sim::traceLevel(pulses, t - u);
        weights += w;
    }
    return sum / weights;
}

/// The highest the fault's echo stands from the line, before noise.
double echoHeight(const SyntheticCable& c)
{
    const std::vector<sim::TracePulse> with = pictureOf(c, true), without = pictureOf(c, false);
    const double lag = c.frontEndNs / unitNs(c);
    double most = 0;
    // Up to the far end, whose own echo the fault also changes.
    const double end = std::min<double>({kPoints, c.trueEdgeX + 40, c.farEndX});
    for (double x = c.trueEdgeX; x < end; x += 0.25)
        most = std::max(most, std::abs(frontEndLevel(with, x, lag) - frontEndLevel(without, x, lag)));
    return most;
}

} // namespace

SyntheticCable drawCable(sim::SimRandom& random, bool longRange, bool withJoints)
{
    for (;;) {
        SyntheticCable c;
        c.longRange = longRange;
        const double zero = longRange ? kZeroLong : kZeroShort;
        const double metresPerUnit = sim::kMetresPerNs * unitNs(c);
        const double viewM = (kPoints - zero) * metresPerUnit;
        c.gain = random.between(6, 20);
        c.pulseWidth = random.between(1, 8);
        c.riseFactor = between(random, 0.5, 2.0);
        c.topFactor = between(random, 0.5, 2.0);
        c.fallFactor = between(random, 0.6, 2.5);
        c.frontEndNs = between(random, 0, 15);
        c.cable.lengthM = between(random, 0.25, 1.3) * viewM;
        c.cable.farEnd = random.between(0, 1) == 0 ? sim::FarEnd::Open : sim::FarEnd::Short;
        c.cable.lossLengthM = between(random, 800, 8000);
        c.cable.smearNsPerM = between(random, 0, 0.3);
        const double kind = between(random, 0.2, 1.0);
        c.cable.faultReflection = random.between(0, 1) == 0 ? -kind : kind;
        if (withJoints) {
            const int joints = random.between(1, 4);
            for (int j = 0; j < joints; ++j) {
                const double size = between(random, 0.03, 0.15);
                c.cable.joints.push_back({between(random, 0.05, 0.95) * c.cable.lengthM, random.between(0, 1) ? size : -size});
            }
        }
        c.hasJoints = withJoints;

        // The launch's dead zone: its rise, its top and five of its decay's time constants.
        const sim::TracePulse launch = pictureOf(c, false).front();
        const double deadZoneEnd = zero + launch.rise + launch.top + 5 * launch.fall;
        const double lastX = std::min<double>(kPoints - 8, zero + c.cable.lengthM / metresPerUnit - 2);
        if (lastX <= deadZoneEnd + 2)
            continue;
        c.trueEdgeX = between(random, deadZoneEnd + 2, lastX);
        c.cable.faultDistanceM = (c.trueEdgeX - zero) * metresPerUnit;
        c.faultInView = true;
        c.farEndX = zero + c.cable.lengthM / metresPerUnit;
        c.farEndInView = c.farEndX < kPoints - 4;
        const double echo = echoHeight(c);
        if (echo < kLeastEchoInNoise * kQuietestNoise)
            continue;  // too faint for any noise: an engineer would see nothing either
        c.noise = std::clamp(echo / between(random, kLeastEchoInNoise, 80), kQuietestNoise, kNoisiest);
        c.sweepSpread = between(random, 0, 0.5) * c.noise;
        c.farEndInView = c.farEndInView && std::abs(pictureOf(c, true).back().height) >= kLeastEchoInNoise * c.noise;
        return c;
    }
}

tdr::TraceLevels shoot(const SyntheticCable& c, bool faulted, bool drift, sim::SimRandom& random)
{
    const std::vector<sim::TracePulse> pulses = pictureOf(c, faulted);
    const double lag = c.frontEndNs / unitNs(c);
    const double gain = drift ? between(random, 0.98, 1.02) : 1.0;
    const double shift = drift ? between(random, -0.2, 0.2) : 0.0;
    const double offset = drift ? between(random, -1.0, 1.0) : 0.0;
    double sweepOffset[4];
    for (double& o : sweepOffset)
        o = random.noise(c.sweepSpread);
    tdr::TraceLevels trace{std::vector<double>(kPoints), 1, 1};
    for (int x = 1; x <= kPoints; ++x) {
        const double level = sim::kQuietLevel + gain * (frontEndLevel(pulses, x + shift, lag) - sim::kQuietLevel) + offset
                             + sweepOffset[x % 4] + random.noise(c.noise);
        trace.level[std::size_t(x - 1)] = std::clamp(std::round(level), 0.0, 255.0);
    }
    return trace;
}

} // namespace mr3x::bench
