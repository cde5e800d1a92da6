#include "link/ymodem/Crc16.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

using namespace mr3x::ymodem;

TEST(Crc16, MatchesTheXmodemCheckValue)
{
    const std::string_view check = "123456789";
    const std::vector<std::uint8_t> bytes(check.begin(), check.end());
    EXPECT_EQ(crc16(bytes), 0x31C3);
    EXPECT_EQ(crc16({}), 0x0000);
    // A block with its CRC appended checks to zero.
    std::vector<std::uint8_t> block(128, 0x1A);
    const auto crc = crc16(block);
    block.push_back(static_cast<std::uint8_t>(crc >> 8));
    block.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    EXPECT_EQ(crc16(block), 0);
}
