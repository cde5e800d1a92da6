#pragma once
// Reads the unit's traces the way the viewer and an engineer do: interleaves TDR blocks into the
// 512-point plot, and finds where a pulse's leading edge lies. Written from the viewer's rules,
// not from the simulator's, so that the two can disagree.
#include "sim/Records.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace mr3x::sim::test {

/// A trace as plotted: point x (from 1) at index x - 1.
using Plot = std::vector<double>;

/// A TDR test trace: block i sample j - 1 goes to point 4j - i - 1 (0-based).
inline Plot interleaveTest(const Bytes& trace)
{
    Plot points(512);
    for (int i = 0; i < 4; ++i)
        for (int j = 1; j <= 128; ++j)
            points[static_cast<std::size_t>(4 * j - i - 1)] = trace[static_cast<std::size_t>(128 * i + j - 1)];
    return points;
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

/// Pulse blocks p to p + 3 of an event's trace area: R is (injection + 1) / 128 rounded half to
/// even, the injection phase 4 - R mod 4, and block k goes to point
/// 4j - ((phase + k) mod 4) - 1.
inline Plot interleaveEvent(const Bytes& record, int pulse)
{
    const auto r = static_cast<int>(std::nearbyint((reportedInjection(record) + 1) / 128.0));
    const int phase = 4 - r % 4;
    Plot points(512);
    for (int k = pulse; k < pulse + 4; ++k)
        for (int j = 1; j <= 128; ++j)
            points[static_cast<std::size_t>(4 * j - (phase + k) % 4 - 1)] =
                record[kHeadBytes + kSampleBytes + static_cast<std::size_t>(128 * k + j - 1)];
    return points;
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
