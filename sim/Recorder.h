#pragma once
// Makes the unit's recordings from its seed: the events it holds when found in the field, manual
// recordings and test traces. The same seed, options and command history give the same bytes.
#include "sim/Records.h"
#include "sim/SimRandom.h"
#include "sim/UnitClock.h"
#include "sim/UnitModel.h"
#include "sim/UnitSettings.h"

#include <cstdint>
#include <vector>

namespace mr3x::sim {

struct StoredEvent {
    DateTime when;
    Bytes record;
};

class Recorder {
public:
    /// `faultDistanceM`: where the TDR sees the fault, in metres at the default propagation
    /// speed (54.0 %: 0.81 m a plot unit on the short range, 1.62 m on the long range).
    Recorder(Model model, std::uint64_t seed, double faultDistanceM);

    /// The events the unit holds at `now`: spread over the week before, slot 0 the oldest.
    /// Every fourth slot (3, 7, 11, ...) holds a short record without a trace area.
    std::vector<StoredEvent> storedEvents(int count, const DateTime& now, const UnitSettings& settings) const;

    /// A manual recording (long form, trigger source 0) taken at `when`; `sequence` counts the
    /// unit's manual recordings so each one differs.
    Bytes manualRecording(const UnitSettings& settings, const DateTime& when, int recordNumber, int sequence) const;

    /// A test trace in the mode the settings hold: 512 TDR samples (629 bytes) or 8192 TRS
    /// samples (8309 bytes), then the trailer.
    Bytes testTrace(const UnitSettings& settings, const DateTime& when, int recordNumber, int sequence) const;

    /// Where the fault's reflection starts on the TDR plot for these settings.
    double reflectionUnits(const UnitSettings& settings) const;
    /// Where the launch pulse starts (the plot's zero point for the range).
    static double launchUnits(const UnitSettings& settings);

private:
    struct TraceArea {
        Bytes samples;
        int injection = 0;
    };
    TraceArea eventTraceArea(const UnitSettings& settings, SimRandom& random) const;
    Bytes eventRecord(const UnitSettings& settings, const DateTime& when, std::uint8_t source,
                      bool longForm, int recordNumber, SimRandom& random, bool withDip) const;

    Model model_;
    SimRandom random_;
    double faultDistanceM_;
};

} // namespace mr3x::sim
