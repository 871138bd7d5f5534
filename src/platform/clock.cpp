#include "platform/clock.h"

namespace gyrel {

bool Clock::waitUntil(const std::function<bool()>& cond, int timeoutMs) {
    const double end = nowMs() + timeoutMs;
    while (!cond()) {
        if (nowMs() >= end) return false;
        waitMs(1);
    }
    return true;
}

}  // namespace gyrel
