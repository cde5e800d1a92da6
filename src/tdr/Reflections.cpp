#include "tdr/Reflections.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mr3x::tdr {

namespace {

// The stretches the noise is measured over, and the line before a pulse is taken from.
constexpr std::size_t kStretch = 16;
constexpr std::size_t kFewestLinePoints = 4;
constexpr std::size_t kSeenRun = 3;      // points in a row that must stand out
constexpr double kQuietInNoise = 2.0;    // a point this close to the line belongs to it
constexpr double kQuietestNoise = 1.0 / 3.0;
// A pulse has passed when the trace is back within this many noises of the line for two points,
// or has stayed level (within four noises) this many points, as after a step.
constexpr double kBackInNoise = 2.0;
constexpr std::size_t kLevelRun = 48;
// The flank the edge is fitted on: from the line up to this share of the pulse's height.
constexpr double kFootShare = 0.2, kFlankTopShare = 0.8;
constexpr int kKneeStepsAPoint = 20;
// Once a pulse has fallen below half its highest, the next rise is another pulse.
constexpr double kFallenShare = 0.5;
// A peak is passed when the trace has not risen above it for this many points.
constexpr std::size_t kPeakPatience = 8;

struct Settled {
    std::size_t at = 0;
    bool backOnLine = false;
};

double mean(const std::vector<double>& v, std::size_t from, std::size_t to)
{
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += v[i];
    return to > from ? sum / static_cast<double>(to - from) : 0.0;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

/// The spread of the points about their least-squares line.
double spreadAboutLine(const std::vector<double>& y, std::size_t from, std::size_t count)
{
    const double n = static_cast<double>(count);
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const double x = static_cast<double>(k);
        sx += x;
        sy += y[from + k];
        sxx += x * x;
        sxy += x * y[from + k];
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double offset = (sy - slope * sx) / n;
    double sse = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const double r = y[from + k] - offset - slope * static_cast<double>(k);
        sse += r * r;
    }
    return std::sqrt(sse / (n - 2));
}

/// The level of the line before a pulse: the mean of the last points that lay close to it, so
/// that a slow rise does not carry the line up with it.
class QuietLine {
public:
    QuietLine() = default;
    /// A line known to lie at `level`.
    explicit QuietLine(double level)
    {
        for (std::size_t k = 0; k < kFewestLinePoints; ++k)
            take(level);
    }
    bool known() const { return points_.size() >= kFewestLinePoints; }
    double level() const { return sum_ / static_cast<double>(points_.size()); }
    void take(double level)
    {
        points_.push_back(level);
        sum_ += level;
        if (points_.size() > kStretch) {
            sum_ -= points_.front();
            points_.erase(points_.begin());
        }
    }

private:
    std::vector<double> points_;
    double sum_ = 0;
};

/// Where a pulse leaves `base`: the knee between the level line and a straight flank that fits
/// the points lo..hi best.
double kneeOf(const TraceLevels& trace, std::size_t lo, std::size_t hi, double base, int polarity)
{
    const double first = trace.xAt(lo), last = trace.xAt(hi);
    const double stepX = trace.step / kKneeStepsAPoint;
    double bestX = first;
    double bestError = std::numeric_limits<double>::max();
    for (double x0 = first; x0 <= last + 1e-9; x0 += stepX) {
        double before = 0, suu = 0, sud = 0, sdd = 0;
        for (std::size_t k = lo; k <= hi; ++k) {
            const double d = trace.level[k] - base;
            const double u = trace.xAt(k) - x0;
            if (u < 0) {
                before += d * d;
                continue;
            }
            suu += u * u;
            sud += u * d;
            sdd += d * d;
        }
        double slope = suu > 0 ? sud / suu : 0.0;
        if (slope * polarity < 0)
            slope = 0;
        const double error = before + sdd - 2 * slope * sud + slope * slope * suu;
        if (error < bestError - 1e-12) {
            bestError = error;
            bestX = x0;
        }
    }
    return bestX;
}

/// Where the trace has settled after a pulse that peaked at `peak` over the line `base`: back
/// on the line (within two noises of it for two points, or across it), or level somewhere else
/// for a long while, as after a step.
Settled settledAfter(const std::vector<double>& s, std::size_t peak, std::size_t to, double base, double noise)
{
    const double side = s[peak] - base;
    std::size_t back = 0;
    double low = s[peak], high = s[peak];
    std::size_t levelSince = peak;
    for (std::size_t k = peak + 1; k < to; ++k) {
        const double off = s[k] - base;
        back = std::abs(off) < kBackInNoise * noise ? back + 1 : 0;
        if (back == 2 || off * side < 0)
            return {k + 1, true};
        low = std::min(low, s[k]);
        high = std::max(high, s[k]);
        if (high - low > 2 * kBackInNoise * noise) {
            low = high = s[k];
            levelSince = k;
        } else if (k - levelSince >= kLevelRun) {
            return {k + 1, false};
        }
    }
    return {to, false};
}

/// The peak of a pulse seen from `start`: the trace rises to it and then falls, or stays level
/// (rising by no more than its noise), for a while.
std::size_t peakFrom(const std::vector<double>& s, std::size_t start, std::size_t to, int polarity, double base,
                     double noise)
{
    const auto above = [&](std::size_t k) { return polarity * (s[k] - base); };
    std::size_t peak = start, risen = start;
    for (std::size_t k = start; k < to && k - risen <= kPeakPatience; ++k) {
        if (above(k) > above(risen) + noise)
            risen = k;
        if (above(k) > above(peak))
            peak = k;
        else if (above(k) < kFallenShare * above(peak))
            break;
    }
    return peak;
}

/// The pulse seen from point `start`: its peak, height, leading edge and where it has passed.
Reflection pulseFrom(const TraceLevels& trace, const std::vector<double>& s, std::size_t from, std::size_t to,
                     std::size_t start, int polarity, double base, double noise)
{
    Reflection r;
    r.start = start;
    r.polarity = polarity;
    const auto above = [&](std::size_t k) { return polarity * (s[k] - base); };
    r.peak = peakFrom(s, start, to, polarity, base, noise);
    r.height = above(r.peak);

    // The flank: back from the peak to its foot, and up to four fifths of its height.
    std::size_t foot = r.peak;
    while (foot > from && above(foot - 1) >= kFootShare * r.height)
        --foot;
    std::size_t top = foot;
    while (top < r.peak && above(top) < kFlankTopShare * r.height)
        ++top;
    const std::size_t reach = std::max<std::size_t>(kFewestLinePoints, top - foot + 3);
    const std::size_t lo = foot > from + reach ? foot - reach : from;
    // The line right before the foot, so a slow rise does not lift it.
    const std::size_t lineStart = lo > from + kStretch ? lo - kStretch : from;
    r.baseline = lo - lineStart >= kFewestLinePoints ? mean(trace.level, lineStart, lo) : base;
    r.edgeX = kneeOf(trace, lo, std::max(top, lo + 1 < to ? lo + 1 : lo), r.baseline, polarity);
    const Settled settled = settledAfter(s, r.peak, to, base, noise);
    r.settled = settled.at;
    r.backOnLine = settled.backOnLine;
    return r;
}

} // namespace

double traceNoise(const TraceLevels& trace, std::size_t from)
{
    std::vector<double> spreads;
    for (std::size_t i = from; i + kStretch <= trace.size(); i += kStretch)
        spreads.push_back(spreadAboutLine(trace.level, i, kStretch));
    return std::max(kQuietestNoise, median(std::move(spreads)));
}

std::vector<double> smoothed(const TraceLevels& trace)
{
    const std::vector<double>& y = trace.level;
    std::vector<double> s(y.size());
    for (std::size_t i = 0; i < y.size(); ++i) {
        const std::size_t a = i > 0 ? i - 1 : i;
        const std::size_t b = i + 1 < y.size() ? i + 1 : i;
        double sum = 0;
        for (std::size_t k = a; k <= b; ++k)
            sum += y[k];
        s[i] = sum / static_cast<double>(b - a + 1);
    }
    return s;
}

std::vector<Reflection> scanReflections(const TraceLevels& trace, const ScanLimits& limits)
{
    std::vector<Reflection> found;
    const std::size_t to = std::min(limits.to, trace.size());
    if (limits.from >= to)
        return found;
    const std::vector<double> s = smoothed(trace);
    const double seen = kSeenInNoise * limits.noise;
    const double quiet = kQuietInNoise * limits.noise;
    QuietLine line;
    std::size_t lineFrom = limits.from;
    std::size_t run = 0;
    int runPolarity = 0;
    for (std::size_t i = lineFrom; i < to && found.size() < limits.maxCount; ++i) {
        if (!line.known()) {
            line.take(s[i]);
            continue;
        }
        const double off = s[i] - line.level();
        if (std::abs(off) <= quiet) {
            line.take(s[i]);
            run = 0;
            continue;
        }
        const int polarity = off > seen ? 1 : off < -seen ? -1 : 0;
        if (polarity == 0 || (run > 0 && polarity != runPolarity)) {
            run = polarity == 0 ? 0 : 1;
            runPolarity = polarity;
            continue;
        }
        runPolarity = polarity;
        if (++run < kSeenRun)
            continue;
        const Reflection r = pulseFrom(trace, s, lineFrom, to, i + 1 - run, polarity, line.level(), limits.noise);
        run = 0;
        if (r.height >= limits.clearHeight)
            found.push_back(r);
        lineFrom = std::max(r.settled, r.peak + 1);
        // Back on the line, the line is where it was; after a step it is where the trace settled.
        line = r.backOnLine ? QuietLine(line.level()) : QuietLine();
        i = lineFrom - 1;
    }
    return found;
}

Launch findLaunch(const TraceLevels& trace, std::size_t zero, double noise, double span)
{
    Launch launch;
    if (zero >= trace.size())
        return launch;
    // The quiet line is the one before the launch where the trace shows it; else the level most
    // of the trace keeps.
    const auto begin = trace.level.begin();
    launch.quietLevel = zero >= kFewestLinePoints ? median(std::vector<double>(begin, begin + static_cast<std::ptrdiff_t>(zero)))
                                                   : median(std::vector<double>(begin + static_cast<std::ptrdiff_t>(zero), trace.level.end()));
    const std::vector<double> s = smoothed(trace);
    const std::size_t end = std::min(trace.size(), zero + static_cast<std::size_t>(std::max(1.0, span / trace.step)));
    // The launch is the first swing that stands clear; what follows it may be larger (a short
    // close by), but it is an echo.
    const double clear = kClearOfNoise * noise;
    std::size_t first = zero;
    while (first < end && std::abs(s[first] - launch.quietLevel) < clear)
        ++first;
    if (first == end) {
        launch.deadZoneEnd = launch.tail = std::min(trace.size(), zero + 1);
        return launch;
    }
    const int polarity = s[first] > launch.quietLevel ? 1 : -1;
    launch.seen = true;
    launch.peak = peakFrom(s, first, trace.size(), polarity, launch.quietLevel, noise);
    launch.height = std::abs(s[launch.peak] - launch.quietLevel);
    launch.deadZoneEnd = settledAfter(s, launch.peak, trace.size(), launch.quietLevel, noise).at;
    launch.tail = launch.peak;
    const double tenth = std::max(0.1 * launch.height, 3 * noise);
    while (launch.tail < launch.deadZoneEnd && std::abs(s[launch.tail] - launch.quietLevel) >= tenth)
        ++launch.tail;
    return launch;
}

} // namespace mr3x::tdr
