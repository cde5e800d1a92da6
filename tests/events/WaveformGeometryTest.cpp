// Where the marker grid lies for each unit version, and what a click on the picture picks.
#include "events/WaveformGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace mr3x::events;

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();

} // namespace

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
    // The zoomed view holds the whole grid in both cases.
    for (const char* version : {"1", "2"}) {
        const int origin = markerOrigin(version);
        EXPECT_GE(origin, zoomStart(version)) << version;
        EXPECT_LE(gridX(kGridPositions - 1, origin), zoomStart(version) + kZoomWidth) << version;
    }
}

TEST(WaveformGeometry, AClickPicksByWholeStepsOfTwentyTruncatingTowardZero)
{
    // From the origin; the distance is rounded half to even before the division. -1 picks nothing.
    const int origin = 1236;
    struct Case { double offset; int position; };
    for (const Case& c : {Case{19, 0}, Case{20, 1}, Case{-19, 0}, Case{-20, -1}, Case{63 * 20 + 19, 63}, Case{64 * 20, -1},
                          Case{19.5, 1}, Case{20.5, 1}, Case{39.5, 2}, Case{-19.5, -1}, Case{kNan, -1}, Case{kInf, -1},
                          Case{-kInf, -1}})
        EXPECT_EQ(gridPositionAt(origin + c.offset, origin).value_or(-1), c.position) << c.offset;
}

TEST(WaveformGeometry, AMeteringClickStaysBetweenPointsFortyAndSevenSixty)
{
    struct Case { double x; bool raw; int point; };
    for (const Case& c : {Case{100, false, 40}, Case{7999, false, 760}, Case{500, true, 80}, Case{500, false, 50},
                          Case{1604, false, 160}, Case{1605, false, 161}, Case{1594.5, false, 160} /* 1599.5 to 1600 */,
                          Case{7999, true, 760}, Case{kNan, false, 40}, Case{-kInf, false, 40}, Case{kInf, false, 760}})
        EXPECT_EQ(measuringPointAt(c.x, c.raw), c.point) << c.x << (c.raw ? " raw" : "");
}
