#include "common/Text.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(Text, TwoDigitsKeepsTheLastTwoDigits)
{
    EXPECT_EQ(twoDigits(7), "07");
    EXPECT_EQ(twoDigits(0), "00");
    EXPECT_EQ(twoDigits(56), "56");
    EXPECT_EQ(twoDigits(123), "23");
    EXPECT_EQ(twoDigits(256), "56");
}

TEST(Text, ZeroPadKeepsTheRightmostCharactersAndALeadingBlank)
{
    EXPECT_EQ(zeroPad("15", 2), "15");
    EXPECT_EQ(zeroPad(" 3", 2), " 3");   // the duration entry " 3" goes out with its blank
    EXPECT_EQ(zeroPad(" 10", 2), "10");
    EXPECT_EQ(zeroPad("42", 3), "042");
    EXPECT_EQ(zeroPad("", 2), "00");
}

TEST(Text, LeadingNumberReadsLikeTheUnitsTexts)
{
    EXPECT_EQ(leadingInteger("  15"), 15);
    EXPECT_EQ(leadingInteger("15abc"), 15);
    EXPECT_EQ(leadingInteger("abc"), 0);
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger("-4"), -4);
    EXPECT_DOUBLE_EQ(leadingNumber("54.0% (v/2"), 54.0);
    EXPECT_DOUBLE_EQ(leadingNumber("100."), 100.0);
}

TEST(Text, CaseBlindTestsAndSafeNames)
{
    EXPECT_TRUE(containsNoCase("last system = Alpha", "LAST SYSTEM"));
    EXPECT_TRUE(equalsNoCase("alpha", "Alpha"));
    EXPECT_FALSE(equalsNoCase("alpha", "Alphas"));
    EXPECT_EQ(trim("  New Job \t"), "New Job");

    EXPECT_TRUE(isSafeName("Unit 1"));
    EXPECT_TRUE(isSafeName("a..b"));
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "C:x"})
        EXPECT_FALSE(isSafeName(bad)) << bad;
}
