#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/virtual_clock.h"

namespace gyrel {
namespace {

TEST(VirtualClock, WaitAdvancesTimeAndRunsDueActionsInOrder) {
    VirtualClock clock;
    std::vector<double> seen;
    for (double at : {50.0, 20.0, 500.0}) clock.at(at, [&] { seen.push_back(clock.nowMs()); });
    clock.waitMs(100);
    EXPECT_EQ(clock.nowMs(), 100);
    EXPECT_EQ(seen, (std::vector<double>{20, 50}));
}

TEST(VirtualClock, TimerTicksEveryIntervalAndATickThatWaitsIsNotReentered) {
    VirtualClock clock;
    auto timer = clock.createTimer();
    std::vector<double> ticks;
    int depth = 0, maxDepth = 0;
    timer->onTick = [&] {
        maxDepth = std::max(maxDepth, ++depth);
        ticks.push_back(clock.nowMs());
        if (ticks.size() == 3) timer->setEnabled(false);
        clock.waitMs(250);  // a handler that pumps events while it waits
        --depth;
    };
    timer->setInterval(100);
    timer->setEnabled(true);
    clock.waitMs(10000);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(ticks.size(), 3u);
    EXPECT_EQ(ticks[0], 100);
}

}  // namespace
}  // namespace gyrel
