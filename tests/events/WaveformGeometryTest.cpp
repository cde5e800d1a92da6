// Where the marker grid lies for each unit version, and what a click on the picture picks.
#include "events/WaveformGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace mr3x::events;

TEST(WaveformGeometry, EarlyAndLaterVersionsPlaceTheGridAndTheZoomedViewTogether)
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
    EXPECT_DOUBLE_EQ(gridX(0, 913), 913);
    // The zoomed view holds the whole grid in both cases.
    for (const char* version : {"1", "2"}) {
        const int origin = markerOrigin(version);
        EXPECT_GE(origin, zoomStart(version)) << version;
        EXPECT_LE(gridX(kGridPositions - 1, origin), zoomStart(version) + kZoomWidth) << version;
    }
}

TEST(WaveformGeometry, AClickPicksByWholeStepsOfTwentyTruncatingTowardZero)
{
    const int origin = 1236;
    EXPECT_EQ(gridPositionAt(origin + 19, origin), 0);
    EXPECT_EQ(gridPositionAt(origin + 20, origin), 1);
    EXPECT_EQ(gridPositionAt(origin - 19, origin), 0);
    EXPECT_FALSE(gridPositionAt(origin - 20, origin));
    EXPECT_EQ(gridPositionAt(origin + 63 * 20 + 19, origin), 63);
    EXPECT_FALSE(gridPositionAt(origin + 64 * 20, origin));
    // The distance is rounded half to even before the division.
    EXPECT_EQ(gridPositionAt(origin + 19.5, origin), 1);
    EXPECT_EQ(gridPositionAt(origin + 20.5, origin), 1);
    EXPECT_EQ(gridPositionAt(origin + 39.5, origin), 2);
    EXPECT_FALSE(gridPositionAt(origin - 19.5, origin));
    for (const double odd : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), 1e300})
        EXPECT_FALSE(gridPositionAt(odd, origin)) << odd;
}

TEST(WaveformGeometry, AMeteringClickStaysBetweenPointsFortyAndSevenSixty)
{
    EXPECT_EQ(measuringPointAt(100, false), 40);
    EXPECT_EQ(measuringPointAt(7999, false), 760);
    EXPECT_EQ(measuringPointAt(500, true), 80);
    EXPECT_EQ(measuringPointAt(500, false), 50);
    EXPECT_EQ(measuringPointAt(1604, false), 160);
    EXPECT_EQ(measuringPointAt(1605, false), 161);
    EXPECT_EQ(measuringPointAt(1594.5, false), 160); // 1599.5 rounds to 1600
    EXPECT_EQ(measuringPointAt(7999, true), 760);
    EXPECT_EQ(measuringPointAt(std::numeric_limits<double>::quiet_NaN(), false), 40);
    EXPECT_EQ(measuringPointAt(-std::numeric_limits<double>::infinity(), false), 40);
    EXPECT_EQ(measuringPointAt(std::numeric_limits<double>::infinity(), false), 760);
}
