// From the propagation speed and a cursor difference to the metres the Result frame shows, and
// back: the speed calibrated on a known length.
#include "tdr/Calibration.h"
#include "tdr/Distance.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mr3x::tdr;

namespace {

/// The metres as the viewer works them out: the percentage read back from the caption it shows.
double readOut(int speed, double scale, double difference, bool tdrMode)
{
    return distanceMetres(scale, difference, percentFromCaption(dielectricCaption(speed)), tdrMode);
}

} // namespace

TEST(Distance, TheDesignSpeedTurnsAHundredUnitsIntoEightyOneMetres)
{
    struct Case { double scale; double difference; bool tdrMode; const char* text; };
    for (const Case& c : {Case{1, 100, true, "81 m"}, Case{2, 100, true, "162 m"}, Case{1, 100, false, "324 m"},
                          Case{1, -100, true, "-81 m"}, Case{1, 0, true, "0 m"},
                          Case{1, 1, true, "1 m"} /* 0.81 m */})
        EXPECT_EQ(distanceText(readOut(kSpeedDesign, c.scale, c.difference, c.tdrMode)), c.text) << c.text;
    // Whole metres round half away from zero, and nothing is never negative.
    for (const auto& [metres, text] : {std::pair{80.5, "81 m"}, {-80.5, "-81 m"}, {80.49, "80 m"}, {-0.4, "0 m"},
                                       {std::nan(""), "0 m"}})
        EXPECT_EQ(distanceText(metres), text) << metres;
}

TEST(Distance, TheCaptionCoversTheWholeBarAndItsFirstFourCharactersGiveThePercentage)
{
    // One decimal rounded half up (301 x 0.15 = 45.15); "##.0" writes no zero before the point.
    struct Case { int speed; const char* caption; double percent; };
    for (const Case& c : {Case{kSpeedDesign, "54.0% (v/2=81.0m/us)", 54.0}, Case{kSpeedMax, "100.0% (v/2=150.0m/us)", 100.0},
                          Case{kSpeedMin, "30.0% (v/2=45.0m/us)", 30.0}, Case{301, "30.1% (v/2=45.2m/us)", 30.1},
                          Case{999, "99.9% (v/2=149.9m/us)", 99.9}, Case{5, ".5% (v/2=.8m/us)", 0.5}}) {
        EXPECT_EQ(dielectricCaption(c.speed), c.caption) << c.speed;
        EXPECT_DOUBLE_EQ(percentFromCaption(dielectricCaption(c.speed)), c.percent) << c.speed;
    }
    EXPECT_EQ(distanceText(readOut(kSpeedMax, 1, 100, true)), "150 m");
    EXPECT_EQ(percentFromCaption(""), 0.0);
}

TEST(Distance, CursorsStayOnThePlotAndTheirLabelsShowWholeUnits)
{
    for (const auto& [x, held] : {std::pair{0.2, 1.0}, {-50.0, 1.0}, {9000.0, 8191.0}, {300.7, 300.7}, {std::nan(""), 1.0}})
        EXPECT_EQ(clampCursorX(x), held) << x;
    // Int(x + 0.5); RESET's cursors at 0 are not held to the plot.
    for (const auto& [x, position] : {std::pair{24.5, 25LL}, {24.49, 24LL}, {-2.6, -3LL}, {-2.5, -2LL}, {0.0, 0LL}})
        EXPECT_EQ(cursorPosition(x), position) << x;
    EXPECT_EQ(cursorText(25), " 25");
    EXPECT_EQ(cursorText(-3), "-3");
    EXPECT_EQ(cursorText(0), " 0");
}

TEST(Calibration, TheSpeedFoundMakesTheReadOutShowTheLengthGiven)
{
    EXPECT_EQ(calibrateSpeed(162, -100, 2, true)->speed, kSpeedDesign);  // the cursors either way round
    // Over the whole bar, in either mode, the speed found is on the bar and the read-out within half
    // a step of the bar (a tenth of a percent) of the length: on short cables the length itself.
    for (double scale : {1.0, 2.0})
        for (bool tdrMode : {true, false})
            for (double difference : {7.0, 100.0, 333.0, 487.0})
                for (int target = kSpeedMin; target <= kSpeedMax; target += 37) {
                    const double length = readOut(target, scale, difference, tdrMode) * 1.0003;
                    const std::optional<Calibration> c = calibrateSpeed(length, difference, scale, tdrMode);
                    ASSERT_TRUE(c);
                    const double step = readOut(2, scale, difference, tdrMode) - readOut(1, scale, difference, tdrMode);
                    EXPECT_FALSE(c->held) << length << " m over " << difference;
                    EXPECT_LE(std::abs(readOut(c->speed, scale, difference, tdrMode) - length), step / 2 + 1e-9)
                        << length << " m over " << difference;
                }
    EXPECT_EQ(distanceText(readOut(calibrateSpeed(100, 123, 1, true)->speed, 1, 123, true)), "100 m");
}

TEST(Calibration, ASpeedBeyondTheBarIsHeldAndCursorsAtOnePointAreRefused)
{
    const std::optional<Calibration> fast = calibrateSpeed(200, 100, 1, true);
    ASSERT_TRUE(fast);
    EXPECT_TRUE(fast->held);
    EXPECT_EQ(fast->speed, kSpeedMax);
    EXPECT_NEAR(fast->percent, 133.33, 0.01);
    const std::optional<Calibration> slow = calibrateSpeed(10, 100, 1, true);
    EXPECT_TRUE(slow->held);
    EXPECT_EQ(slow->speed, kSpeedMin);
    EXPECT_FALSE(calibrateSpeed(150, 100, 1, true)->held);  // exactly 100.0%
    for (const auto& [length, difference, scale] : {std::tuple{81.0, 0.0, 1.0}, {0.0, 100.0, 1.0}, {-81.0, 100.0, 1.0},
                                                    {std::nan(""), 100.0, 1.0}, {81.0, 100.0, 0.0}})
        EXPECT_FALSE(calibrateSpeed(length, difference, scale, true)) << length << " " << difference << " " << scale;
}
