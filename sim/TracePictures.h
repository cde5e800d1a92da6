#pragma once
// Puts what comes back from the cable onto a trace's time axis, with the unit's pulse width and
// gain: TDR plot units of 10 ns (20 ns on the long range) from the plot's zero point, and TRS
// samples of four plot units from the injection sample.
#include "sim/Cable.h"
#include "sim/UnitSettings.h"
#include "sim/Waveforms.h"

#include <vector>

namespace mr3x::sim {

/// Metres the viewer reads per nanosecond of travel time at 54.0 %: half of 0.54 x 0.3 m/ns.
inline constexpr double kMetresPerNs = 0.081;
/// A TRS trace holds two shots, the second this many samples after the first.
inline constexpr int kSecondShotSamples = 4096;
/// The unit reports the sample its trigger fell on as the injection; its pulse leaves this many
/// samples later, which is where the locator's "Locate" puts the zero cursor.
inline constexpr int kLaunchAfterInjection = 6;

/// The plot's zero point, where the launch begins: unit 25, or 21 on the long range.
double tdrZeroUnits(const UnitSettings& settings);
/// Nanoseconds in one TDR plot unit, and in one TRS sample.
double tdrUnitNs(const UnitSettings& settings);
double trsSampleNs(const UnitSettings& settings);

/// The arrivals as pulses on an axis of `unitNs` a unit, the one at distance 0 beginning at
/// `zeroAt`.
std::vector<TracePulse> drawArrivals(const std::vector<Arrival>& arrivals, const UnitSettings& settings,
                                     double unitNs, double zeroAt);

/// A TDR picture: the arrivals from the plot's zero point.
std::vector<TracePulse> tdrPicture(const std::vector<Arrival>& arrivals, const UnitSettings& settings);

/// A TRS picture: the arrivals from the launch kLaunchAfterInjection samples after the injection
/// sample (counted from 1), and again from the second shot.
std::vector<TracePulse> trsPicture(const std::vector<Arrival>& arrivals, const UnitSettings& settings,
                                   int injection);

} // namespace mr3x::sim
