#pragma once
// The fault found for the engineer on a TDR or TRS trace: the first reflection past the launch
// that stands clear of the trace's own noise, with its leading edge (where the moving cursor
// goes), and the cable's far end where one is seen. Against a reference taken on the same range
// (the same cable before the fault, or a healthy phase), the difference of the two is read
// instead, so the joints and the cable's own echoes, which both share, are not reported. It says
// nothing rather than guess.
//
// Distances are what the Result frame reads with the zero cursor on `zeroX` (TDR) or on the
// launch found (TRS, where Locate puts the zero cursor), at the speed given.
#include "tdr/TraceLevels.h"
#include "tdr/TraceRecord.h"

#include <optional>
#include <string>

namespace mr3x::tdr {

struct FinderSetup {
    bool tdrMode = true;  // a TDR trace (512 plot units) or a TRS trace (8192 samples)
    int scale = 1;        // 1 for the 400 m range, 2 for the 800 m range
    int speed = 540;      // tenths of a percent, as the speed bar holds it
    /// TDR: where the zero cursor stands (the trace's start, 25 or 21). TRS: where to look for
    /// the launch from, the shot's window start (the injection modulo 4096); 1 when unknown.
    double zeroX = 25;
};

/// A reference and the range it was taken on.
struct ReferenceTrace {
    TraceLevels levels;
    int scale = 1;
    bool tdrMode = true;
};

struct FoundPoint {
    long long point = 0;      // the plot unit the cursors stand on
    long long distanceM = 0;  // as the Result frame reads it from the zero point
    double edgeX = 0;         // the edge as found, between plot units
    double height = 0;        // levels
    int polarity = 1;         // +1 up (an open end, a high resistance), -1 down (a short)
};

struct TraceFinding {
    std::optional<FoundPoint> fault;   // the first clear reflection
    std::optional<FoundPoint> farEnd;  // the last large reflection after it, on the trace itself
    double noise = 0;                  // levels, of the trace or of the difference
    long long zeroPoint = 0;           // where distances count from
    bool launchFound = false;          // the launch (on a Slave's TRS trace: the arrival) was seen
    bool againstReference = false;
    std::string refusal;               // why nothing was read; empty when the trace was read
};

/// Where a TRS shot's window starts, as Locate #1 opens it: the injection modulo 4096; 1 when
/// the unit reported none (an injection from 32768 on is none, as the slot's label shows it).
double trsWindowStart(std::optional<int> injection);
std::optional<int> shownInjection(const events::RecordTrailer& trailer);

/// A trace file's points and how they are read: a TDR test from the start of its range at the
/// speed given, a TRS test from the launch after its injection.
struct TraceReading {
    TraceLevels levels;
    FinderSetup setup;
};
TraceReading readingOf(const TdrTrace& trace, int speed);
TraceReading readingOf(const TrsTrace& trace, int speed);

TraceFinding findFault(const TraceLevels& trace, const FinderSetup& setup);
/// The trace read against a reference; refused, with the reason, for a reference of the other
/// kind or range, or of another number of points.
TraceFinding findFault(const TraceLevels& trace, const ReferenceTrace& reference, const FinderSetup& setup);

/// The line under the result: "Reflection found at 150 m (against reference NAME), far end at
/// 320 m", "No clear reflection found", or the refusal.
std::string findingText(const TraceFinding& finding, const std::string& referenceName = {});

/// "400m" or "800m" for a scale.
std::string rangeName(int scale);

} // namespace mr3x::tdr
