#include "common/Clock.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(Clock, APauseMovesTheTimeOnAndServicesThePumpsTillTheyAreRemoved)
{
    TestClock clock(QDateTime(QDate(2031, 3, 7), QTime(9, 5, 3)));
    int pumped = 0;
    int once = 0;
    int onceId = 0;
    onceId = clock.addPump([&] {
        ++once;
        clock.removePump(onceId); // a pump may remove itself while it runs
    });
    const int id = clock.addPump([&] { ++pumped; });
    clock.pause(1000);
    EXPECT_EQ(clock.nowMs(), 1000);
    EXPECT_GT(pumped, 10);
    EXPECT_EQ(once, 1);
    EXPECT_EQ(clock.currentDateTime(), QDateTime(QDate(2031, 3, 7), QTime(9, 5, 4)));

    clock.removePump(id);
    const int before = pumped;
    clock.advance(100);
    EXPECT_EQ(pumped, before);
}
