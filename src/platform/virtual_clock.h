#pragma once
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/clock.h"

namespace gyrel {

// Simulated time for tests and benchmarks: a wait advances the time at once,
// running every scheduled action and timer tick that falls inside it, in order.
// A 18-second reply wait therefore takes microseconds and lands on exact instants.
class VirtualClock : public Clock {
public:
    VirtualClock();
    ~VirtualClock() override;

    double nowMs() const override { return now_; }
    void pumpEvents() override;
    void waitMs(int ms) override;
    std::unique_ptr<Timer> createTimer() override;

    // Runs action when simulated time reaches t (absolute ms) during a wait or pump.
    void at(double t, std::function<void()> action);
    void after(double ms, std::function<void()> action) { at(now_ + ms, std::move(action)); }
    // Called on every pump; tests use it to play the operator in the middle of a wait.
    std::function<void()> onPump;

    // Sum of all waits asked for (the time the program spent waiting).
    double waitedMs() const { return waited_; }
    int pumpCount() const { return pumps_; }

private:
    friend class VirtualTimer;
    struct TimerState;
    void advanceTo(double target);
    bool runNextDue(double limit);

    double now_ = 0;
    double waited_ = 0;
    int pumps_ = 0;
    std::uint64_t seq_ = 0;
    std::multimap<std::pair<double, std::uint64_t>, std::function<void()>> actions_;
    std::vector<TimerState*> timers_;
};

}  // namespace gyrel
