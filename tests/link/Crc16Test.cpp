#include "link/ymodem/Crc16.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

// The test files are framed with this same function, so only the published check value and an
// outside sender (sz) can tell a wrong CRC.
TEST(Crc16, MatchesTheXmodemCheckValue)
{
    const std::string_view check = "123456789";
    EXPECT_EQ(mr3x::ymodem::crc16(std::vector<std::uint8_t>(check.begin(), check.end())), 0x31C3);
}
