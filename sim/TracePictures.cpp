#include "sim/TracePictures.h"

namespace mr3x::sim {

namespace {

// The launched pulse: 20 ns to rise, 20 ns of top for each step of the width setting, and a
// 50 ns decay; at unity gain (10) its top is 90 levels above the quiet line.
constexpr double kRiseNs = 20.0;
constexpr double kTopNsPerWidth = 20.0;
constexpr double kFallNs = 50.0;
constexpr double kLevelsPerGain = 9.0;
constexpr double kTdrUnitNs = 10.0;
constexpr double kTrsSampleNs = 4 * kTdrUnitNs;

double rangeScale(const UnitSettings& settings)
{
    return settings.longRange() ? 2.0 : 1.0;
}

} // namespace

double tdrZeroUnits(const UnitSettings& settings)
{
    return settings.longRange() ? 21.0 : 25.0;
}

double tdrUnitNs(const UnitSettings& settings)
{
    return kTdrUnitNs * rangeScale(settings);
}

double trsSampleNs(const UnitSettings& settings)
{
    return kTrsSampleNs * rangeScale(settings);
}

std::vector<TracePulse> drawArrivals(const std::vector<Arrival>& arrivals, const UnitSettings& settings,
                                     double unitNs, double zeroAt)
{
    const double metresPerUnit = kMetresPerNs * unitNs;
    std::vector<TracePulse> pulses;
    for (const Arrival& a : arrivals) {
        pulses.push_back({.at = zeroAt + a.distanceM / metresPerUnit,
                          .height = kLevelsPerGain * settings.gain * a.amplitude,
                          .rise = (kRiseNs + a.smearNs) / unitNs,
                          .top = kTopNsPerWidth * settings.pulseWidth() / unitNs,
                          .fall = (kFallNs + 1.5 * a.smearNs) / unitNs});
    }
    return pulses;
}

std::vector<TracePulse> tdrPicture(const std::vector<Arrival>& arrivals, const UnitSettings& settings)
{
    return drawArrivals(arrivals, settings, tdrUnitNs(settings), tdrZeroUnits(settings));
}

std::vector<TracePulse> trsPicture(const std::vector<Arrival>& arrivals, const UnitSettings& settings,
                                   int injection)
{
    std::vector<TracePulse> pulses;
    const int launch = injection + kLaunchAfterInjection;
    for (const int shot : {launch, launch + kSecondShotSamples}) {
        const auto drawn = drawArrivals(arrivals, settings, trsSampleNs(settings), shot);
        pulses.insert(pulses.end(), drawn.begin(), drawn.end());
    }
    return pulses;
}

} // namespace mr3x::sim
