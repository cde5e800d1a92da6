#pragma once
// The voltage dips, swells and interruptions of an event, measured as a power-quality instrument
// does (IEC 61000-4-30): for each phase the rms over one cycle, refreshed every half cycle, read
// against a reference voltage. A dip starts when that rms falls below 90 % of the reference and
// ends when it comes back to 92 % or more (2 % hysteresis); its residual voltage is the lowest rms
// on the way. A dip whose residual is below 5 % is an interruption. A swell starts above 110 %
// and ends at 108 % or less. The instants of crossing are read between two half-cycle values,
// where the square of the rms, which moves in a straight line as the cycle slides over an
// edge, passes the threshold. A half-cycle value's time is the middle of its cycle.
//
// The reference is the nominal voltage when one is given, else the rms of the recording's first
// cycle (the middle one of the three phases', so one phase already dipped or not connected does
// not set it). Volts are the meters' own: 388/128 volts a level about level 129.
#include "events/EventRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace mr3x::events {

inline constexpr int kCycleGroups = 80, kHalfCycleGroups = 40;
inline constexpr int kVoltageChannels = 3;  // Vr, Vy, Vb
inline constexpr double kDipStarts = 0.90, kDipEnds = 0.92;
inline constexpr double kSwellStarts = 1.10, kSwellEnds = 1.08;
inline constexpr double kInterruptionBelow = 0.05;

/// Half-cycle value k of a phase voltage (channel 0 to 2): the rms in volts over the cycle of
/// sample groups 40k to 40k + 79; nineteen values over the 800 groups.
std::vector<double> halfCycleRms(const EventRecord& record, int channel);

enum class DipKind { Dip, Interruption, Swell };

struct Dip {
    int channel = 0;             // 0 Vr, 1 Vy, 2 Vb
    DipKind kind = DipKind::Dip;
    double residualVolts = 0;    // the lowest rms in it (a swell: the highest)
    double residualPercent = 0;  // of the reference
    double startGroup = 0;       // sample groups from the first, between whole groups
    double durationGroups = 0;   // to its end, or to the end of the recording
    bool pastEnd = false;        // it had not ended when the recording did
};

struct DipMeasurement {
    double referenceVolts = 0;
    bool nominalReference = false;  // the nominal voltage given; else the first cycle's rms
    std::vector<Dip> dips;          // by phase, each phase's in time order
};

/// The event's dips, swells and interruptions against `nominalVolts` (when given and above 0).
/// A reference below one volt (a phase dead from the start, no nominal given) measures nothing.
DipMeasurement measureDips(const EventRecord& record, std::optional<double> nominalVolts = std::nullopt);

/// Sample groups as milliseconds at a line frequency: 80 groups a cycle.
double groupsToMs(double groups, int lineFrequency);

/// "Vr", "Vy", "Vb".
std::string voltageChannelName(int channel);

} // namespace mr3x::events
