#pragma once
// Reads the unit's traces the way the viewer and an engineer do: TDR blocks interleaved into the
// 512-point plot by the viewer's own rules (TdrPlotTest holds them to hand-made values), and
// where a pulse's leading edge lies, found here from the plot alone.
#include "sim/Records.h"
#include "tdr/TdrPlot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mr3x::sim::test {

/// A trace as plotted: point x (from 1) at index x - 1.
using Plot = std::vector<double>;

/// A TDR test trace as the viewer plots it.
inline Plot interleaveTest(const Bytes& trace)
{
    const std::array<std::uint8_t, 512> points = tdr::interleaveManual(std::span(trace).first<512>());
    return Plot(points.begin(), points.end());
}

/// Where an event record's trailer starts: before its three spare bytes.
inline std::size_t trailerAt(const Bytes& record)
{
    return record.size() - kSpareBytes - kTrailerBytes;
}

/// The injection an event record's trailer reports (bytes 12 and 13, high byte first).
inline int reportedInjection(const Bytes& record)
{
    return record[trailerAt(record) + 12] * 256 + record[trailerAt(record) + 13];
}

/// Pulse blocks p to p + 3 of an event's trace area as the viewer plots them, placed by the
/// injection phase of the injection the record reports.
inline Plot interleaveEvent(const Bytes& record, int pulse)
{
    const auto area = std::span(record).subspan(kHeadBytes + kSampleBytes).first<8192>();
    const tdr::Interleaved points = tdr::interleaveEvent(area, pulse, tdr::injectionPhase(reportedInjection(record)));
    return Plot(points.level.begin(), points.level.end());
}

/// A pulse found on a trace: where its leading edge lies (a plot position), how high it is
/// above the line before it, and how long it takes to rise.
struct Edge {
    double at = 0;
    double height = 0;
    double rise = 0;
};

/// The first pulse of `polarity` (+1 up, -1 down) that starts after `from` and before `to`: the
/// quiet line is the mean of the eight points before `from`; the pulse begins where the trace
/// leaves it by more than noise, and its leading edge is where a ruler laid along its flank (the
/// points from 20 % to 80 % of its height, or the two either side of half its height on a flank
/// too steep for more) meets the line.
inline std::optional<Edge> leadingEdge(const Plot& points, int from, int polarity, int to = -1)
{
    constexpr double kNoise = 8.0;
    constexpr int kRiseWindow = 40;
    const int last = to < 0 ? static_cast<int>(points.size()) : std::min(to, static_cast<int>(points.size()));
    if (from < 9 || from >= last)
        return std::nullopt;
    auto y = [&](int x) { return points[static_cast<std::size_t>(x - 1)]; };
    double line = 0;
    for (int x = from - 8; x < from; ++x)
        line += y(x) / 8;
    auto above = [&](int x) { return polarity * (y(x) - line); };

    int start = from;
    while (start < last && above(start) <= kNoise)
        ++start;
    if (start >= last)
        return std::nullopt;
    int peak = start;
    for (int x = start; x < std::min(last, start + kRiseWindow); ++x)
        if (above(x) > above(peak))
            peak = x;
    const double height = above(peak);

    // The flank: from the top back down to the last point below a fifth of the height.
    int foot = peak;
    while (foot > from && above(foot - 1) >= 0.2 * height)
        --foot;
    std::vector<int> flank;
    for (int x = foot; x <= peak; ++x)
        if (above(x) <= 0.8 * height)
            flank.push_back(x);
    if (flank.size() < 2) {
        int x = peak;
        while (x > from && above(x - 1) >= 0.5 * height)
            --x;
        flank = {x - 1, x};
    }
    // A least-squares line through the flank: above = a + b x.
    const double n = static_cast<double>(flank.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const int x : flank) {
        sx += x;
        sy += above(x);
        sxx += static_cast<double>(x) * x;
        sxy += x * above(x);
    }
    const double b = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double a = (sy - b * sx) / n;
    return Edge{-a / b, height, height / b};
}

} // namespace mr3x::sim::test
