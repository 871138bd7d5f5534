#include <gtest/gtest.h>

#include <tuple>

#include "dialogs/filt_form.h"
#include "dialogs/position_test_form.h"
#include "dialogs/progress_state.h"
#include "dialogs/wait_form.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

TEST(Dialogs, WaitFormClearsALeftOverCancelFilterSetsTheFactorPositionTestUnlocksAndProgressCounts) {
    testing_doubles::Rig rig;
    Context& ctx = rig.ctx;
    WaitView view;
    WaitForm wait(ctx, view);
    ctx.CancelRequested = true;  // from an earlier operation
    wait.show("Update Graphics .....");
    EXPECT_FALSE(ctx.CancelRequested);

    // The time-out dialog shows the factor in force at every showing: a model may have set it since.
    FiltForm filter(ctx);
    filter.optionClick(10);
    filter.optionClick(5);  // not an option
    EXPECT_EQ(ctx.model.RxTimeoutFactor, 10);
    ctx.model.RxTimeoutFactor = 100;
    filter.show();
    EXPECT_EQ(ctx.filter.selected, 100);

    // The position test opens locked, unlocks with the password and forgets its state when closed.
    ctx.settings.Primi = "35";
    PositionTestForm form(ctx);
    PositionTestView& v = ctx.posTest;
    form.show();
    EXPECT_EQ(v.TxtPrimi, "35");
    for (const char* typed : {"tirn", "Tirn ", "Tirn"}) {  // case and blanks matter
        v.TxtPassword = typed;
        form.TxtPasswordKeyPress('a');  // only Enter acts
        EXPECT_FALSE(v.unlocked) << typed;
        form.TxtPasswordKeyPress(13);
        EXPECT_EQ(v.unlocked, v.TxtPassword == "Tirn") << typed;
    }
    v.LblMax = "99";
    form.close();  // by the operator
    form.show();
    EXPECT_EQ(v.TxtPassword + "|" + v.LblMax + "|" + std::to_string(v.unlocked), "|0|0");

    // The tolerances are kept in the settings; Clear All empties the readings.
    v.LblMax = "812";
    v.Label5 = "2";
    v.Label1[14] = "1200     812";
    form.TxtPrimiChange("50");
    form.TxtSuccessiviChange("400");
    EXPECT_EQ(ctx.settings.Primi + " " + ctx.settings.Success, "50 400");
    form.Command1Click();
    EXPECT_EQ(v.LblMax + "|" + v.Label5 + "|" + v.Label1[14] + "|" + v.TxtPrimi, "0|||50");

    // The progress count: time left at the rate so far, the outcome in every language, forgotten anew.
    const WindowTexts& en = windowTextsFor("EN");
    ProgressState p;
    p.begin(120, 1000);
    p.step(40, 16000);  // 40 frames in 15 s: 80 more take 30 s
    EXPECT_EQ(framesText(p, en) + "|" + timeLeftText(p, en) + "|" + std::to_string(p.percent()),
              "40 of 120 frames|Time left 0:30|33");
    p.step(500, 46000);  // never beyond the total
    EXPECT_EQ(p.done, 120);
    p.finish(ProgressOutcome::Done, "", 47000);
    p.clear();
    EXPECT_FALSE(p.finished());
    p.begin(5, 50000);
    p.finish(ProgressOutcome::Failed, "why", 51000);
    EXPECT_EQ(p.endings, 2);  // a window tells the new outcome from the one it showed
    using O = ProgressOutcome;
    const std::tuple<const char*, O, const char*> cases[] = {
        {"DE", O::Done, "Received"}, {"EN", O::Failed, "Failed: the encoder does not answer"},
        {"FR", O::Cancelled, "Annulé"}};
    for (const auto& [code, how, expected] : cases) {
        const WindowTexts& t = windowTextsFor(code);
        ProgressState p;
        p.begin(10, 0, how == O::Done);  // receiving
        EXPECT_EQ(outcomeText(p, t), "") << code;
        p.finish(how, t.noReply, 100);
        EXPECT_EQ(outcomeText(p, t) + timeLeftText(p, t), expected) << code;  // over: no time left
    }
}

}  // namespace
}  // namespace gyrel
