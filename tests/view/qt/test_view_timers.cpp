#include <gtest/gtest.h>

#include <vector>

#include "tests/view/qt/EventLoopWait.h"
#include "view/qt/ViewTimers.h"

TEST(ViewTimers, SetRestartKillAndCallBackWithTheId)
{
    std::vector<int> fired;
    CViewTimers* self = nullptr;
    CViewTimers timers([&](int id) {
        fired.push_back(id);
        if (fired.size() == 2)
            self->KillTimer(id); // from its own callback
    });
    self = &timers;
    EXPECT_FALSE(timers.IsRunning(3));
    EXPECT_EQ(timers.IntervalMs(3), -1);
    timers.KillTimer(3); // not running: nothing happens

    timers.SetTimer(3, 60000);
    timers.SetTimer(5, 20);
    EXPECT_TRUE(timers.IsRunning(3));
    EXPECT_EQ(timers.IntervalMs(3), 60000);
    timers.SetTimer(3, 45000);
    EXPECT_EQ(timers.IntervalMs(3), 45000);
    timers.SetTimer(4, 0);
    EXPECT_EQ(timers.IntervalMs(4), CViewTimers::kMinimumMs);
    timers.KillTimer(4);
    EXPECT_FALSE(timers.IsRunning(4));

    ASSERT_TRUE(ProcessEventsUntil([&] { return fired.size() >= 2; }));
    EXPECT_EQ(fired[0], 5);
    EXPECT_EQ(fired[1], 5);
    EXPECT_FALSE(timers.IsRunning(5));
    EXPECT_EQ(timers.IntervalMs(5), -1);
    EXPECT_TRUE(timers.IsRunning(3));
}
