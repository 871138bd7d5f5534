#pragma once
#include <functional>

#include "app/context.h"

namespace gyrel {

// Where a backup, restore or compare stands: the slot worked on (1..16), the
// steps done of all, and the time left as estimated from the steps so far.
struct JobProgress {
    int slot = 0;
    int done = 0;
    int total = 0;
    double msLeft = -1;  // unknown until a step is done
};

// What a safety job reports to, and asks whether to stop (between slots).
struct JobHooks {
    std::function<void(const JobProgress&)> progress;
    std::function<bool()> cancelled;
};

// Counts the steps of a job and tells the hooks.
class JobMeter {
public:
    JobMeter(Context& ctx, const JobHooks& hooks, int total)
        : ctx_(ctx), hooks_(hooks), total_(total), start_(ctx.svc.clock.nowMs()) {
        ctx_.CancelRequested = false;
    }
    // Before the step on a slot (0-based).
    void at(int slot) {
        JobProgress p;
        p.slot = slot + 1;
        p.done = done_;
        p.total = total_;
        if (done_ > 0) p.msLeft = (ctx_.svc.clock.nowMs() - start_) / done_ * (total_ - done_);
        if (hooks_.progress) hooks_.progress(p);
    }
    void step() { ++done_; }
    bool cancelled() {
        if (ctx_.CancelRequested || (hooks_.cancelled && hooks_.cancelled())) stopped_ = true;
        return stopped_;
    }
    bool stopped() const { return stopped_; }

private:
    Context& ctx_;
    const JobHooks& hooks_;
    int total_;
    int done_ = 0;
    double start_;
    bool stopped_ = false;
};

}  // namespace gyrel
