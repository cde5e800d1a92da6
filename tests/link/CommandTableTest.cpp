// The command table: the arguments at their limits.
#include "link/CommandTable.h"

#include <gtest/gtest.h>

using namespace mr3x::commands;

TEST(CommandTable, ArgumentsKeepTheirRightmostDigits)
{
    EXPECT_EQ(eventRecordRequest("40").text, "f39");
    EXPECT_EQ(setTimeRequest(clockFields(2105, 12, 31, 23, 59, 59)).text, "T051231235959");
    EXPECT_EQ(setThresholdRequest("7").text, "h07");
}
