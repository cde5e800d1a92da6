// The Metering tab's meters: values at their edges, the window and look-back near both ends of
// the recording, and the captions; where the marker grid lies for each unit version, and what a
// click on the picture picks.
#include "EventBytes.h"
#include "events/Meters.h"
#include "events/WaveformGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

using namespace mr3x::events;
using namespace mr3x::events::test;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();

TEST(Meters, VoltagesAndCurrentAtTheirEdgeValuesFromTheFullScaleTextAndRoundedInTheCaptions)
{
    // Channel 0: 126 levels (381.94 volts) at the point among 31s (33.87 levels rms); channel 1:
    // 31 levels (93.97 volts); channel 2: 129 below zero (-391.03); the current 16 of 2000 / 128 A.
    EventRecord record = constantRecord({160, 160, 0, 140});
    setSample(record, 160, 0, 255);
    const MeterReadings m = readMeters(record, 160, false, ampsPerLevel("2000A"));
    struct Case { int channel; long long instant; long long rms; };
    for (const Case& c : {Case{0, 382, 103}, Case{1, 94, 94}, Case{2, -391, 391}, Case{3, 250, 250}}) {
        EXPECT_EQ(m.channel[c.channel].instant, c.instant) << c.channel;
        EXPECT_EQ(m.channel[c.channel].rms, c.rms) << c.channel;
    }
    EXPECT_EQ(m.windowStart, 120);

    // The full scale is the number at the start of its text.
    EXPECT_DOUBLE_EQ(ampsPerLevel("1000A"), 1000.0 / 128);
    EXPECT_DOUBLE_EQ(ampsPerLevel(" 4000A"), 4000.0 / 128);
    // With no full scale the current reads 0 amps.
    EXPECT_DOUBLE_EQ(ampsPerLevel("---"), 0.0);
    EXPECT_EQ(readMeters(constantRecord({129, 129, 129, 200}), 400, false, ampsPerLevel("---")).channel[3].instant, 0);

    // Rounding is half to even for the meters and half away for the raw volts in the captions.
    const ChannelMeter meter{-5, 17, -3, -9.09375};
    EXPECT_EQ(meterCaption(2, meter, false), "-5 volts (17 volts rms)");
    EXPECT_EQ(meterCaption(1, meter, true), "-3 levels (-9 volts)");
    EXPECT_EQ(meterCaption(3, ChannelMeter{0, 0, 2, 31.25}, true), "2 levels (31 amps)");
    // 80 levels are exactly 242.5 volts.
    EventRecord eighty = constantRecord({129, 129, 129, 124});
    setSample(eighty, 400, 0, 209);
    EXPECT_EQ(meterCaption(0, readMeters(eighty, 400, false, 0).channel[0], false), "242 volts (27 volts rms)");
    const MeterReadings raw = readMeters(eighty, 400, true, 0);
    EXPECT_EQ(raw.channel[0].rawLevels, 80);
    EXPECT_DOUBLE_EQ(raw.channel[0].rawScaled, 242.5);
    EXPECT_EQ(meterCaption(0, raw.channel[0], true), "80 levels (243 volts)");
}

TEST(Meters, NearTheEndsTheRmsWindowStaysInsideTheRecordingAndRawModeLooksBackEightyGroups)
{
    // Channel 0 has 80 levels at the first and the last group; channel 1 is 50 levels low at
    // groups 680 and 719; everything else is at zero. The trace area behind the samples holds 255s.
    EventRecord record = constantRecord({129, 129, 129, 124});
    setSample(record, 0, 0, 209);
    setSample(record, 799, 0, 209);
    setSample(record, 680, 1, 79);
    setSample(record, 719, 1, 79);

    // One group of 80 levels in a window of 80 is sqrt(80) levels: 27.11 volts. A point outside
    // the recording is held to it.
    EXPECT_FALSE(isMeasuringPoint(0) || isMeasuringPoint(801));
    EXPECT_TRUE(isMeasuringPoint(1) && isMeasuringPoint(800));
    struct Case { int m; int point; int windowStart; long long instant; long long rms; };
    for (const Case& c : {Case{1, 1, 0, 0, 27}, Case{40, 40, 0, 0, 27}, Case{41, 41, 1, 0, 0},
                          Case{759, 759, 719, 0, 0}, Case{760, 760, 720, 0, 27}, Case{761, 761, 720, 0, 27},
                          Case{800, 800, 720, 242, 27}, Case{0, 1, 0, 0, 27}, Case{-100000, 1, 0, 0, 27},
                          Case{1000000, 800, 720, 242, 27}}) {
        const MeterReadings r = readMeters(record, c.m, false, 0);
        // Nothing raw, and nothing from the trace area on the current.
        EXPECT_EQ(std::tuple(r.measuringPoint, r.windowStart, r.channel[0].instant, r.channel[0].rms,
                             r.channel[0].rawLevels, r.channel[3].rms),
                  std::tuple(c.point, c.windowStart, c.instant, c.rms, 0LL, 0LL)) << c.m;
    }

    // Raw mode looks back eighty groups from the group it reads.
    struct Raw { int m; int point; long long raw0; long long raw1; };
    for (const Raw& c : {Raw{1, 80, -80, 0}, Raw{40, 80, -80, 0}, Raw{760, 760, 0, -50},
                         Raw{761, 761, 0, 0}, Raw{800, 800, 80, -50}}) {
        const MeterReadings r = readMeters(record, c.m, true, 0);
        EXPECT_EQ(std::tuple(r.measuringPoint, r.channel[0].rawLevels, r.channel[1].rawLevels), std::tuple(c.point, c.raw0, c.raw1)) << c.m;
    }
    // Raised to 80, the window is groups 40 to 119 and holds neither end.
    EXPECT_EQ(readMeters(record, 1, true, 0).channel[0].rms, 0);
}

TEST(WaveformGeometry, VersionsPlaceTheGridAndTheZoomedViewAndAClickPicksAGridPositionOrAMeteringPoint)
{
    for (const char* early : {"", "0", "1", "3"}) {
        EXPECT_EQ(markerOrigin(early), 913) << early;
        EXPECT_EQ(zoomStart(early), 760) << early;
    }
    for (const char* later : {"2", "4", "11", "15"}) {
        EXPECT_EQ(markerOrigin(later), 1236) << later;
        EXPECT_EQ(zoomStart(later), 1080) << later;
    }
    EXPECT_DOUBLE_EQ(gridX(63, markerOrigin("2")), 2508.6);
    // The zoomed view holds the whole grid in both cases.
    for (const char* version : {"1", "2"}) {
        const int origin = markerOrigin(version);
        EXPECT_GE(origin, zoomStart(version)) << version;
        EXPECT_LE(gridX(kGridPositions - 1, origin), zoomStart(version) + kZoomWidth) << version;
    }

    // A click picks by whole steps of twenty from the origin, truncating toward zero; the distance
    // is rounded half to even before the division. -1 picks nothing.
    const int origin = 1236;
    struct Step { double offset; int position; };
    for (const Step& c : {Step{19, 0}, Step{20, 1}, Step{-19, 0}, Step{-20, -1}, Step{63 * 20 + 19, 63}, Step{64 * 20, -1},
                          Step{19.5, 1}, Step{20.5, 1}, Step{39.5, 2}, Step{-19.5, -1}, Step{kNan, -1}, Step{kInf, -1},
                          Step{-kInf, -1}})
        EXPECT_EQ(gridPositionAt(origin + c.offset, origin).value_or(-1), c.position) << c.offset;

    // A metering click stays between points 40 and 760.
    struct Case { double x; bool raw; int point; };
    for (const Case& c : {Case{100, false, 40}, Case{7999, false, 760}, Case{500, true, 80}, Case{500, false, 50},
                          Case{1604, false, 160}, Case{1605, false, 161}, Case{1594.5, false, 160} /* 1599.5 to 1600 */,
                          Case{7999, true, 760}, Case{kNan, false, 40}, Case{-kInf, false, 40}, Case{kInf, false, 760}})
        EXPECT_EQ(measuringPointAt(c.x, c.raw), c.point) << c.x << (c.raw ? " raw" : "");
}
