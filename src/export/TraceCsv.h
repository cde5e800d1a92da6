#pragma once
// A reflectometry trace as a CSV file: one row a point of the trace as the viewer draws it, with
// its point number (the plot's x), its distance from the zero cursor in metres at the propagation
// speed in use, and its level (the sample byte). The header row names the speed. Lines end in
// CR LF.
#include "tdr/TraceRecord.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mr3x::exports {

struct TracePoint {
    int x = 0;                 // the point number, from 1
    std::uint8_t level = 0;
    friend bool operator==(const TracePoint&, const TracePoint&) = default;
};

/// A manual test's 512 points in interleaved order (x = 1 to 512).
std::vector<TracePoint> manualTracePoints(const tdr::TdrTrace& trace);
/// An event's TDR view of pulse block `pulse`: the four blocks from it interleaved by the event's
/// injection phase; points whose block lies past the 64th are left out.
std::vector<TracePoint> eventTdrPoints(std::span<const std::uint8_t, 8192> area, int pulse, int phase);
/// A TRS trace's 8192 samples, sample n at x = n.
std::vector<TracePoint> trsTracePoints(std::span<const std::uint8_t, 8192> samples);

/// How a point number becomes metres: the viewer's scale (1 or 2), the speed in percent, TDR or
/// TRS mode, and the zero cursor's position.
struct DistanceScale {
    double scale = 1;
    int speed = 540;          // tenths of a percent, as the speed bar holds it
    bool tdrMode = true;
    double zeroX = 25;
};

/// Metres from the zero cursor to point x, as the viewer's read-out works them out.
double pointDistance(double x, const DistanceScale& scale);

std::string traceCsv(const std::vector<TracePoint>& points, const DistanceScale& scale);

} // namespace mr3x::exports
