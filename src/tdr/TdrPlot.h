#pragma once
// The points of every trace the TDR and TRS views draw, in the plot's own units: x from 1 at the
// left edge, y a sample value (128 mid-height) plus the trace's alignment offset.
//
// A TDR trace is four sweeps of 128 samples, each a quarter sample later than the last; put in
// interleaved order they give 512 points. A manual test stores its four sweeps one after the
// other. An event record's trace area holds 64 pulse blocks of 128 samples; four consecutive
// blocks, starting at the pulse the user picked, are interleaved by the event's injection phase.
// In TRS mode a trace is 8192 samples drawn as they are, sample n (from 1) at x = n.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace mr3x::tdr {

inline constexpr int kPulseCount = 64;
inline constexpr int kPulseSamples = 128;
inline constexpr int kTdrPoints = 512;
inline constexpr int kTrsLastX = 8191;

struct PlotPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};
using Polyline = std::vector<PlotPoint>;

/// A manual test's 512 samples (four blocks of 128) in interleaved order: point 4j - i - 1 takes
/// sample j - 1 of block i (j = 1..128), so block 3 gives points 0, 4, 8, ... and block 0 gives
/// points 3, 7, 11, ...
std::array<std::uint8_t, 512> interleaveManual(std::span<const std::uint8_t, 512> samples);

/// The event's injection phase, 1..4: 4 - (R Mod 4), R = (injection + 1) / 128 half to even.
/// (A negative R gives the phase of the same sweep, so the result stays 1..4.)
int injectionPhase(double injection);

/// An event trace area's blocks p..p+3 interleaved: block k goes to points
/// 4j - ((phase + k) Mod 4) - 1. The four blocks fill the 512 points exactly once.
///
/// Only blocks 0..63 exist: a block past the last (p + k > 63, from p = 61 on) or before the
/// first is not read, and its points are absent (`present` false). So at p = 63 only one sweep
/// of 128 points is there, at p = 62 two. Nothing outside the 8192 samples is ever read.
struct Interleaved {
    std::array<std::uint8_t, 512> level{};
    std::array<bool, 512> present{};
};
Interleaved interleaveEvent(std::span<const std::uint8_t, 8192> area, int pulse, int phase);

/// DRAW_TDR_VIEW without interlace: one sweep of block `pulse`. The lead-in from (0, 128 + a) to
/// (plotStart, 128 + a), the first plotted sample at (plotStart, ...), then sample j - 1 at
/// x = 4j for j from plotStart \ 4 (at least 1) to 128. Empty when `pulse` lies outside 0..63:
/// that trace is not drawn.
Polyline eventSweep(std::span<const std::uint8_t, 8192> area, int pulse, int plotStart, int align);

/// DRAW_TDR_VIEW with interlace: the lead-in, then (x, level[x - 1] + a) for x = plotStart..512
/// where the point is present; the line joins the points that are there. Empty when no point of
/// the plotted part is present.
Polyline eventInterlaced(const Interleaved& points, int plotStart, int align);

/// DRAW_MANUAL_TRACES: the lead-in from (0, 128) to (plotStart, 128), which ignores the
/// alignment as the old viewer's did, then (x, interleaved[x - 1] + a) for x from plotStart to
/// 512 in steps of 1 (interlace) or 4.
Polyline manualTrace(const std::array<std::uint8_t, 512>& interleaved, int plotStart, int align, bool interlace);

/// DRAW_TRS_VIEW's Slave line for the window [pan, pan + width]: (x, sample x + slaveOffset,
/// plus align) wherever x + slaveOffset lies in 1..8191; shifted-out points are left out.
Polyline trsSlaveLine(std::span<const std::uint8_t, 8192> samples, int pan, int width, int slaveOffset, int align);
/// DRAW_TRS_VIEW's Master line for the window: (x, sample x + align) for x in the window up to 8191.
Polyline trsMasterLine(std::span<const std::uint8_t, 8192> samples, int pan, int width, int align);
/// DRAW_TRS_TESTS' line: (x, sample x + align) for x = 1..8191.
Polyline trsTestLine(std::span<const std::uint8_t, 8192> samples, int align);

/// Plotstart (the first plotted point, "Zero Minimum") and the zero cursor for a range bit, with
/// the scale: 25 and "1" for the 400 m range, 21 and "2" for the 800 m range.
struct RangeStart {
    int plotStart;
    int scale;
};
RangeStart rangeStart(bool longRange);

} // namespace mr3x::tdr
