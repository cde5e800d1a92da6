#include "common/Clock.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(TestClockTime, PauseMovesTimeOnAndRunsThePumps)
{
    TestClock clock(QDateTime(QDate(2031, 3, 7), QTime(9, 5, 3)));
    int pumped = 0;
    const int id = clock.addPump([&] { ++pumped; });
    clock.pause(1000);
    EXPECT_EQ(clock.nowMs(), 1000);
    EXPECT_GT(pumped, 10);
    EXPECT_EQ(clock.currentDateTime(), QDateTime(QDate(2031, 3, 7), QTime(9, 5, 4)));

    clock.removePump(id);
    const int before = pumped;
    clock.advance(100);
    EXPECT_EQ(pumped, before);
    EXPECT_EQ(clock.nowMs(), 1100);
}

TEST(TestClockTime, APumpMayRemoveItselfWhileItRuns)
{
    TestClock clock;
    int id = 0;
    int runs = 0;
    id = clock.addPump([&] {
        ++runs;
        clock.removePump(id);
    });
    clock.DoEvents();
    clock.DoEvents();
    EXPECT_EQ(runs, 1);
}

TEST(RealClockTime, IdleIsBoundedWhenNothingHappens)
{
    RealClock clock;
    const auto start = clock.nowMs();
    clock.idle(30);
    EXPECT_LT(clock.nowMs() - start, 1000);
}
