#include "common/Text.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(Text, NumbersAreReadLikeTheUnitsTexts)
{
    EXPECT_EQ(leadingInteger("  15"), 15);
    EXPECT_EQ(leadingInteger("15abc"), 15);
    EXPECT_EQ(leadingInteger("abc"), 0);
    EXPECT_EQ(leadingInteger("-4"), -4);
    EXPECT_EQ(leadingInteger(std::string(40, '9')), 1000000000000000LL); // held, not overflowed
    EXPECT_DOUBLE_EQ(leadingNumber("54.0% (v/2"), 54.0);
}

TEST(Text, ASafeNameStaysInsideItsFolder)
{
    EXPECT_TRUE(isSafeName("Unit 1"));
    EXPECT_TRUE(isSafeName("a..b"));
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "C:x"})
        EXPECT_FALSE(isSafeName(bad)) << bad;
}
