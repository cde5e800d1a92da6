#include "tdr/FaultFinder.h"

#include "tdr/Distance.h"
#include "tdr/Locator.h"
#include "tdr/Reflections.h"
#include "tdr/TdrPlot.h"

#include <algorithm>
#include <cmath>

namespace mr3x::tdr {

namespace {

// A TDR launch is looked for this many plot units past the zero point; a TRS one this many
// samples before the shot's window start and on.
constexpr double kTdrLaunchSpan = 64;
constexpr double kTrsLaunchLead = 16;
// A TRS trace holds two shots, the second this many samples after the first: the first shot's
// echoes are read up to a little before it.
constexpr std::size_t kTrsShotSamples = 4096, kTrsShotMargin = 16;
// The slot's label shows no injection from here on.
constexpr int kNoInjectionFrom = 32768;
// A reflection smaller than this share of the launch is the cable's own ripple, not an echo.
constexpr double kLeastShareOfLaunch = 0.02;
constexpr std::size_t kMostReflections = 16;
// The far end is looked for this many plot units past the fault's edge.
constexpr double kPastFault = 3;
constexpr double kFarEndShare = 1.0 / 3;
// The reference is laid on the trace by the launch: shifted by up to a plot unit either way, in
// twentieths, and scaled by a gain held near 1.
constexpr double kMostShift = 1.0, kShiftStep = 0.05;
constexpr double kLeastGain = 0.8, kMostGain = 1.25;
constexpr std::size_t kBeforeLaunch = 4;
// Along the trace the two shots' timing may drift by up to half a plot unit more; a change is
// tried against that over the points before and after it.
constexpr double kLocalShift = 0.5;
constexpr std::size_t kLocalReach = 16, kLocalAfter = 8;

/// The launch and the dead zone after it, and the point distances count from.
struct Start {
    bool seen = false;
    double height = 0;
    std::size_t zero = 0;        // the launch's first point
    std::size_t deadZoneEnd = 0; // where the trace has settled after it
    std::size_t tail = 0;        // where a difference can be read from
    std::size_t readTo = 0;      // one past the last point read
    long long zeroPoint = 0;
};

Start startOf(const TraceLevels& trace, const FinderSetup& setup, double noise)
{
    Start start;
    start.readTo = trace.size();
    if (setup.tdrMode) {
        start.zero = trace.indexAtOrAfter(setup.zeroX);
        start.zeroPoint = cursorPosition(setup.zeroX);
        const Launch launch = findLaunch(trace, start.zero, noise, kTdrLaunchSpan);
        start.seen = launch.seen;
        start.height = launch.height;
        start.deadZoneEnd = launch.deadZoneEnd;
        start.tail = launch.tail;
        return start;
    }
    // A TRS trace: the first pulse that stands clear from the shot's start is the launch (the
    // Master's) or the arrival (the Slave's), and the zero point is its edge.
    const std::size_t from = trace.indexAtOrAfter(std::max(1.0, setup.zeroX - kTrsLaunchLead));
    const std::vector<Reflection> first =
        scanReflections(trace, {from, trace.size(), noise, kClearOfNoise * noise, 1});
    start.zero = from;
    start.zeroPoint = cursorPosition(std::max(1.0, setup.zeroX));
    start.deadZoneEnd = start.tail = std::min(trace.size(), from + 1);
    if (first.empty())
        return start;
    const Reflection& launch = first.front();
    start.seen = true;
    start.height = launch.height;
    start.zero = launch.start;
    start.zeroPoint = cursorPosition(launch.edgeX);
    start.deadZoneEnd = start.tail = launch.settled;
    start.readTo = std::min(trace.size(), launch.start + kTrsShotSamples - kTrsShotMargin);
    return start;
}

double clearHeight(const Start& start, double noise)
{
    return std::max(kClearOfNoise * noise, start.seen ? kLeastShareOfLaunch * start.height : 0.0);
}

FoundPoint pointOf(const Reflection& r, const Start& start, const FinderSetup& setup)
{
    FoundPoint p;
    p.edgeX = r.edgeX;
    p.point = cursorPosition(r.edgeX);
    p.distanceM = readoutMetres(setup.scale, static_cast<double>(p.point - start.zeroPoint), setup.speed, setup.tdrMode);
    p.height = r.height;
    p.polarity = r.polarity;
    return p;
}

std::vector<Reflection> reflectionsOf(const TraceLevels& trace, std::size_t from, const Start& start, double noise)
{
    return scanReflections(trace, {from, start.readTo, noise, clearHeight(start, noise), kMostReflections});
}

/// The far end: of the clear reflections on the trace itself after `after`, the last that is as
/// much as a third of the strongest of them. Past a fault, or past the cable's own echoes, the
/// end is the last large echo; the joints beyond a fault come back small.
std::optional<FoundPoint> farEndOf(const std::vector<Reflection>& reflections, double after, const Start& start,
                                   const FinderSetup& setup)
{
    double strongest = 0;
    for (const Reflection& r : reflections)
        if (r.edgeX > after)
            strongest = std::max(strongest, r.height);
    const Reflection* last = nullptr;
    for (const Reflection& r : reflections)
        if (r.edgeX > after && r.height >= kFarEndShare * strongest)
            last = &r;
    if (last == nullptr)
        return std::nullopt;
    return pointOf(*last, start, setup);
}

double levelAt(const TraceLevels& trace, double x)
{
    const double at = (x - trace.firstX) / trace.step;
    if (at <= 0)
        return trace.level.front();
    const auto below = static_cast<std::size_t>(at);
    if (below + 1 >= trace.size())
        return trace.level.back();
    const double share = at - static_cast<double>(below);
    return trace.level[below] * (1 - share) + trace.level[below + 1] * share;
}

/// How the reference lies on the trace: two shots are never quite alike, so it is shifted,
/// scaled and lifted to fit the launch the two share.
struct Alignment {
    double shift = 0, gain = 1, lift = 0;

    double referenceAt(const TraceLevels& reference, double x, double moreShift = 0) const
    {
        return gain * levelAt(reference, x - shift - moreShift) + lift;
    }
};

/// The shift, gain and lift that lay the reference best on the trace's launch.
Alignment alignOnLaunch(const TraceLevels& trace, const TraceLevels& reference, const Start& start)
{
    Alignment best;
    const std::size_t from = start.zero > kBeforeLaunch ? start.zero - kBeforeLaunch : 0;
    const std::size_t to = std::min(trace.size(), start.deadZoneEnd);
    std::vector<std::size_t> points;
    for (std::size_t k = from; k < to; ++k)
        points.push_back(k);
    if (!start.seen || points.size() < 3) {
        std::vector<double> apart;
        for (std::size_t k = 0; k < trace.size(); ++k)
            apart.push_back(trace.level[k] - reference.level[k]);
        std::nth_element(apart.begin(), apart.begin() + static_cast<std::ptrdiff_t>(apart.size() / 2), apart.end());
        best.lift = apart.empty() ? 0.0 : apart[apart.size() / 2];
        return best;
    }
    double bestError = -1;
    const double n = static_cast<double>(points.size());
    for (double d = -kMostShift; d <= kMostShift + 1e-9; d += kShiftStep) {
        double sr = 0, sy = 0, srr = 0, sry = 0;
        for (const std::size_t k : points) {
            const double r = levelAt(reference, trace.xAt(k) - d);
            sr += r;
            sy += trace.level[k];
            srr += r * r;
            sry += r * trace.level[k];
        }
        const double spread = srr - sr * sr / n;
        Alignment a;
        a.shift = d;
        a.gain = spread > 0 ? std::clamp((sry - sr * sy / n) / spread, kLeastGain, kMostGain) : 1.0;
        a.lift = (sy - a.gain * sr) / n;
        double error = 0;
        for (const std::size_t k : points) {
            const double e = trace.level[k] - a.referenceAt(reference, trace.xAt(k));
            error += e * e;
        }
        if (bestError < 0 || error < bestError) {
            bestError = error;
            best = a;
        }
    }
    return best;
}

TraceLevels differenceOf(const TraceLevels& trace, const TraceLevels& reference, const Alignment& alignment)
{
    TraceLevels difference{std::vector<double>(trace.size()), trace.firstX, trace.step};
    for (std::size_t k = 0; k < trace.size(); ++k)
        difference.level[k] = trace.level[k] - alignment.referenceAt(reference, trace.xAt(k));
    return difference;
}

/// Whether a change in the difference is only the reference lying a little early or late there
/// (the two shots' timing drifts a little along the trace): a small shift of the reference about
/// the change leaves nothing that stands clear.
bool explainedByShift(const TraceLevels& trace, const TraceLevels& reference, const Alignment& alignment,
                      const Reflection& change, double clear)
{
    const std::size_t from = change.start > kLocalReach ? change.start - kLocalReach : 0;
    const std::size_t to = std::min(trace.size(), change.peak + kLocalAfter);
    for (double d = -kLocalShift; d <= kLocalShift + 1e-9; d += kShiftStep) {
        double most = 0;
        for (std::size_t k = from; k < to; ++k)
            most = std::max(most, std::abs(trace.level[k] - alignment.referenceAt(reference, trace.xAt(k), d)));
        if (most < clear)
            return true;
    }
    return false;
}

std::string refusalOf(const TraceLevels& trace, const ReferenceTrace& reference, const FinderSetup& setup)
{
    const auto kind = [](bool tdr) { return tdr ? std::string("a TDR trace") : std::string("a TRS trace"); };
    if (reference.tdrMode != setup.tdrMode)
        return "The reference is " + kind(reference.tdrMode) + " and the trace " + kind(setup.tdrMode)
               + ": they cannot be compared";
    if (reference.scale != setup.scale)
        return "The reference was taken on the " + rangeName(reference.scale) + " range and the trace on the "
               + rangeName(setup.scale) + " range: they cannot be compared";
    if (reference.levels.size() != trace.size() || reference.levels.step != trace.step
        || reference.levels.firstX != trace.firstX)
        return "The reference holds other points than the trace: they cannot be compared";
    return {};
}

} // namespace

double trsWindowStart(std::optional<int> injection)
{
    if (!injection)
        return 1;
    const long long start = signKeepingMod(*injection, kTrsShotSamples);
    return start < 1 ? 1.0 : static_cast<double>(start);
}

std::optional<int> shownInjection(const events::RecordTrailer& trailer)
{
    const int injection = trailer.injection();
    return injection < kNoInjectionFrom ? std::optional(injection) : std::nullopt;
}

TraceReading readingOf(const TdrTrace& trace, int speed)
{
    const RangeStart start = rangeStart(trace.trailer.longRange());
    return {manualTestLevels(trace), {true, start.scale, speed, double(start.plotStart)}};
}

TraceReading readingOf(const TrsTrace& trace, int speed)
{
    const RangeStart start = rangeStart(trace.trailer.longRange());
    return {trsLevels(trace.samples), {false, start.scale, speed, trsWindowStart(shownInjection(trace.trailer))}};
}

std::string rangeName(int scale)
{
    return scale == 2 ? "800m" : "400m";
}

TraceFinding findFault(const TraceLevels& trace, const FinderSetup& setup)
{
    TraceFinding finding;
    if (trace.size() == 0)
        return finding;
    finding.noise = traceNoise(trace);
    const Start start = startOf(trace, setup, finding.noise);
    finding.zeroPoint = start.zeroPoint;
    finding.launchFound = start.seen;
    if (!setup.tdrMode && !start.seen)
        return finding;
    const std::vector<Reflection> reflections = reflectionsOf(trace, start.deadZoneEnd, start, finding.noise);
    if (reflections.empty())
        return finding;
    finding.fault = pointOf(reflections.front(), start, setup);
    finding.farEnd = farEndOf(reflections, reflections.front().edgeX + kPastFault, start, setup);
    return finding;
}

TraceFinding findFault(const TraceLevels& trace, const ReferenceTrace& reference, const FinderSetup& setup)
{
    TraceFinding finding;
    finding.againstReference = true;
    finding.refusal = refusalOf(trace, reference, setup);
    if (!finding.refusal.empty() || trace.size() == 0)
        return finding;
    const double traceNoiseLevel = traceNoise(trace);
    const Start start = startOf(trace, setup, traceNoiseLevel);
    finding.zeroPoint = start.zeroPoint;
    finding.launchFound = start.seen;
    const Alignment alignment = alignOnLaunch(trace, reference.levels, start);
    const TraceLevels difference = differenceOf(trace, reference.levels, alignment);
    finding.noise = traceNoise(difference);
    const std::vector<Reflection> own = reflectionsOf(trace, start.deadZoneEnd, start, traceNoiseLevel);
    if (setup.tdrMode || start.seen) {
        const double clear = clearHeight(start, finding.noise);
        for (const Reflection& change : reflectionsOf(difference, start.tail, start, finding.noise)) {
            if (explainedByShift(trace, reference.levels, alignment, change, clear))
                continue;
            finding.fault = pointOf(change, start, setup);
            break;
        }
    }
    const double after = finding.fault ? finding.fault->edgeX + kPastFault : trace.firstX - 1;
    finding.farEnd = farEndOf(own, after, start, setup);
    return finding;
}

std::string findingText(const TraceFinding& finding, const std::string& referenceName)
{
    if (!finding.refusal.empty())
        return finding.refusal;
    std::string text = finding.fault ? "Reflection found at " + std::to_string(finding.fault->distanceM) + " m"
                                     : std::string("No clear reflection found");
    if (finding.againstReference && !referenceName.empty())
        text += " (against reference " + referenceName + ")";
    if (finding.farEnd)
        text += ", far end at " + std::to_string(finding.farEnd->distanceM) + " m";
    return text;
}

} // namespace mr3x::tdr
