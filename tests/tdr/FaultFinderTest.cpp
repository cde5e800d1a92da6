// The fault found on a trace: where the engineer would put the moving cursor, on traces drawn by
// the simulated unit's cable model, alone and against a reference, near either end of the plot
// and through noise; and what it says when there is nothing to find.
#include "sim/SimRandom.h"
#include "sim/TracePictures.h"
#include "tdr/Distance.h"
#include "tdr/FaultFinder.h"
#include "tdr/TrsPair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace mr3x;
using namespace mr3x::tdr;

namespace {

struct Shot {
    sim::Cable cable;
    bool longRange = false;
    bool pulseOn = true;
    double noise = 0.6;
    std::uint64_t seed = 1;
    double late = 0;  // plot units this shot is taken late by
    double gain = 1;
};

sim::UnitSettings settingsOf(const Shot& shot)
{
    sim::UnitSettings settings;
    settings.hardware = (shot.longRange ? 1 : 0) | (shot.pulseOn ? 2 : 0);
    return settings;
}

/// `count` points of these pulses as the unit records them, with its noise on them.
TraceLevels levelsOf(const std::vector<sim::TracePulse>& pulses, int count, const Shot& shot, std::uint64_t seed)
{
    sim::SimRandom random(seed);
    TraceLevels trace{std::vector<double>(std::size_t(count)), 1, 1};
    for (int x = 1; x <= count; ++x)
        trace.level[std::size_t(x - 1)] = std::clamp(
            std::round(128 + shot.gain * (sim::traceLevel(pulses, x - shot.late) - 128) + random.noise(shot.noise)), 0.0, 255.0);
    return trace;
}

/// The 512 points the viewer plots of the cable.
TraceLevels tdrTrace(const Shot& shot, bool faulted)
{
    const auto arrivals = sim::ownShot(shot.cable, sim::TrsRole::None, faulted);
    const auto pulses = shot.pulseOn ? sim::tdrPicture(arrivals, settingsOf(shot)) : std::vector<sim::TracePulse>{};
    return levelsOf(pulses, 512, shot, shot.seed);
}

/// Where the echo from `metres` leaves the line, in plot units.
double edgeAt(const Shot& shot, double metres)
{
    const sim::UnitSettings settings = settingsOf(shot);
    return sim::tdrZeroUnits(settings) + metres / (sim::kMetresPerNs * sim::tdrUnitNs(settings));
}

FinderSetup setupOf(const Shot& shot)
{
    return {true, shot.longRange ? 2 : 1, kSpeedDesign, shot.longRange ? 21.0 : 25.0};
}

/// The 8192 samples of a TRS trace of these arrivals, triggered at `injection`.
TraceLevels trsTrace(const Shot& shot, const std::vector<sim::Arrival>& arrivals, int injection, std::uint64_t seed)
{
    return levelsOf(sim::trsPicture(arrivals, settingsOf(shot), injection), 8192, shot, seed);
}

Shot onCable(double faultM, double lengthM, bool longRange = false)
{
    Shot shot;
    shot.cable.faultDistanceM = faultM;
    shot.cable.lengthM = lengthM;
    shot.longRange = longRange;
    return shot;
}

} // namespace

TEST(FaultFinder, TheFaultsLeadingEdgeIsFoundWithinAPlotUnitFromJustPastTheLaunchToTheEndOfTheRange)
{
    struct Case {
        double faultM, lengthM;
        bool longRange;
        double faultReflection;
    };
    // 32 m is just past the launch's dead zone (its decay has died into the noise by then); 385 m
    // and 790 m are a few plot units before the end of either range; a high-resistance fault
    // sends the pulse back upright.
    for (const Case& c : {Case{32, 320, false, -0.5}, Case{150, 320, false, -0.5}, Case{385, 450, false, -0.5},
                          Case{300, 700, true, 0.4}, Case{790, 900, true, -0.5}}) {
        SCOPED_TRACE(c.faultM);
        Shot shot = onCable(c.faultM, c.lengthM, c.longRange);
        shot.cable.faultReflection = c.faultReflection;
        const TraceFinding found = findFault(tdrTrace(shot, true), setupOf(shot));
        ASSERT_TRUE(found.fault);
        EXPECT_NEAR(double(found.fault->point), edgeAt(shot, c.faultM), 1.0);
        EXPECT_EQ(found.fault->polarity, c.faultReflection < 0 ? -1 : 1);
        // The distance is the one the Result frame reads with the cursors there.
        EXPECT_EQ(found.fault->distanceM, readoutMetres(shot.longRange ? 2 : 1, double(found.fault->point - found.zeroPoint),
                                                        kSpeedDesign, true));
        EXPECT_NEAR(double(found.fault->distanceM), c.faultM, 0.81 * (c.longRange ? 2 : 1) + 0.5);
        EXPECT_NEAR(found.noise, 0.6, 0.25);
    }
}

TEST(FaultFinder, AnOpenOrAShortedEndIsTheFarEndAndAHealthyCableAloneShowsOnlyItsEnd)
{
    for (const sim::FarEnd end : {sim::FarEnd::Open, sim::FarEnd::Short}) {
        Shot shot = onCable(150, 320);
        shot.cable.farEnd = end;
        const int sense = end == sim::FarEnd::Open ? 1 : -1;
        const TraceFinding faulted = findFault(tdrTrace(shot, true), setupOf(shot));
        ASSERT_TRUE(faulted.fault && faulted.farEnd);
        EXPECT_EQ(faulted.farEnd->polarity, sense);
        // A quarter of the pulse gets past the fault and back, faint and smeared.
        EXPECT_NEAR(double(faulted.farEnd->point), edgeAt(shot, 320), 3.0);
        EXPECT_EQ(findingText(faulted), "Reflection found at " + std::to_string(faulted.fault->distanceM) + " m, far end at "
                                            + std::to_string(faulted.farEnd->distanceM) + " m");

        const TraceFinding healthy = findFault(tdrTrace(shot, false), setupOf(shot));
        ASSERT_TRUE(healthy.fault);
        EXPECT_NEAR(double(healthy.fault->point), edgeAt(shot, 320), 1.0);
        EXPECT_EQ(healthy.fault->polarity, sense);
        EXPECT_FALSE(healthy.farEnd);
    }
}

TEST(FaultFinder, NothingClearIsNothingFound)
{
    // The pulse off: a quiet line.
    Shot quiet = onCable(150, 320);
    quiet.pulseOn = false;
    const TraceFinding none = findFault(tdrTrace(quiet, true), setupOf(quiet));
    EXPECT_FALSE(none.fault);
    EXPECT_EQ(findingText(none), "No clear reflection found");
    // A cable longer than the range with no fault on view: the launch and noise, however loud.
    Shot long400 = onCable(1000, 2000);
    for (const double noise : {0.3, 1.0, 3.0}) {
        long400.noise = noise;
        long400.seed = 7;
        const TraceFinding found = findFault(tdrTrace(long400, false), setupOf(long400));
        EXPECT_FALSE(found.fault) << noise << " at " << found.fault->point;
        EXPECT_NEAR(found.noise, std::max(noise, 0.33), 0.35 * noise);
    }
    // A weak echo lost in the noise is not guessed at.
    Shot faint = onCable(150, 2000);
    faint.cable.faultReflection = -0.04;
    faint.noise = 1.5;
    EXPECT_FALSE(findFault(tdrTrace(faint, true), setupOf(faint)).fault);
}

TEST(FaultFinder, AgainstAReferenceTheJointsBothShareAreNotReportedAndATraceOfAnotherRangeIsRefused)
{
    Shot shot = onCable(210, 320);
    shot.cable.joints = {{60, 0.12}, {120, -0.1}, {260, 0.1}};
    const TraceLevels faulted = tdrTrace(shot, true);
    // Alone the first joint is the first reflection.
    const TraceFinding alone = findFault(faulted, setupOf(shot));
    ASSERT_TRUE(alone.fault);
    EXPECT_NEAR(double(alone.fault->point), edgeAt(shot, 60), 1.0);

    Shot before = shot;
    before.seed = 2;
    const ReferenceTrace reference{tdrTrace(before, false), 1, true};
    const TraceFinding against = findFault(faulted, reference, setupOf(shot));
    ASSERT_TRUE(against.fault);
    EXPECT_NEAR(double(against.fault->point), edgeAt(shot, 210), 1.0);
    ASSERT_TRUE(against.farEnd);
    EXPECT_NEAR(double(against.farEnd->point), edgeAt(shot, 320), 3.0);
    EXPECT_EQ(findingText(against, "26-11-01 10-00-00 (R-N=Internal)"),
              "Reflection found at " + std::to_string(against.fault->distanceM)
                  + " m (against reference 26-11-01 10-00-00 (R-N=Internal)), far end at "
                  + std::to_string(against.farEnd->distanceM) + " m");

    // The healthy cable shot twice, the second shot a little late, a little stronger, and late
    // by a little more along the cable (as the cable warms): nothing has changed.
    Shot again = before;
    again.seed = 3;
    again.late = 0.3;
    again.gain = 1.02;
    const TraceFinding unchanged = findFault(tdrTrace(again, false), reference, setupOf(shot));
    EXPECT_FALSE(unchanged.fault) << unchanged.fault->point;
    EXPECT_TRUE(findingText(unchanged, "ref").starts_with("No clear reflection found (against reference ref)"));

    // A strong step (a tee, a change of cable) whose echo comes back a little later than in the
    // reference is no change either.
    Shot stepped = onCable(200, 320);
    stepped.cable.joints = {{60, 0.8}};
    const ReferenceTrace steppedBefore{tdrTrace(stepped, false), 1, true};
    stepped.cable.joints[0].distanceM += 0.35;
    stepped.seed = 5;
    EXPECT_FALSE(findFault(tdrTrace(stepped, false), steppedBefore, setupOf(stepped)).fault);

    // A reference of the other range, or of the other kind, is no reference.
    const TraceFinding otherRange = findFault(faulted, ReferenceTrace{reference.levels, 2, true}, setupOf(shot));
    EXPECT_FALSE(otherRange.fault);
    EXPECT_EQ(findingText(otherRange, "ref"),
              "The reference was taken on the 800m range and the trace on the 400m range: they cannot be compared");
    EXPECT_EQ(findFault(faulted, ReferenceTrace{reference.levels, 1, false}, setupOf(shot)).refusal,
              "The reference is a TRS trace and the trace a TDR trace: they cannot be compared");
}

TEST(FaultFinder, ATrsPairIsLaidTogetherFromTheMastersLaunchAndTheSlavesArrivalAndItsTwoReadingsAddUpToTheCable)
{
    Shot shot = onCable(150, 320);
    const TraceLevels master = trsTrace(shot, sim::ownShot(shot.cable, sim::TrsRole::Master, true), 1500, 1);
    const TraceLevels slave = trsTrace(shot, sim::slaveView(shot.cable), 2400, 2);
    const TrsPairFinding pair = findTrsPair(master, 1500, slave, 2400, 1, kSpeedDesign);
    ASSERT_TRUE(pair.lockable);
    // On each trace distances count from the launch (or the arrival) found after the injection.
    EXPECT_EQ(pair.master.zeroPoint, 1506);
    EXPECT_EQ(pair.slave.zeroPoint, 2406);
    EXPECT_EQ(pair.lockDifference, 900);
    ASSERT_TRUE(pair.master.fault && pair.slave.fault && pair.sumM);
    EXPECT_NEAR(double(pair.master.fault->distanceM), 150, 3.24 + 0.5);
    ASSERT_TRUE(pair.master.farEnd);  // the Slave's open end
    EXPECT_NEAR(double(pair.master.farEnd->distanceM), 320.0, 2 * 3.24);
    EXPECT_NEAR(double(pair.slave.fault->distanceM), 170, 3.24 + 0.5);
    const long long d = pair.master.fault->distanceM, other = pair.slave.fault->distanceM;
    const std::vector<std::string> lines = trsPairLines(pair, 320.0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Master's launch at 1506, Slave's arrival at 2406: LOCK lays them together");
    EXPECT_EQ(lines[1], "Fault " + std::to_string(d) + " m from the Master, " + std::to_string(other) + " m from the Slave");
    EXPECT_TRUE(lines[2].starts_with(std::to_string(d) + " m + " + std::to_string(other) + " m = " + std::to_string(d + other)
                                     + " m against the cable's 320 m: "))
        << lines[2];
    EXPECT_EQ(trsPairLines(pair, std::nullopt)[2],
              std::to_string(d) + " m + " + std::to_string(other) + " m = " + std::to_string(d + other) + " m; give the cable's length to compare");
    // 330 m of cable for readings of 320 m: 10 m short, 3 %.
    TrsPairFinding off = pair;
    off.sumM = 320;
    EXPECT_TRUE(trsPairLines(off, 330.0)[2].ends_with(" against the cable's 330 m: 10 m short (3.0 %)"));

    // A Slave that heard nothing gives nothing to lock.
    const TraceLevels silent = trsTrace(shot, {}, 2400, 3);
    const TrsPairFinding alone = findTrsPair(master, 1500, silent, 2400, 1, kSpeedDesign);
    EXPECT_FALSE(alone.lockable);
    EXPECT_EQ(trsPairLines(alone, 320.0)[0], "No arrival found on the Slave's trace");
    EXPECT_EQ(trsPairLines(alone, 320.0).size(), 2u);
}
