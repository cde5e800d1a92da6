// How often the automatic reading is right.
//
// 1. The fault finder on 1,000 synthetic TDR traces (SyntheticTraces.h), half of them on the
//    400 m range and half on the 800 m range, half of each on cables with joints: each fault read
//    alone and against a reference shot of the same cable without the fault, and each healthy
//    cable shot twice and the second shot read against the first. It prints the share of faults
//    found within 1 and within 2 plot units of the true edge, the misses (nothing found, or
//    something else), and the false reports on the healthy cables.
// 2. The dips on 200 synthetic events of known depth and length on one, two or three phases:
//    the share whose residual lies within 2 points of the truth and whose duration within one
//    cycle.
//
//   bench_analysis [traces] [events] [seed]
#include "SyntheticDips.h"
#include "SyntheticTraces.h"

#include "tdr/FaultFinder.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace mr3x;

namespace {

struct Tally {
    int cases = 0, within1 = 0, within2 = 0, elsewhere = 0, nothing = 0;

    void count(const tdr::TraceFinding& finding, double truth)
    {
        ++cases;
        if (!finding.fault) {
            ++nothing;
            return;
        }
        const double off = std::abs(double(finding.fault->point) - truth);
        within1 += off <= 1;
        within2 += off <= 2;
        elsewhere += off > 2;
    }
    Tally& operator+=(const Tally& t)
    {
        cases += t.cases, within1 += t.within1, within2 += t.within2, elsewhere += t.elsewhere, nothing += t.nothing;
        return *this;
    }
    void print(const char* what) const
    {
        const auto share = [this](int n) { return cases ? 100.0 * n / cases : 0.0; };
        std::printf("  %-38s %5d  %6.1f %%  %6.1f %%  %5.1f %%  %5.1f %%\n", what, cases, share(within1), share(within2),
                    share(elsewhere), share(nothing));
    }
};

std::string loadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string a, b, c;
    if (!(file >> a >> b >> c))
        return "unknown";
    return a + " " + b + " " + c;
}

} // namespace

int main(int argc, char* argv[])
{
    const int traces = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int events = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    const auto seed = static_cast<std::uint64_t>(argc > 3 ? std::atoll(argv[3]) : 19);
    sim::SimRandom random(seed);

    Tally alone[2], aloneJoints[2], against[2];
    int healthy = 0, falseReports = 0, farEnds = 0, farEndsRead = 0;
    double finderSeconds = 0;
    int finderRuns = 0;
    for (int n = 0; n < traces; ++n) {
        const bool longRange = n % 2 == 1;
        const bool joints = n % 4 >= 2;
        const bench::SyntheticCable cable = bench::drawCable(random, longRange, joints);
        const tdr::FinderSetup setup{true, longRange ? 2 : 1, 540, longRange ? 21.0 : 25.0};
        const tdr::TraceLevels faulted = bench::shoot(cable, true, false, random);
        const tdr::TraceLevels before = bench::shoot(cable, false, true, random);
        const tdr::TraceLevels again = bench::shoot(cable, false, true, random);
        const tdr::ReferenceTrace reference{before, setup.scale, true};

        const auto start = std::chrono::steady_clock::now();
        const tdr::TraceFinding alone1 = tdr::findFault(faulted, setup);
        const tdr::TraceFinding against1 = tdr::findFault(faulted, reference, setup);
        const tdr::TraceFinding twice = tdr::findFault(again, reference, setup);
        finderSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        finderRuns += 3;

        (joints ? aloneJoints : alone)[longRange].count(alone1, cable.trueEdgeX);
        against[longRange].count(against1, cable.trueEdgeX);
        ++healthy;
        falseReports += twice.fault.has_value();
        if (cable.farEndInView && !joints) {
            ++farEnds;
            farEndsRead += alone1.farEnd && std::abs(alone1.farEnd->edgeX - cable.farEndX) <= 4;
        }
    }

    std::printf("Fault finder, %d synthetic traces (seed %llu), machine load %s\n", traces,
                static_cast<unsigned long long>(seed), loadAverage().c_str());
    std::printf("  %-38s %5s  %8s  %8s  %7s  %7s\n", "", "cases", "<=1 unit", "<=2 units", "wrong", "none");
    against[0].print("against a reference, 400 m range");
    against[1].print("against a reference, 800 m range");
    (Tally(against[0]) += against[1]).print("against a reference, both ranges");
    alone[0].print("alone, no joints, 400 m range");
    alone[1].print("alone, no joints, 800 m range");
    (Tally(alone[0]) += alone[1]).print("alone, no joints, both ranges");
    aloneJoints[0].print("alone, with joints, 400 m (a joint first)");
    aloneJoints[1].print("alone, with joints, 800 m (a joint first)");
    std::printf("  false reports on healthy cables shot twice: %d of %d (%.1f %%)\n", falseReports, healthy,
                100.0 * falseReports / healthy);
    std::printf("  far end read within 4 units (alone, no joints, its echo in view and clear): %d of %d\n", farEndsRead, farEnds);
    std::printf("  %.2f ms a reading\n", 1000 * finderSeconds / finderRuns);

    bench::printDipFigures(events, random);
    return 0;
}
