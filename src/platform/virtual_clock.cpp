#include "platform/virtual_clock.h"

#include <algorithm>
#include <limits>

namespace gyrel {

struct VirtualClock::TimerState {
    Timer* owner = nullptr;
    double due = 0;
    bool ticking = false;
};

class VirtualTimer : public Timer {
public:
    explicit VirtualTimer(VirtualClock& clock) : clock_(clock) {
        state_.owner = this;
        clock_.timers_.push_back(&state_);
    }
    ~VirtualTimer() override {
        auto& list = clock_.timers_;
        list.erase(std::remove(list.begin(), list.end(), &state_), list.end());
    }
    void setInterval(int ms) override {
        interval_ = ms;
        if (enabled_) state_.due = clock_.now_ + interval_;
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override {
        if (on && !enabled_) state_.due = clock_.now_ + interval_;
        enabled_ = on;
    }
    bool enabled() const override { return enabled_; }

private:
    friend class VirtualClock;
    VirtualClock& clock_;
    VirtualClock::TimerState state_;
    int interval_ = 0;
    bool enabled_ = false;
};

VirtualClock::VirtualClock() = default;
VirtualClock::~VirtualClock() = default;

std::unique_ptr<Timer> VirtualClock::createTimer() { return std::make_unique<VirtualTimer>(*this); }

void VirtualClock::at(double t, std::function<void()> action) {
    actions_.emplace(std::make_pair(std::max(t, now_), seq_++), std::move(action));
}

// Runs the earliest action or timer tick due at or before `limit`; false when none is.
bool VirtualClock::runNextDue(double limit) {
    double best = std::numeric_limits<double>::infinity();
    TimerState* bestTimer = nullptr;
    for (TimerState* t : timers_) {
        auto* timer = static_cast<VirtualTimer*>(t->owner);
        if (timer->enabled_ && !t->ticking && t->due < best) {
            best = t->due;
            bestTimer = t;
        }
    }
    const bool haveAction = !actions_.empty() && actions_.begin()->first.first <= limit;
    if (haveAction && actions_.begin()->first.first <= best) {
        auto it = actions_.begin();
        now_ = std::max(now_, it->first.first);
        auto action = std::move(it->second);
        actions_.erase(it);
        action();
        return true;
    }
    if (bestTimer && best <= limit) {
        now_ = std::max(now_, best);
        auto* timer = static_cast<VirtualTimer*>(bestTimer->owner);
        bestTimer->due = now_ + std::max(1, timer->interval_);
        bestTimer->ticking = true;
        if (timer->onTick) timer->onTick();
        // The timer may have been destroyed by its own tick; look it up again.
        if (std::find(timers_.begin(), timers_.end(), bestTimer) != timers_.end()) bestTimer->ticking = false;
        return true;
    }
    return false;
}

void VirtualClock::advanceTo(double target) {
    while (runNextDue(target)) {
    }
    now_ = std::max(now_, target);
}

void VirtualClock::pumpEvents() {
    ++pumps_;
    if (onPump) onPump();
    advanceTo(now_);
}

void VirtualClock::waitMs(int ms) {
    if (ms < 0) ms = 0;
    waited_ += ms;
    const double target = now_ + ms;
    ++pumps_;
    if (onPump) onPump();
    advanceTo(target);
}

}  // namespace gyrel
