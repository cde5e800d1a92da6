#pragma once
// Reading reflections off a trace the way an engineer does: how much the line wanders of itself
// (its noise, from the trace alone), where a pulse stands clear of that, and where its leading
// edge leaves the line before it, which is where the moving cursor goes.
//
// The noise is the typical spread of the points about a straight line over short stretches of
// the trace: the stretches with an echo in them are few, so the middle one of all the stretches'
// spreads is the line's own. A pulse is seen where the lightly smoothed trace stands more than
// five times that from the level just before it for three points running, and it counts when its
// peak stands clear of the line by the height asked for. Its leading edge is found by fitting
// the line before it and a straight flank (up to four fifths of its height) meeting at a knee:
// the knee is where the pulse departs from the line. On a steep flank that is where a ruler laid
// along it meets the line; on a rounded foot it lies nearer the first lift.
#include "tdr/TraceLevels.h"

#include <cstddef>
#include <vector>

namespace mr3x::tdr {

/// A pulse is seen where the trace stands this many times its noise from the line before it.
inline constexpr double kSeenInNoise = 5.0;
/// And it stands clear of the noise when its peak is this many times the noise high.
inline constexpr double kClearOfNoise = 7.0;

/// The spread of the trace's noise, in levels, over its points from `from` on. Never below a
/// third of a level, the spread rounding to whole levels leaves on a quiet line.
double traceNoise(const TraceLevels& trace, std::size_t from = 0);

/// The trace lightly smoothed, each point the mean of itself and its neighbours.
std::vector<double> smoothed(const TraceLevels& trace);

struct Reflection {
    double edgeX = 0;        // where it leaves the line before it
    std::size_t start = 0;   // the first point it was seen on
    std::size_t peak = 0;
    double height = 0;       // from the line before it to its peak, in levels, never negative
    int polarity = 1;        // +1 up, -1 down
    double baseline = 0;     // the level of the line before it
    std::size_t settled = 0; // the first point after it where the trace has settled again
    bool backOnLine = false; // settled back on the line before it (else level elsewhere, as after a step)
};

struct ScanLimits {
    std::size_t from = 0;     // the first point looked at (the line before a pulse begins here)
    std::size_t to = 0;       // one past the last
    double noise = 1;
    double clearHeight = 0;   // a pulse lower than this is passed over
    std::size_t maxCount = 8; // reflections reported at most
};

/// The reflections that stand clear, in the order they come.
std::vector<Reflection> scanReflections(const TraceLevels& trace, const ScanLimits& limits);

/// The pulse the unit launches, which starts at `zero`: the largest swing from the trace's quiet
/// level within `span` plot units after it, and where the trace has settled after it (the dead
/// zone's end). `tail` is where the launch has fallen to a tenth of its height, past which a
/// difference against a reference of the same launch can already be read.
struct Launch {
    bool seen = false;
    double height = 0;
    double quietLevel = 0;
    std::size_t peak = 0;
    std::size_t deadZoneEnd = 0;
    std::size_t tail = 0;
};
Launch findLaunch(const TraceLevels& trace, std::size_t zero, double noise, double span);

} // namespace mr3x::tdr
