// The table of cable types a user can edit, and the speed calibrated on a known length.
#include "tdr/CableTypeTable.h"
#include "tdr/Calibration.h"
#include "tdr/Distance.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mr3x::tdr;

TEST(CableTypeTable, TheShippedTableHoldsOnlyGoodTypesWithinTheSpeedBar)
{
    const CableTable table = readCableTable(shippedCableTable());
    EXPECT_TRUE(table.broken.empty());
    ASSERT_GE(table.types.size(), 5u);
    EXPECT_EQ(table.types.front(), (CableType{"XLPE", 632}));
    for (const CableType& type : table.types) {
        EXPECT_GE(type.speed, kSpeedMin) << type.name;
        EXPECT_LE(type.speed, kSpeedMax) << type.name;
    }
}

TEST(CableTypeTable, AHandEditedLineThatNamesNoTypeIsReportedByNumberAndNeverLost)
{
    const std::vector<std::string> lines = {
        "# my cables",
        "XLPE,63.2",
        "Paper, oil-filled , 52.7%",  // the name runs to the last comma
        "NoComma",
        "Bad speed,fast",
        "Too slow,29.9",
        ",50",
        "",
        "xlpe,60",                    // a second XLPE
        "Rounded,54.25",
        "  Blank edges ,  70 ",
    };
    const CableTable table = readCableTable(lines);
    EXPECT_EQ(table.types, (std::vector<CableType>{{"XLPE", 632}, {"Paper, oil-filled", 527}, {"Rounded", 543}, {"Blank edges", 700}}));
    ASSERT_EQ(table.broken.size(), 5u);
    EXPECT_EQ(table.broken[0].number, 4);
    EXPECT_EQ(table.broken[0].text, "NoComma");
    EXPECT_NE(table.broken[0].reason.find("no comma"), std::string::npos);
    EXPECT_NE(table.broken[1].reason.find("\"fast\" is not a speed"), std::string::npos);
    EXPECT_EQ(table.broken[2].number, 6);
    EXPECT_NE(table.broken[3].reason.find("no name"), std::string::npos);
    EXPECT_EQ(table.broken[4].number, 9);
    EXPECT_NE(table.broken[4].reason.find("earlier line"), std::string::npos);

    // Keeping a type changes its own line, in any case, or adds one; every other line stays.
    std::vector<std::string> kept = withCableType(lines, {"Xlpe", 615});
    EXPECT_EQ(kept.size(), lines.size());
    EXPECT_EQ(kept[1], "Xlpe,61.5");
    for (std::size_t i = 2; i < lines.size(); ++i)
        EXPECT_EQ(kept[i], lines[i]);
    kept = withCableType(lines, {"Feeder 7", 1000});
    EXPECT_EQ(kept.size(), lines.size() + 1);
    EXPECT_EQ(kept.back(), "Feeder 7,100.0");
    EXPECT_EQ(std::vector<std::string>(kept.begin(), kept.end() - 1), lines);
}

TEST(CableTypeTable, NamesAndSpeedsTheTableCanHold)
{
    EXPECT_EQ(speedOfPercentText("54"), 540);
    EXPECT_EQ(speedOfPercentText("100.0%"), 1000);
    EXPECT_EQ(speedOfPercentText("30.04"), 300);
    EXPECT_FALSE(speedOfPercentText("100.1"));
    EXPECT_FALSE(speedOfPercentText("5e1"));
    EXPECT_FALSE(speedOfPercentText("-54"));
    EXPECT_FALSE(speedOfPercentText(""));
    EXPECT_EQ(percentText(300), "30.0");
    EXPECT_EQ(cableTypeLine({"PE", 659}), "PE,65.9");
    EXPECT_FALSE(cableNameProblem("Feeder 7, section 2"));
    EXPECT_TRUE(cableNameProblem("   "));
    EXPECT_TRUE(cableNameProblem("#1"));
    EXPECT_TRUE(cableNameProblem("a\tb"));
    EXPECT_TRUE(cableNameProblem(std::string(61, 'x')));
}

TEST(Calibration, TheSpeedFoundMakesTheReadOutShowTheLengthGiven)
{
    const auto readOut = [](int speed, double scale, double difference, bool tdrMode) {
        return distanceMetres(scale, difference, percentFromCaption(dielectricCaption(speed)), tdrMode);
    };
    // The design speed from its own example: 100 units at scale 1 are 81 m in TDR mode, 324 m in TRS.
    EXPECT_EQ(calibrateSpeed(81, 100, 1, true)->speed, 540);
    EXPECT_EQ(calibrateSpeed(324, 100, 1, false)->speed, 540);
    EXPECT_EQ(calibrateSpeed(162, -100, 2, true)->speed, 540);  // the cursors either way round
    // Over the whole bar the read-out is within half a step of the bar (a tenth of a percent) of
    // the length, which on short cables is the length itself in whole metres.
    for (double scale : {1.0, 2.0})
        for (bool tdrMode : {true, false})
            for (double difference : {7.0, 100.0, 333.0, 487.0})
                for (int target = kSpeedMin; target <= kSpeedMax; target += 37) {
                    const double length = readOut(target, scale, difference, tdrMode) * 1.0003;
                    const std::optional<Calibration> c = calibrateSpeed(length, difference, scale, tdrMode);
                    ASSERT_TRUE(c);
                    const double step = readOut(2, scale, difference, tdrMode) - readOut(1, scale, difference, tdrMode);
                    if (c->held)
                        continue;
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
    const std::optional<Calibration> huge = calibrateSpeed(1e300, 0.001, 1, true);
    ASSERT_TRUE(huge);
    EXPECT_TRUE(huge->held);
    EXPECT_EQ(huge->speed, kSpeedMax);

    EXPECT_FALSE(calibrateSpeed(81, 0, 1, true));
    EXPECT_FALSE(calibrateSpeed(0, 100, 1, true));
    EXPECT_FALSE(calibrateSpeed(-81, 100, 1, true));
    EXPECT_FALSE(calibrateSpeed(std::nan(""), 100, 1, true));
    EXPECT_FALSE(calibrateSpeed(81, 100, 0, true));
}
