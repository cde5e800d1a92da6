#include "tdr/TdrPlot.h"

#include "tdr/HeldRounding.h"

#include <algorithm>

namespace mr3x::tdr {

namespace {

constexpr int sweeps = 4;
constexpr double midLevel = 128;

/// Which of the four sweeps a number falls on, 0..3 whatever its sign (4 - (R Mod 4) and the
/// interleaving only care about that).
long long sweepOf(long long value)
{
    return ((value % sweeps) + sweeps) % sweeps;
}

/// Every TDR trace starts with a flat line at mid-height from the left edge to Plotstart.
Polyline leadIn(int plotStart, double level)
{
    return Polyline{{0, level}, {static_cast<double>(plotStart), level}};
}

/// Point x (from 1) of 512, or of a sample run, drawn at its level plus the alignment.
PlotPoint at(long long x, std::uint8_t level, int align)
{
    return {static_cast<double>(x), static_cast<double>(level) + align};
}

std::span<const std::uint8_t, kPulseSamples> pulseBlock(std::span<const std::uint8_t, 8192> area, int pulse)
{
    return area.subspan(static_cast<std::size_t>(pulse) * kPulseSamples).first<kPulseSamples>();
}

/// (x, sample x + shift) for the x of first..last whose sample, counted from 1, lies in 1..8191.
void appendSamples(Polyline& line, std::span<const std::uint8_t, 8192> samples, long long first, long long last,
                   long long shift, int align)
{
    first = std::max(first, 1 - shift);
    last = std::min(last, kTrsLastX - shift);
    for (long long x = first; x <= last; ++x)
        line.push_back(at(x, samples[static_cast<std::size_t>(x + shift - 1)], align));
}

} // namespace

std::array<std::uint8_t, 512> interleaveManual(std::span<const std::uint8_t, 512> samples)
{
    std::array<std::uint8_t, 512> points{};
    for (int block = 0; block < sweeps; ++block) {
        for (int j = 1; j <= kPulseSamples; ++j)
            points[static_cast<std::size_t>(sweeps * j - block - 1)] =
                samples[static_cast<std::size_t>(block * kPulseSamples + j - 1)];
    }
    return points;
}

int injectionPhase(double injection)
{
    const long long r = heldHalfEven((injection + 1) / kPulseSamples);
    return static_cast<int>(sweeps - sweepOf(r));
}

Interleaved interleaveEvent(std::span<const std::uint8_t, 8192> area, int pulse, int phase)
{
    Interleaved points;
    for (int k = 0; k < sweeps; ++k) {
        const long long block = static_cast<long long>(pulse) + k;
        if (block < 0 || block >= kPulseCount)
            continue;
        const auto samples = pulseBlock(area, static_cast<int>(block));
        const long long lateBy = sweepOf(static_cast<long long>(phase) + block);
        for (int j = 1; j <= kPulseSamples; ++j) {
            const auto point = static_cast<std::size_t>(sweeps * j - lateBy - 1);
            points.level[point] = samples[static_cast<std::size_t>(j - 1)];
            points.present[point] = true;
        }
    }
    return points;
}

Polyline eventSweep(std::span<const std::uint8_t, 8192> area, int pulse, int plotStart, int align)
{
    const int firstJ = std::max(1, plotStart / sweeps);
    if (pulse < 0 || pulse >= kPulseCount || firstJ > kPulseSamples)
        return {};
    const auto samples = pulseBlock(area, pulse);
    Polyline line = leadIn(plotStart, midLevel + align);
    line.push_back(at(plotStart, samples[static_cast<std::size_t>(firstJ - 1)], align));
    for (int j = firstJ; j <= kPulseSamples; ++j)
        line.push_back(at(sweeps * j, samples[static_cast<std::size_t>(j - 1)], align));
    return line;
}

Polyline eventInterlaced(const Interleaved& points, int plotStart, int align)
{
    Polyline line = leadIn(plotStart, midLevel + align);
    const std::size_t leadInSize = line.size();
    for (int x = std::max(1, plotStart); x <= kTdrPoints; ++x) {
        const auto i = static_cast<std::size_t>(x - 1);
        if (points.present[i])
            line.push_back(at(x, points.level[i], align));
    }
    if (line.size() == leadInSize)
        return {};
    return line;
}

Polyline manualTrace(const std::array<std::uint8_t, 512>& interleaved, int plotStart, int align, bool interlace)
{
    Polyline line = leadIn(plotStart, midLevel);
    const long long step = interlace ? 1 : sweeps;
    long long x = plotStart;
    if (x < 1)
        x += (1 - x + step - 1) / step * step;  // the first step that lands on the plot
    for (; x <= kTdrPoints; x += step)
        line.push_back(at(x, interleaved[static_cast<std::size_t>(x - 1)], align));
    return line;
}

Polyline trsSlaveLine(std::span<const std::uint8_t, 8192> samples, int pan, int width, int slaveOffset, int align)
{
    Polyline line;
    appendSamples(line, samples, pan, static_cast<long long>(pan) + width, slaveOffset, align);
    return line;
}

Polyline trsMasterLine(std::span<const std::uint8_t, 8192> samples, int pan, int width, int align)
{
    Polyline line;
    appendSamples(line, samples, pan, static_cast<long long>(pan) + width, 0, align);
    return line;
}

Polyline trsTestLine(std::span<const std::uint8_t, 8192> samples, int align)
{
    Polyline line;
    appendSamples(line, samples, 1, kTrsLastX, 0, align);
    return line;
}

RangeStart rangeStart(bool longRange)
{
    return longRange ? RangeStart{21, 2} : RangeStart{25, 1};
}

} // namespace mr3x::tdr
