#include "SyntheticDips.h"

#include "events/DipClasses.h"
#include "events/Dips.h"
#include "sim/Waveforms.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace mr3x::bench {

namespace {

constexpr double kNominal = 230.0;  // the simulated unit's mains

struct Tally {
    int dips = 0, residualWithin2 = 0, durationWithinCycle = 0, timed = 0, pastEndRight = 0, cellRight = 0;
    int lastCycle = 0, lastCycleRunsPast = 0, missed = 0, extra = 0;
};

} // namespace

void printDipFigures(int events, sim::SimRandom& random)
{
    Tally tally;
    double seconds = 0;
    for (int n = 0; n < events; ++n) {
        sim::Disturbance dip;
        dip.dippedPhases = random.between(1, 7);
        dip.startGroup = random.between(100, 600);
        dip.groups = random.between(120, 700);
        // A tenth of them interruptions; the rest dips from 88 % down to 5 %.
        dip.remaining = random.between(0, 9) == 0 ? 0.04 * random.unit() : 0.05 + 0.83 * random.unit();
        events::EventRecord record;
        const std::vector<std::uint8_t> samples = sim::mainsSamples(random, dip);
        std::copy(samples.begin(), samples.end(), record.samples.begin());
        // Half against the nominal voltage, half against the recording's first cycle.
        const bool nominal = n % 2 == 0;
        const auto start = std::chrono::steady_clock::now();
        const events::DipMeasurement m = events::measureDips(record, nominal ? std::optional(kNominal) : std::nullopt);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        // A dip that ends in the recording's last cycle ends where no whole cycle after it is left
        // to show the voltage back: it may read either way.
        const int end = dip.startGroup + dip.groups;
        const bool pastEnd = end > events::kSampleGroups;
        const bool endsInLastCycle = !pastEnd && end > events::kSampleGroups - events::kCycleGroups;
        for (int c = 0; c < events::kVoltageChannels; ++c) {
            const bool dipped = ((dip.dippedPhases >> c) & 1) != 0;
            const auto found = std::find_if(m.dips.begin(), m.dips.end(), [c](const events::Dip& d) { return d.channel == c; });
            if (!dipped) {
                tally.extra += found != m.dips.end();
                continue;
            }
            ++tally.dips;
            if (found == m.dips.end()) {
                ++tally.missed;
                continue;
            }
            tally.extra += std::count_if(m.dips.begin(), m.dips.end(), [c](const events::Dip& d) { return d.channel == c; }) - 1;
            tally.residualWithin2 += std::abs(found->residualPercent - 100 * dip.remaining) <= 2;
            if (endsInLastCycle) {
                ++tally.lastCycle;
                tally.lastCycleRunsPast += found->pastEnd;
                continue;
            }
            tally.pastEndRight += found->pastEnd == pastEnd;
            if (!pastEnd) {
                ++tally.timed;
                tally.durationWithinCycle += std::abs(found->durationGroups - dip.groups) <= events::kCycleGroups;
            }
            events::Dip truth = *found;
            truth.residualPercent = 100 * dip.remaining;
            truth.kind = dip.remaining < events::kInterruptionBelow ? events::DipKind::Interruption : events::DipKind::Dip;
            truth.durationGroups = dip.groups;
            tally.cellRight += pastEnd || events::dipClass(*found, 50) == events::dipClass(truth, 50);
        }
    }
    const auto share = [](int n, int of) { return of ? 100.0 * n / of : 0.0; };
    std::printf("Dips, %d synthetic events, %d dipped phases\n", events, tally.dips);
    std::printf("  residual within 2 points of the truth:  %5.1f %%\n", share(tally.residualWithin2, tally.dips));
    std::printf("  duration within one cycle (%d ended):  %5.1f %%\n", tally.timed, share(tally.durationWithinCycle, tally.timed));
    const int judged = tally.dips - tally.lastCycle;
    std::printf("  \"runs past the recording\" right:       %5.1f %%\n", share(tally.pastEndRight, judged));
    std::printf("  EN 50160 cell right:                     %5.1f %%\n", share(tally.cellRight, judged));
    std::printf("  ending in the last cycle: %d, read as running past: %d\n", tally.lastCycle, tally.lastCycleRunsPast);
    std::printf("  missed %d, dips on phases that had none or twice on one: %d\n", tally.missed, tally.extra);
    std::printf("  %.3f ms an event\n", 1000 * seconds / events);
}

} // namespace mr3x::bench
