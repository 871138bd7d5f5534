// The progress window's count, time left and outcome as the logic states them.
#include <gtest/gtest.h>

#include "dialogs/progress_state.h"

using namespace gyrel;

TEST(ProgressState, TimeLeftFollowsTheRateSoFar) {
    const WindowTexts& en = windowTextsFor("EN");
    ProgressState p;
    p.begin(120, 1000);
    EXPECT_EQ(timeLeftText(p, en), "");  // no step yet, no estimate
    p.step(40, 16000);                   // 40 frames in 15 s: 80 more take 30 s
    EXPECT_EQ(framesText(p, en), "40 of 120 frames");
    EXPECT_EQ(timeLeftText(p, en), "Time left 0:30");
    EXPECT_EQ(p.percent(), 33);
    p.step(119, 45550);
    EXPECT_EQ(timeLeftText(p, en), "Time left 0:01");
    p.step(500, 46000);  // never beyond the total
    EXPECT_EQ(p.done, 120);
}

TEST(ProgressState, OutcomeInEveryLanguage) {
    struct Case {
        const char* code;
        ProgressOutcome how;
        bool receiving;
        const char* expected;
    };
    const Case cases[] = {
        {"DE", ProgressOutcome::Done, true, "Received"},
        {"EN", ProgressOutcome::Failed, false, "Failed: the encoder does not answer"},
        {"FR", ProgressOutcome::Cancelled, false, "Annulé"},
    };
    for (const Case& c : cases) {
        const WindowTexts& t = windowTextsFor(c.code);
        ProgressState p;
        p.begin(10, 0, c.receiving);
        EXPECT_EQ(outcomeText(p, t), "") << c.code;
        p.finish(c.how, t.noReply, 100);
        EXPECT_EQ(outcomeText(p, t), c.expected) << c.code;
        EXPECT_EQ(timeLeftText(p, t), "") << c.code;  // over: nothing left to wait for
    }
}

TEST(ProgressState, ANewOperationForgetsTheOutcomeButNotThatOneWasShown) {
    ProgressState p;
    p.begin(5, 0);
    p.finish(ProgressOutcome::Done, "", 10);
    p.clear();
    EXPECT_FALSE(p.finished());
    p.begin(5, 20);
    p.finish(ProgressOutcome::Failed, "why", 30);
    EXPECT_EQ(p.endings, 2);
}
