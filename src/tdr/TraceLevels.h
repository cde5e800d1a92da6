#pragma once
// A trace as the fault finder reads it: its levels at evenly spaced plot positions, point i at
// x = firstX + i x step in the plot's own units (the units the cursors stand on). A manual test
// gives its 512 interleaved points one unit apart, an event's TDR view the four sweeps of the
// pulse picked (or one sweep, every fourth unit, where the blocks after it run out), a TRS trace
// its 8192 samples.
#include "tdr/TraceRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mr3x::tdr {

struct TraceLevels {
    std::vector<double> level;
    double firstX = 1;
    double step = 1;

    std::size_t size() const { return level.size(); }
    double xAt(std::size_t i) const { return firstX + step * static_cast<double>(i); }
    /// The first point at or after x; size() when there is none.
    std::size_t indexAtOrAfter(double x) const;
};

/// A manual test's 512 points in the order the viewer interleaves them, x = 1 to 512.
TraceLevels manualTestLevels(const TdrTrace& trace);

/// An event's TDR view from pulse block `pulse`: its four blocks interleaved by the injection
/// phase (x = 1 to 512) when all four exist, else the one sweep of block `pulse` (x = 4, 8, ...
/// 512, as the viewer draws it without interlace). Nothing for a pulse outside 0 to 63.
std::optional<TraceLevels> eventPulseLevels(std::span<const std::uint8_t, 8192> area, int pulse, int phase);

/// A TRS trace's samples, sample n (from 1) at x = n.
TraceLevels trsLevels(std::span<const std::uint8_t, 8192> samples);

} // namespace mr3x::tdr
