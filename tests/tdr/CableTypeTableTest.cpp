// The table of cable types a user can edit.
#include "tdr/CableTypeTable.h"
#include "tdr/Distance.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(table.broken[0].text, "NoComma");
    const std::pair<int, const char*> numberAndWhy[] = {
        {4, "no comma"}, {5, "\"fast\" is not a speed"}, {6, ""}, {7, "no name"}, {9, "earlier line"}};
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(table.broken[k].number, numberAndWhy[k].first) << k;
        EXPECT_NE(table.broken[k].reason.find(numberAndWhy[k].second), std::string::npos) << table.broken[k].reason;
    }

    // Keeping a type changes its own line, in any case, or adds one; every other line stays.
    std::vector<std::string> expected = lines;
    expected[1] = "Xlpe,61.5";
    EXPECT_EQ(withCableType(lines, {"Xlpe", 615}), expected);
    expected = lines;
    expected.push_back("Feeder 7,100.0");
    EXPECT_EQ(withCableType(lines, {"Feeder 7", 1000}), expected);
}

TEST(CableTypeTable, NamesAndSpeedsTheTableCanHold)
{
    for (const auto& [text, speed] : {std::pair{"54", 540}, {"100.0%", 1000}, {"30.04", 300}, {"100.1", -1}, {"5e1", -1},
                                      {"-54", -1}, {"", -1}})
        EXPECT_EQ(speedOfPercentText(text).value_or(-1), speed) << text;
    EXPECT_EQ(percentText(300), "30.0");
    EXPECT_FALSE(cableNameProblem("Feeder 7, section 2"));
    EXPECT_FALSE(cableNameProblem(std::string(60, 'x')));
    for (const std::string& bad : std::vector<std::string>{"   ", "#1", "a\tb", std::string(61, 'x')})
        EXPECT_TRUE(cableNameProblem(bad)) << bad;
}
