// From the propagation speed and a cursor difference to the metres the Result frame shows.
#include "tdr/Distance.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mr3x::tdr;

namespace {

/// The read-out as the viewer builds it: the percentage read back from the caption it shows.
std::string readOut(int speed, double scale, double difference, bool tdrMode)
{
    return distanceText(distanceMetres(scale, difference, percentFromCaption(dielectricCaption(speed)), tdrMode));
}

} // namespace

TEST(Distance, TheDesignSpeedTurnsAHundredUnitsIntoEightyOneMetres)
{
    EXPECT_EQ(dielectricCaption(kSpeedDesign), "54.0% (v/2=81.0m/us)");
    EXPECT_EQ(readOut(kSpeedDesign, 1, 100, true), "81 m");
    EXPECT_EQ(readOut(kSpeedDesign, 2, 100, true), "162 m");
    EXPECT_EQ(readOut(kSpeedDesign, 1, 100, false), "324 m");
    EXPECT_EQ(readOut(kSpeedDesign, 1, -100, true), "-81 m");
    EXPECT_EQ(readOut(kSpeedDesign, 1, 0, true), "0 m");
}

TEST(Distance, TheCaptionCoversTheWholeBarAndItsFirstFourCharactersGiveThePercentage)
{
    EXPECT_EQ(dielectricCaption(kSpeedMax), "100.0% (v/2=150.0m/us)");
    EXPECT_EQ(percentFromCaption(dielectricCaption(kSpeedMax)), 100.0);  // from "100."
    EXPECT_EQ(readOut(kSpeedMax, 1, 100, true), "150 m");
    EXPECT_EQ(dielectricCaption(kSpeedMin), "30.0% (v/2=45.0m/us)");
    EXPECT_EQ(percentFromCaption(dielectricCaption(kSpeedMin)), 30.0);
    // Half a tenth rounds up: 301 x 0.15 = 45.15.
    EXPECT_EQ(dielectricCaption(301), "30.1% (v/2=45.2m/us)");
    EXPECT_EQ(dielectricCaption(999), "99.9% (v/2=149.9m/us)");
    EXPECT_DOUBLE_EQ(percentFromCaption(dielectricCaption(543)), 54.3);
    // "##.0" writes no zero before the point.
    EXPECT_EQ(dielectricCaption(5), ".5% (v/2=.8m/us)");
    EXPECT_EQ(percentFromCaption(""), 0.0);
}

TEST(Distance, WholeMetresRoundHalfAwayFromZeroAndNothingIsNeverNegative)
{
    EXPECT_EQ(distanceText(80.5), "81 m");
    EXPECT_EQ(distanceText(-80.5), "-81 m");
    EXPECT_EQ(distanceText(80.49), "80 m");
    EXPECT_EQ(distanceText(-0.4), "0 m");
    EXPECT_EQ(distanceText(std::nan("")), "0 m");
    // One unit at 54.0%, scale 1: 0.81 m shows as 1 m.
    EXPECT_EQ(readOut(kSpeedDesign, 1, 1, true), "1 m");
}

TEST(Distance, CursorsStayOnThePlotAndTheirLabelsShowWholeUnits)
{
    EXPECT_EQ(clampCursorX(0.2), 1);
    EXPECT_EQ(clampCursorX(-50), 1);
    EXPECT_EQ(clampCursorX(9000), 8191);
    EXPECT_EQ(clampCursorX(300.7), 300.7);
    EXPECT_EQ(clampCursorX(std::nan("")), 1);

    EXPECT_EQ(cursorPosition(24.5), 25);
    EXPECT_EQ(cursorPosition(24.49), 24);
    EXPECT_EQ(cursorPosition(-2.6), -3);
    EXPECT_EQ(cursorPosition(-2.5), -2);  // Int(-2.0)
    EXPECT_EQ(cursorPosition(0), 0);     // RESET's cursors are not held to the plot

    EXPECT_EQ(cursorText(25), " 25");
    EXPECT_EQ(cursorText(-3), "-3");
    // A right click at 300: the zero cursor joins the moving one, difference and distance nothing.
    const long long zero = cursorPosition(300), moving = cursorPosition(300);
    EXPECT_EQ(cursorText(moving - zero), " 0");
}
