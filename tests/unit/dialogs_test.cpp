#include <gtest/gtest.h>

#include "dialogs/filt_form.h"
#include "dialogs/position_test_form.h"
#include "dialogs/wait_form.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

struct DialogsTest : ::testing::Test {
    testing_doubles::Rig rig;
    Context& ctx = rig.ctx;
};

TEST_F(DialogsTest, WaitFormShowingClearsALeftOverCancelAndCancelOrCloseRaiseIt) {
    WaitView view;
    WaitForm wait(ctx, view);
    ctx.CancelRequested = true;  // from an earlier operation
    wait.show("Update Graphics .....");
    EXPECT_FALSE(ctx.CancelRequested);
    EXPECT_EQ(view.label, "Update Graphics .....");
    wait.Command1Click();
    EXPECT_TRUE(ctx.CancelRequested);
    EXPECT_TRUE(view.visible);
    wait.Activate();
    EXPECT_FALSE(ctx.CancelRequested);
    wait.closedByUser();
    EXPECT_TRUE(ctx.CancelRequested);
    EXPECT_FALSE(view.visible);
}

TEST_F(DialogsTest, FilterDialogSelectsTheFactorInForceAndSetsItAtOnce) {
    FiltForm filter(ctx);
    filter.show();
    EXPECT_EQ(ctx.filter.selected, 1);
    filter.optionClick(10);
    EXPECT_EQ(ctx.model.RxTimeoutFactor, 10);
    filter.optionClick(5);  // not an option
    EXPECT_EQ(ctx.model.RxTimeoutFactor, 10);
    filter.hide();
    ctx.model.RxTimeoutFactor = 100;  // a model change while the dialog was closed
    filter.show();
    EXPECT_EQ(ctx.filter.selected, 100);
    filter.hide();
    ctx.model.RxTimeoutFactor = 7;  // no option shows it
    filter.show();
    EXPECT_EQ(ctx.filter.selected, 0);
}

TEST_F(DialogsTest, PositionTestOpensLockedUnlocksWithThePasswordAndKeepsItsStateUntilClosed) {
    ctx.settings.Primi = "35";
    ctx.main.testEncoderChecked = true;
    PositionTestForm form(ctx);
    form.show();
    EXPECT_FALSE(ctx.posTest.unlocked);
    EXPECT_EQ(ctx.posTest.TxtPrimi, "35");
    for (const char* wrong : {"tirn", "Tirn "}) {  // case and blanks matter
        ctx.posTest.TxtPassword = wrong;
        form.TxtPasswordKeyPress(13);
        EXPECT_FALSE(ctx.posTest.unlocked) << wrong;
    }
    ctx.posTest.TxtPassword = "Tirn";
    form.TxtPasswordKeyPress('a');  // only Enter acts
    EXPECT_FALSE(ctx.posTest.unlocked);
    form.TxtPasswordKeyPress(13);
    EXPECT_TRUE(ctx.posTest.unlocked);
    ctx.posTest.LblMax = "99";
    form.hide();  // by the menu
    form.show();
    EXPECT_TRUE(ctx.posTest.unlocked);
    EXPECT_EQ(ctx.posTest.LblMax, "99");
    form.close();  // by the operator
    EXPECT_FALSE(ctx.main.testEncoderChecked);
    form.show();
    EXPECT_FALSE(ctx.posTest.unlocked);
    EXPECT_EQ(ctx.posTest.TxtPassword + "|" + ctx.posTest.LblMax, "|0");
}

TEST_F(DialogsTest, PositionTestClearAllAndTolerances) {
    PositionTestForm form(ctx);
    form.show();
    PositionTestView& v = ctx.posTest;
    v.LblMax = "812";
    v.Label5 = "2";
    v.Label1[14] = "1200     812";
    form.TxtPrimiChange("50");
    form.TxtSuccessiviChange("400");
    EXPECT_EQ(ctx.settings.Primi + " " + ctx.settings.Success, "50 400");
    form.Command1Click();
    EXPECT_EQ(v.LblMax + "|" + v.Label5 + "|" + v.Label1[14] + "|" + v.TxtPrimi, "0|||50");
}

}  // namespace
}  // namespace gyrel
