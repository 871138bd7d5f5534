#include <gtest/gtest.h>

#include <vector>

#include "platform/virtual_clock.h"

namespace gyrel {
namespace {

TEST(VirtualClock, WaitAdvancesTimeAndRunsDueActionsInOrder) {
    VirtualClock clock;
    std::vector<double> seen;
    clock.at(50, [&] { seen.push_back(clock.nowMs()); });
    clock.at(20, [&] { seen.push_back(clock.nowMs()); });
    clock.at(500, [&] { seen.push_back(clock.nowMs()); });
    clock.waitMs(100);
    EXPECT_EQ(clock.nowMs(), 100);
    EXPECT_EQ(seen, (std::vector<double>{20, 50}));
    EXPECT_EQ(clock.waitedMs(), 100);
}

TEST(VirtualClock, TimerTicksEveryIntervalUntilDisabled) {
    VirtualClock clock;
    auto timer = clock.createTimer();
    std::vector<double> ticks;
    timer->onTick = [&] {
        ticks.push_back(clock.nowMs());
        if (ticks.size() == 3) timer->setEnabled(false);
    };
    timer->setInterval(2000);
    timer->setEnabled(true);
    clock.waitMs(10000);
    EXPECT_EQ(ticks, (std::vector<double>{2000, 4000, 6000}));
}

TEST(VirtualClock, TickThatWaitsIsNotReentered) {
    VirtualClock clock;
    auto timer = clock.createTimer();
    int depth = 0, maxDepth = 0, count = 0;
    timer->onTick = [&] {
        ++depth;
        ++count;
        maxDepth = std::max(maxDepth, depth);
        clock.waitMs(250);  // a handler that pumps events while it waits
        --depth;
    };
    timer->setInterval(100);
    timer->setEnabled(true);
    clock.waitMs(1000);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_GE(count, 3);
}

}  // namespace
}  // namespace gyrel
