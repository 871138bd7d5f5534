#include "dialogs/progress_state.h"

#include <algorithm>
#include <cmath>

namespace gyrel {

void ProgressState::begin(long steps, double now, bool isReceiving) {
    done = 0;
    total = std::max(0L, steps);
    startMs = now;
    nowMs = now;
    outcome = ProgressOutcome::Running;
    receiving = isReceiving;
    reason.clear();
}

void ProgressState::step(long stepsDone, double now) {
    done = std::clamp(stepsDone, 0L, std::max(total, 0L));
    nowMs = now;
}

void ProgressState::finish(ProgressOutcome how, const std::string& why, double now) {
    outcome = how;
    ++endings;
    reason = how == ProgressOutcome::Failed ? why : std::string();
    nowMs = now;
}

int ProgressState::percent() const {
    if (total <= 0) return 0;
    return static_cast<int>(done * 100 / total);
}

double ProgressState::remainingMs() const {
    if (total <= 0 || done <= 0) return -1;
    const double perStep = (nowMs - startMs) / static_cast<double>(done);
    return perStep * static_cast<double>(total - done);
}

namespace {

std::string replaced(std::string text, const std::string& key, const std::string& value) {
    const std::size_t at = text.find(key);
    if (at != std::string::npos) text.replace(at, key.size(), value);
    return text;
}

}  // namespace

std::string framesText(const ProgressState& p, const WindowTexts& t) {
    if (p.total <= 0) return {};
    return replaced(replaced(t.framesOf, "{done}", std::to_string(p.done)), "{total}", std::to_string(p.total));
}

std::string timeLeftText(const ProgressState& p, const WindowTexts& t) {
    const double ms = p.remainingMs();
    if (ms < 0 || !p.counting()) return {};
    const long seconds = static_cast<long>(std::ceil(ms / 1000.0));
    const std::string ss = std::to_string(seconds % 60);
    return std::string(t.timeLeft) + " " + std::to_string(seconds / 60) + ":" + (ss.size() < 2 ? "0" : "") + ss;
}

std::string outcomeText(const ProgressState& p, const WindowTexts& t) {
    switch (p.outcome) {
        case ProgressOutcome::Done: return p.receiving ? t.received : t.sent;
        case ProgressOutcome::Cancelled: return t.cancelled;
        case ProgressOutcome::Failed: return p.reason.empty() ? t.failed : std::string(t.failed) + ": " + p.reason;
        default: return {};
    }
}

}  // namespace gyrel
