// The dips, swells and interruptions of an event: the EN 50160 cell each falls in, at the bands'
// edges, and the measurement on recordings of the simulated unit's mains with a dip of known
// depth and length.
#include "events/DipClasses.h"
#include "events/Dips.h"
#include "events/Meters.h"
#include "sim/Waveforms.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mr3x;
using namespace mr3x::events;

namespace {

/// The simulated unit's mains, the phases in `dippedPhases` at `remaining` of their voltage for
/// `groups` groups from `start`.
EventRecord withDip(int dippedPhases, int start, int groups, double remaining)
{
    sim::SimRandom random(1);
    const std::vector<std::uint8_t> samples = sim::mainsSamples(random, {0, start, groups, remaining, dippedPhases});
    EventRecord record;
    std::copy(samples.begin(), samples.end(), record.samples.begin());
    return record;
}

} // namespace

TEST(Dips, EachBandHoldsItsLowerVoltageAndItsUpperDuration)
{
    for (const auto& [percent, band] : {std::pair{90.0, ""}, {89.99, "90-80"}, {80.0, "90-80"}, {79.99, "80-70"}, {70.0, "80-70"},
                                        {69.9, "70-40"}, {40.0, "70-40"}, {39.9, "40-5"}, {5.0, "40-5"}, {4.99, "<5"}, {0.0, "<5"}})
        EXPECT_EQ(residualBand(DipKind::Dip, percent), band) << percent;
    EXPECT_EQ(residualBand(DipKind::Swell, 110.1), "120-110");
    EXPECT_EQ(residualBand(DipKind::Swell, 120.0), ">=120");
    for (const auto& [ms, band] : {std::pair{9.99, "<10ms"}, {10.0, "10-200ms"}, {200.0, "10-200ms"}, {200.01, "200-500ms"},
                                   {500.0, "200-500ms"}, {1000.0, "500-1000ms"}, {1000.5, "1000-5000ms"}, {5000.0, "1000-5000ms"},
                                   {60000.0, "5000-60000ms"}, {60000.1, ">60000ms"}})
        EXPECT_EQ(durationBand(DipKind::Dip, ms), band) << ms;
    EXPECT_EQ(durationBand(DipKind::Swell, 500.0), "10-500ms");
    EXPECT_EQ(durationBand(DipKind::Swell, 500.1), "500-5000ms");

    Dip dip{1, DipKind::Dip, 115.2, 50.04, 120, 640, false};
    EXPECT_EQ(dipLine(dip, 50), "Vy: dip to 115 V (50.0 %) from 30.0 ms for 160.0 ms, dip 70-40%, 10-200ms");
    dip.pastEnd = true;
    EXPECT_EQ(dipLine(dip, 60), "Vy: dip to 115 V (50.0 %) from 25.0 ms, runs past the recording (133.3 ms so far), "
                                "dip 70-40%, 10-200ms");
}

TEST(Dips, DipsSwellsAndInterruptionsOfKnownDepthAndLengthAreReadBackAgainstTheFirstCycleOrTheNominalVoltage)
{
    // Vy at half its voltage from group 200 for three cycles (60 ms at 50 Hz).
    const EventRecord record = withDip(0b010, 200, 240, 0.5);
    const DipMeasurement m = measureDips(record);
    EXPECT_FALSE(m.nominalReference);
    EXPECT_NEAR(m.referenceVolts, 230, 2);
    ASSERT_EQ(m.dips.size(), 1u);
    const Dip& dip = m.dips.front();
    EXPECT_EQ(dip.channel, 1);
    EXPECT_EQ(dip.kind, DipKind::Dip);
    EXPECT_NEAR(dip.residualPercent, 50, 2);
    EXPECT_NEAR(dip.residualVolts, 115, 4);
    EXPECT_NEAR(dip.startGroup, 200, kHalfCycleGroups);
    EXPECT_NEAR(dip.durationGroups, 240, kCycleGroups);
    EXPECT_FALSE(dip.pastEnd);
    EXPECT_EQ(dipClass(dip, 50), "dip 70-40%, 10-200ms");
    EXPECT_EQ(dipLines(m, 50), (std::vector<std::string>{"Reference " + oneDecimal(m.referenceVolts) + " V (first cycle)",
                                                          dipLine(dip, 50)}));

    // Against a nominal 240 V the same dip is deeper, and the healthy phases are 4 % low: no dip.
    const DipMeasurement nominal = measureDips(record, 240.0);
    EXPECT_TRUE(nominal.nominalReference);
    ASSERT_EQ(nominal.dips.size(), 1u);
    EXPECT_NEAR(nominal.dips.front().residualPercent, 100 * 115.0 / 240, 2);

    // The half-cycle values are the meters' rms over the same cycle.
    const std::vector<double> rms = halfCycleRms(record, 1);
    ASSERT_EQ(rms.size(), 19u);
    for (std::size_t k = 0; k < rms.size(); ++k)
        EXPECT_NEAR(rms[k], double(readMeters(record, int(40 * k + 40), false, 0).channel[1].rms), 0.5) << k;

    // All phases interrupted, a swell, and a dip that runs past the recording.
    const DipMeasurement three = measureDips(withDip(0b111, 300, 200, 0.02));
    ASSERT_EQ(three.dips.size(), 3u);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(three.dips[std::size_t(c)].channel, c);
        EXPECT_EQ(three.dips[std::size_t(c)].kind, DipKind::Interruption);
        EXPECT_TRUE(dipClass(three.dips[std::size_t(c)], 50).starts_with("interruption <5%, ")) << dipClass(three.dips[std::size_t(c)], 50);
    }

    const DipMeasurement swell = measureDips(withDip(0b001, 300, 200, 1.15), 230.0);
    ASSERT_EQ(swell.dips.size(), 1u);
    EXPECT_EQ(swell.dips.front().kind, DipKind::Swell);
    EXPECT_NEAR(swell.dips.front().residualPercent, 115, 2);
    EXPECT_EQ(dipClass(swell.dips.front(), 50), "swell 120-110%, 10-500ms");

    const DipMeasurement late = measureDips(withDip(0b100, 600, 400, 0.3));
    ASSERT_EQ(late.dips.size(), 1u);
    EXPECT_TRUE(late.dips.front().pastEnd);
    EXPECT_NEAR(late.dips.front().startGroup + late.dips.front().durationGroups, kSampleGroups, 0.01);
    EXPECT_NE(dipLine(late.dips.front(), 50).find("runs past the recording"), std::string::npos);

    // A line that runs at 91 % of its nominal voltage dips from there and comes back to 91 %:
    // short of the 92 % that ends a dip, so it has not ended. At 93 % it has.
    const EventRecord dipped = withDip(0b001, 200, 200, 0.8);
    const DipMeasurement at91 = measureDips(dipped, 230.0 / 0.91);
    ASSERT_EQ(at91.dips.size(), 1u);
    EXPECT_TRUE(at91.dips.front().pastEnd);
    const DipMeasurement at93 = measureDips(dipped, 230.0 / 0.93);
    ASSERT_EQ(at93.dips.size(), 1u);
    EXPECT_FALSE(at93.dips.front().pastEnd);
    EXPECT_NEAR(at93.dips.front().durationGroups, 200, kCycleGroups);

    // A recording with no voltage on it has no reference to read a dip against.
    EventRecord dead;
    std::fill(dead.samples.begin(), dead.samples.end(), std::uint8_t(kVoltageZero));
    const DipMeasurement none = measureDips(dead);
    EXPECT_TRUE(none.dips.empty());
    EXPECT_EQ(dipLines(measureDips(withDip(0, 0, 0, 1)), 50).back(), "No dip, swell or interruption");
}
