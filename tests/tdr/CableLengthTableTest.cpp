// The cable lengths of TRS unit pairs, as the engineer gives them and as a hand-edited file
// holds them.
#include "tdr/CableLengthTable.h"

#include <gtest/gtest.h>

using namespace mr3x::tdr;

TEST(CableLengthTable, APairsLengthIsFoundEitherWayRoundSetOnceAndBrokenLinesAreKept)
{
    const std::vector<std::string> lines{"# notes", "MR-0101,MR-0102,320", "MR-0201, MR-0202 , 1250.5 m", "a line of no form",
                                         "MR-0301,MR-0302,-5"};
    EXPECT_EQ(cableLengthOf(lines, "MR-0101", "MR-0102"), 320.0);
    EXPECT_EQ(cableLengthOf(lines, "mr-0102", "MR-0101"), 320.0);
    EXPECT_EQ(cableLengthOf(lines, "MR-0202", "MR-0201"), 1250.5);
    EXPECT_FALSE(cableLengthOf(lines, "MR-0301", "MR-0302"));
    EXPECT_FALSE(cableLengthOf(lines, "MR-0101", "MR-0201"));

    const auto changed = withCableLength(lines, "MR-0102", "MR-0101", 330.25);
    EXPECT_EQ(changed[1], "MR-0102,MR-0101,330.3");
    EXPECT_EQ(changed.size(), lines.size());
    EXPECT_EQ(changed[3], "a line of no form");
    const auto added = withCableLength(lines, "MR-0401", "MR-0402", 75);
    EXPECT_EQ(added.back(), "MR-0401,MR-0402,75");
    const auto removed = withCableLength(lines, "MR-0101", "MR-0102", std::nullopt);
    EXPECT_EQ(removed.size(), lines.size() - 1);
    EXPECT_FALSE(cableLengthOf(removed, "MR-0101", "MR-0102"));
    // A new table says what its lines hold.
    const auto fresh = withCableLength({}, "A", "B", 1);
    ASSERT_EQ(fresh.size(), 2u);
    EXPECT_TRUE(fresh[0].starts_with("#"));

    for (const auto& [text, metres] : {std::pair{"320", 320.0}, {" 320,5 ", 320.5}, {"320 m", 320.0}, {"1", 1.0}})
        EXPECT_EQ(cableLengthOfText(text), metres) << text;
    for (const char* text : {"", "m", "0.5", "100001", "12a", "1e3", "-3", "nan"})
        EXPECT_FALSE(cableLengthOfText(text)) << text;
}
