#pragma once
// Makes the unit's recordings from its seed: the events it holds when found in the field, manual
// recordings and test traces. The same seed, options and command history give the same bytes.
#include "sim/Cable.h"
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

/// The settings of a unit armed for its part of a TRS pair: the trigger mode's TRS form (file
/// transfer bit kept), the pulse on for the Master and off for the Slave. Other settings as given;
/// without a role, all of them.
UnitSettings armedForTrs(UnitSettings settings, TrsRole role);

class Recorder {
public:
    /// Earliest and latest injection sample of a TRS shot, so that both shots lie whole in the
    /// trace and the locator finds the second one in the second half.
    static constexpr int kFirstTrsInjection = 500;
    static constexpr int kLastTrsInjection = 3900;

    Recorder(Model model, std::uint64_t seed, const Cable& cable, TrsRole role);

    /// The events the unit holds at `now`: spread over the week before, slot 0 the oldest, taken
    /// with the settings `earlier`. Every fourth slot (3, 7, 11, ...) holds a short record without
    /// a trace area. A unit with a TRS role holds the pair's event as its newest, long, taken with
    /// `current`: units of one seed on one cable hold the same event, at the same moment.
    std::vector<StoredEvent> storedEvents(int count, const DateTime& now, const UnitSettings& earlier,
                                          const UnitSettings& current) const;

    /// A manual recording (long form, trigger source 0) taken at `when`; `sequence` counts the
    /// unit's manual recordings so each one differs.
    Bytes manualRecording(const UnitSettings& settings, const DateTime& when, int recordNumber, int sequence) const;

    /// A test trace in the mode the settings hold: 512 TDR samples (629 bytes) or 8192 TRS
    /// samples (8309 bytes), then the trailer.
    Bytes testTrace(const UnitSettings& settings, const DateTime& when, int recordNumber, int sequence) const;

private:
    enum class Area { None, Own, Pair };
    struct TraceArea {
        Bytes samples;
        int injection = 0;
    };
    TraceArea tdrArea(const UnitSettings& settings, SimRandom& random) const;
    TraceArea trsArea(const UnitSettings& settings, SimRandom& random) const;
    TraceArea pairArea(const UnitSettings& settings, SimRandom& random) const;
    Bytes eventRecord(const UnitSettings& settings, const DateTime& when, std::uint8_t source, Area area,
                      int recordNumber, SimRandom& random, bool withDip) const;
    std::vector<std::int64_t> eventAges(int count, std::int64_t youngest) const;

    Model model_;
    Cable cable_;
    TrsRole role_;
    SimRandom random_;      // this unit's own recordings
    SimRandom pairRandom_;  // the TRS pair's event, the same at both ends
};

} // namespace mr3x::sim
