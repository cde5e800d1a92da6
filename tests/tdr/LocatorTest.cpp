// LOCK and Locate: the Slave's shift and the window they open.
#include "tdr/Locator.h"

#include <gtest/gtest.h>

using namespace mr3x::tdr;

TEST(Locator, LockAddsTheCursorDifferenceAndCentresTheWindowOnTheZeroCursor)
{
    // Zero cursor at 1000, moving cursor at 1010.
    const LockResult first = lockTraces(0, 10, 1000);
    EXPECT_EQ(first.slaveOffset, 10);
    EXPECT_EQ(first.panPosition, 872);
    EXPECT_EQ(first.panPosition + kLockedWidth, 1128);
    // Locked again with the cursors 3 apart.
    EXPECT_EQ(lockTraces(first.slaveOffset, 3, 1000).slaveOffset, 13);
    EXPECT_EQ(lockTraces(13, -20, 1000).slaveOffset, -7);

    // A zero cursor near the start opens the window at sample 1.
    EXPECT_EQ(lockTraces(0, 0, 100).panPosition, 1);
    EXPECT_EQ(lockTraces(0, 0, 128.9).panPosition, 1);
    EXPECT_EQ(lockTraces(0, 0, 129.9).panPosition, 1);
    EXPECT_EQ(lockTraces(0, 0, 130).panPosition, 2);
    EXPECT_EQ(lockTraces(0, 0, 8191).panPosition, 8063);

    // Half a sample rounds to even.
    EXPECT_EQ(lockTraces(0, 2.5, 1000).slaveOffset, 2);
    EXPECT_EQ(lockTraces(0, 3.5, 1000).slaveOffset, 4);
    EXPECT_EQ(lockTraces(0, -2.5, 1000).slaveOffset, -2);
}

TEST(Locator, RepeatedLocksHoldTheOffsetInSixteenBits)
{
    EXPECT_EQ(lockTraces(32000, 8000, 500).slaveOffset, 32767);
    EXPECT_EQ(lockTraces(-32000, -8000, 500).slaveOffset, -32768);
    EXPECT_EQ(lockTraces(32767, -1, 500).slaveOffset, 32766);
}

TEST(Locator, LocateOpensTheWindowAtTheInjectionInEitherHalf)
{
    // Master, injection 5000: 5000 Mod 4096 in the first half, itself in the second.
    const LocateResult first = locateWindow(0, 5000, 0);
    EXPECT_EQ(first.windowStart, 904);
    EXPECT_TRUE(first.inRange);
    const LocateResult second = locateWindow(2, 5000, 0);
    EXPECT_EQ(second.windowStart, 5000);
    EXPECT_TRUE(second.inRange);
    // The Master ignores the Slave's shift.
    EXPECT_EQ(locateWindow(0, 5000, 300).windowStart, 904);

    // 4095 in the second half asks for 8191, past the pan bar's 8064.
    const LocateResult tooLate = locateWindow(2, 4095, 0);
    EXPECT_EQ(tooLate.windowStart, 8191);
    EXPECT_FALSE(tooLate.inRange);
    EXPECT_TRUE(locateWindow(2, 3968, 0).inRange);   // 8064
    EXPECT_FALSE(locateWindow(2, 3969, 0).inRange);  // 8065
    EXPECT_FALSE(locateWindow(0, 4096, 0).inRange);  // 0
    EXPECT_TRUE(locateWindow(0, 4097, 0).inRange);   // 1
}

TEST(Locator, TheSlavesWindowComesBackByItsShiftAndKeepsTheSign)
{
    const LocateResult shifted = locateWindow(1, 5000, 10);
    EXPECT_EQ(shifted.windowStart, 894);
    EXPECT_TRUE(shifted.inRange);

    // Shifted past its start: negative, and out of range; the second half brings it back.
    const LocateResult negative = locateWindow(1, 100, 300);
    EXPECT_EQ(negative.windowStart, -200);
    EXPECT_FALSE(negative.inRange);
    EXPECT_EQ(locateWindow(3, 100, 300).windowStart, 3896);
    EXPECT_TRUE(locateWindow(3, 100, 300).inRange);
    EXPECT_EQ(locateWindow(1, 100, 5000).windowStart, -804);  // -4900 Mod 4096

    // Half a sample rounds to even, before the Mod.
    EXPECT_EQ(locateWindow(0, 904.5, 0).windowStart, 904);
    EXPECT_EQ(locateWindow(0, 905.5, 0).windowStart, 906);
    EXPECT_EQ(locateWindow(3, 1000.5, 1).windowStart, 4096 + 1000);  // 999.5 gives 1000

    EXPECT_FALSE(locateWindow(4, 5000, 0).inRange);
    EXPECT_FALSE(locateWindow(-1, 5000, 0).inRange);
}

TEST(Locator, ModTakesTheSignOfTheDividend)
{
    EXPECT_EQ(signKeepingMod(5000, 4096), 904);
    EXPECT_EQ(signKeepingMod(-100, 4096), -100);
    EXPECT_EQ(signKeepingMod(-4196, 4096), -100);
    EXPECT_EQ(signKeepingMod(100, -7), 2);
    EXPECT_EQ(signKeepingMod(100, 0), 0);
}
