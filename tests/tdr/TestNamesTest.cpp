// The names a test is stored under: made here, and made for a legacy file.
#include "tdr/TestNames.h"

#include "common/Text.h"
#include "tdr/TraceRecord.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mr3x::tdr;

namespace {

mr3x::events::RecordTrailer trailerAt(std::array<std::uint8_t, 6> dateAndTime)
{
    mr3x::events::RecordTrailer trailer;
    std::copy(dateAndTime.begin(), dateAndTime.end(), trailer.bytes.begin());
    trailer.bytes[6] = 99;  // not part of the name
    return trailer;
}

} // namespace

TEST(TestNames, ATestIsNamedByThePcClockAndThePanelsChoices)
{
    const std::string date = testDateText(2026, 12, 5);
    const std::string time = testTimeText(14, 3, 9);
    EXPECT_EQ(date, "26-12-05");
    EXPECT_EQ(time, "14-03-09");
    EXPECT_EQ(tdrTestName(date, time, "R-N", false, "Y-N"), "26-12-05 14-03-09 (R-N=Y-N)");
    EXPECT_EQ(tdrTestName(date, time, "B-R", true, "Internal"), "26-12-05 14-03-09 (B-RxInternal)");
    EXPECT_EQ(trsTestName(date, time, "B-N"), "26-12-05 14-03-09 (B-N=TRS)");

    EXPECT_EQ(testDateText(2005, 1, 31), "05-01-31");
    EXPECT_EQ(testDateText(2100, 7, 1), "00-07-01");
    EXPECT_EQ(testTimeText(0, 0, 0), "00-00-00");
}

TEST(TestNames, ALegacyFileIsNamedByItsTrailerAndItsNameUpToTheFirstDotAndNeverLeadsOutOfTheUnitFolder)
{
    EXPECT_EQ(legacyTraceName("abc.def.tst", trailerAt({26, 12, 5, 14, 3, 9})), "26-12-05 14-03-09 (abc).TDR");
    // A byte above 99 keeps its last two digits.
    EXPECT_EQ(legacyTraceName("R1.ref", trailerAt({123, 200, 255, 100, 7, 99})), "23-00-55 00-07-99 (R1).TDR");
    EXPECT_EQ(legacyTraceName(".tst", trailerAt({1, 2, 3, 4, 5, 6})), "01-02-03 04-05-06 ().TDR");

    const auto trailer = trailerAt({26, 1, 2, 3, 4, 5});
    const std::vector<std::string> names{"..\\..\\evil.tst", "sub/dir.tst", "C:evil.tst", "a\\b/c:d.ref",
                                         std::string("nul\0cut.tst", 11), "a*b?<c>|\"d\".tst"};
    for (const std::string& name : names) {
        const std::string converted = legacyTraceName(name, trailer);
        EXPECT_TRUE(mr3x::isSafeName(converted)) << converted;
        EXPECT_TRUE(converted.ends_with(").TDR")) << converted;
        EXPECT_EQ(converted.size(), 19 + legacyBaseName(name).size() + 5) << converted;
    }
    EXPECT_EQ(legacyTraceName("a\\b/c:d.ref", trailer), "26-01-02 03-04-05 (a_b_c_d).TDR");
    EXPECT_EQ(legacyTraceName("a*b?<c>|\"d\".tst", trailer), "26-01-02 03-04-05 (a_b__c___d_).TDR");
}
