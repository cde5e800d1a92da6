// LOCK and Locate: the Slave's shift and the window they open.
#include "tdr/Locator.h"

#include <gtest/gtest.h>

using namespace mr3x::tdr;

TEST(Locator, LockAddsTheCursorDifferenceAndCentresTheWindowOnTheZeroCursor)
{
    // (The first LOCK, the window 872..1128 about a zero cursor at 1000, is made in TrsLocatorTest.)
    // Locked again, the new difference adds; half a sample rounds to even; the offset is held to
    // 16 bits however often it is locked.
    struct Offset { int offset; double difference; int shifted; };
    for (const Offset& c : {Offset{10, 3, 13}, Offset{13, -20, -7}, Offset{0, 2.5, 2}, Offset{0, 3.5, 4}, Offset{0, -2.5, -2},
                            Offset{32000, 8000, 32767}, Offset{-32000, -8000, -32768}, Offset{32767, -1, 32766}})
        EXPECT_EQ(lockTraces(c.offset, c.difference, 1000).slaveOffset, c.shifted) << c.offset << " " << c.difference;
    // A zero cursor near the start opens the window at sample 1, near the end at the bar's last.
    for (const auto& [zero, pan] : {std::pair{100.0, 1}, {128.9, 1}, {129.9, 1}, {130.0, 2}, {8191.0, 8063}})
        EXPECT_EQ(lockTraces(0, 0, zero).panPosition, pan) << zero;
}

TEST(Locator, LocateOpensTheWindowAtTheInjectionInEitherHalfOnlyWithinThePanBar)
{
    // Index 0 and 2 the Master (which ignores the shift), 1 and 3 the Slave, brought back by its
    // shift with the sign kept; the second half adds 4096. Half a sample rounds to even before the
    // Mod. 4095 in the second half asks for 8191, past the pan bar's 8064.
    struct Case { int index; double injection; int shift; long long start; bool inRange; };
    for (const Case& c : {Case{0, 5000, 0, 904, true}, Case{2, 5000, 0, 5000, true}, Case{0, 5000, 300, 904, true},
                          Case{2, 4095, 0, 8191, false}, Case{2, 3968, 0, 8064, true}, Case{2, 3969, 0, 8065, false},
                          Case{0, 4096, 0, 0, false}, Case{0, 4097, 0, 1, true},
                          Case{1, 5000, 10, 894, true}, Case{1, 100, 300, -200, false}, Case{3, 100, 300, 3896, true},
                          Case{1, 100, 5000, -804, false}, Case{0, 904.5, 0, 904, true}, Case{0, 905.5, 0, 906, true},
                          Case{3, 1000.5, 1, 4096 + 1000, true}}) {
        const LocateResult r = locateWindow(c.index, c.injection, c.shift);
        EXPECT_EQ(r.windowStart, c.start) << c.index << " " << c.injection << " " << c.shift;
        EXPECT_EQ(r.inRange, c.inRange) << c.index << " " << c.injection << " " << c.shift;
    }
    EXPECT_FALSE(locateWindow(4, 5000, 0).inRange);
    EXPECT_FALSE(locateWindow(-1, 5000, 0).inRange);
}
