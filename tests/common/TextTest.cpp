#include "common/Text.h"
#include "support/DecimalCommaLocale.h"

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

TEST(Text, ASafeNameStaysInsideItsFolderHereAndOnWindows)
{
    for (const char* good : {"Unit 1", "a..b", "St. James St.", "Süd", "CONSOLE", "com10", "nul2.evt", ".hidden"})
        EXPECT_TRUE(isSafeName(good)) << good;
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "C:x", "a*b", "a?b", "\"a\"", "a<b", "a>b", "a|b", "a\tb",
                            "NUL", "con.txt", "Aux .EVT", "COM1", "lpt9.tdr"})
        EXPECT_FALSE(isSafeName(bad)) << bad;
    EXPECT_FALSE(isSafeName(std::string("a\0b", 3)));
}

TEST(Text, DecimalsKeepTheirPointInEveryLocale)
{
    // Rounded as printf rounds the stored value: 2.25 is exact and goes to the even digit.
    EXPECT_EQ(fixedDecimals(2.25, 1), "2.2");
    EXPECT_EQ(fixedDecimals(-81.006, 2), "-81.01");
    const test::DecimalCommaLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with a decimal comma is installed here";
    EXPECT_EQ(fixedDecimals(2.25, 1), "2.2");
    EXPECT_EQ(fixedDecimals(1000.5, 3), "1000.500");
}
