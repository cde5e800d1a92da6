#pragma once
// Where a dip, a swell or an interruption falls in the tables of EN 50160 (the classification of
// IEC 61000-2-8): residual voltage bands 90-80, 80-70, 70-40, 40-5 and below 5 % of the reference
// by duration bands 10-200 ms, 200-500 ms, 0.5-1 s, 1-5 s and 5-60 s; swells at or above 120 %
// and from 110 to 120 % by 10-500 ms, 0.5-5 s and 5-60 s. A band holds its lower bound of voltage
// ("90 > u >= 80") and its upper bound of duration ("10 <= t <= 200", "200 < t <= 500"). And the
// lines the program shows and writes for each.
#include "events/Dips.h"

#include <string>
#include <vector>

namespace mr3x::events {

/// The residual voltage band: "90-80", "80-70", "70-40", "40-5", "<5"; for a swell ">=120" or
/// "120-110". Empty for a dip at 90 % or more (not a dip).
std::string residualBand(DipKind kind, double percent);
/// The duration band: "10-200ms", "200-500ms", "500-1000ms", "1000-5000ms", "5000-60000ms" (a
/// swell: "10-500ms", "500-5000ms", "5000-60000ms"); "<10ms" and ">60000ms" beyond the table.
std::string durationBand(DipKind kind, double ms);
/// The cell: "dip 70-40%, 10-200ms", "interruption <5%, 10-200ms", "swell 120-110%, 10-500ms".
std::string dipClass(const Dip& dip, int lineFrequency);

/// One line a dip: "Vr: dip to 115 V (50.0 %) from 30.0 ms for 160.0 ms, dip 70-40%, 10-200ms";
/// one that runs past the recording "... from 30.0 ms, runs past the recording (770.0 ms so far),
/// ...".
std::string dipLine(const Dip& dip, int lineFrequency);
/// The reference: "Reference 230.0 V (nominal)" or "Reference 229.4 V (first cycle)".
std::string referenceLine(const DipMeasurement& measurement);
/// The reference line, then one line a dip, or "No dip, swell or interruption".
std::vector<std::string> dipLines(const DipMeasurement& measurement, int lineFrequency);

/// A number with one decimal, "50.0".
std::string oneDecimal(double value);

} // namespace mr3x::events
