#pragma once
#include <string>

#include "lang/window_texts.h"

namespace gyrel {

// How a long operation shown in the progress window ended.
enum class ProgressOutcome { None, Running, Done, Failed, Cancelled };

// What the progress window shows beyond its label and bytes: how many steps
// (frames, programs) of how many are through, the time that leaves, and at the
// end how it went. Times are the clock's milliseconds.
struct ProgressState {
    long done = 0;
    long total = 0;          // 0: no count known, no bar
    double startMs = 0;      // when the count began
    double nowMs = 0;        // the last step
    ProgressOutcome outcome = ProgressOutcome::None;
    bool receiving = false;  // the outcome word is "Received" rather than "Sent"
    std::string reason;      // why it failed, for the outcome line
    int endings = 0;         // outcomes so far: a window tells a new one from one it showed

    // A new count of `total` steps; a new operation forgets the last outcome.
    void begin(long steps, double now, bool isReceiving = false);
    void step(long stepsDone, double now);
    void finish(ProgressOutcome how, const std::string& why, double now);
    void clear() {
        const int kept = endings;
        *this = ProgressState{};
        endings = kept;
    }

    bool counting() const { return total > 0 && outcome == ProgressOutcome::Running; }
    bool finished() const {
        return outcome == ProgressOutcome::Done || outcome == ProgressOutcome::Failed ||
               outcome == ProgressOutcome::Cancelled;
    }
    int percent() const;
    // Milliseconds still to go at the rate so far; -1 before the first step.
    double remainingMs() const;
};

// "120 of 120 frames"
std::string framesText(const ProgressState& p, const WindowTexts& t);
// "Time left 0:42"; empty while no estimate exists.
std::string timeLeftText(const ProgressState& p, const WindowTexts& t);
// "Sent", "Received", "Cancelled" or "Failed: the encoder does not answer"; empty while running.
std::string outcomeText(const ProgressState& p, const WindowTexts& t);

}  // namespace gyrel
