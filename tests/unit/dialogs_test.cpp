#include <gtest/gtest.h>

#include "dialogs/credit_form.h"
#include "dialogs/filt_form.h"
#include "dialogs/position_test_form.h"
#include "dialogs/wait_form.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

using testing_doubles::Rig;

class DialogsTest : public ::testing::Test {
protected:
    Rig rig;
    Context& ctx = rig.ctx;
};

TEST_F(DialogsTest, WaitFormShowingClearsALeftOverCancelAndCancelOrCloseRaiseIt) {
    WaitView view;
    WaitForm wait(ctx, view);
    ctx.CancelRequested = true;  // from an earlier operation
    wait.show("Update Graphics .....");
    EXPECT_FALSE(ctx.CancelRequested);
    EXPECT_TRUE(view.visible);
    EXPECT_EQ(view.label, "Update Graphics .....");
    EXPECT_EQ(view.caption, "Graphic Mode");
    wait.Command1Click();
    EXPECT_TRUE(ctx.CancelRequested);
    EXPECT_TRUE(view.visible);
    wait.Activate();
    EXPECT_FALSE(ctx.CancelRequested);
    wait.closedByUser();
    EXPECT_TRUE(ctx.CancelRequested);
    EXPECT_FALSE(view.visible);
}

TEST_F(DialogsTest, WaitFormBarStaysInsideItsFrame) {
    WaitView view;
    view.barFrameWidth = 6200;
    WaitForm wait(ctx, view);
    wait.setProgress(1, 4);
    EXPECT_TRUE(view.barVisible);
    EXPECT_EQ(view.barWidth, 1550);
    wait.setProgress(9, 4);
    EXPECT_EQ(view.barWidth, 6200);
    wait.setProgress(3, 0);
    EXPECT_EQ(view.barWidth, 0);
    wait.setBarWidth(-5);
    EXPECT_EQ(view.barWidth, 0);
    wait.setBarWidth(7000);
    EXPECT_EQ(view.barWidth, 6200);
    wait.setCaption("Download");
    wait.setLabel("Program 3");
    EXPECT_EQ(view.caption, "Download");
    EXPECT_EQ(view.label, "Program 3");
}

TEST_F(DialogsTest, AboutBoxShowsVersionAndContact) {
    CreditForm about(ctx);
    about.aarelease();
    about.show();
    EXPECT_TRUE(ctx.about.visible);
    EXPECT_EQ(ctx.about.versionText, "SW KRT71 Rev 5.0.1326");
    EXPECT_NE(ctx.about.contactText.find("\r\n"), std::string::npos);
    about.Command1Click();
    EXPECT_FALSE(ctx.about.visible);
}

TEST_F(DialogsTest, FilterDialogSelectsTheFactorInForceAndSetsItAtOnce) {
    FiltForm filter(ctx);
    filter.show();
    EXPECT_TRUE(ctx.filter.visible);
    EXPECT_EQ(ctx.filter.selected, 1);
    filter.optionClick(10);
    EXPECT_EQ(ctx.model.RxTimeoutFactor, 10);
    EXPECT_EQ(ctx.filter.selected, 10);
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

TEST_F(DialogsTest, PositionTestOpensLockedAndUnlocksWithThePassword) {
    ctx.settings.Primi = "35";
    ctx.settings.Success = "250";
    PositionTestForm form(ctx);
    form.show();
    EXPECT_TRUE(ctx.posTest.visible);
    EXPECT_FALSE(ctx.posTest.unlocked);
    EXPECT_EQ(ctx.posTest.TxtPrimi, "35");
    EXPECT_EQ(ctx.posTest.TxtSuccessivi, "250");

    ctx.posTest.TxtPassword = "tirn";  // case matters
    form.TxtPasswordKeyPress(13);
    EXPECT_FALSE(ctx.posTest.unlocked);
    EXPECT_EQ(ctx.posTest.TxtPassword, "tirn");
    ctx.posTest.TxtPassword = "Tirn ";
    form.TxtPasswordKeyPress(13);
    EXPECT_FALSE(ctx.posTest.unlocked);
    ctx.posTest.TxtPassword = "Tirn";
    form.TxtPasswordKeyPress('a');  // only Enter acts
    EXPECT_FALSE(ctx.posTest.unlocked);
    form.TxtPasswordKeyPress(13);
    EXPECT_TRUE(ctx.posTest.unlocked);
}

TEST_F(DialogsTest, PositionTestClearAllAndTolerances) {
    PositionTestForm form(ctx);
    form.show();
    PositionTestView& v = ctx.posTest;
    v.LblMax = "812";
    v.LblMin = "-40";
    v.Label6 = "3";
    v.Label5 = "2";
    v.Label1[0] = "1200     812";
    v.Label1[14] = "1200     812";
    form.TxtPrimiChange("50");
    EXPECT_EQ(ctx.settings.Primi, "50");
    form.TxtSuccessiviChange("400");
    EXPECT_EQ(ctx.settings.Success, "400");

    form.Command1Click();
    EXPECT_EQ(v.LblMax, "0");
    EXPECT_EQ(v.LblMin, "0");
    EXPECT_EQ(v.Label6, "");
    EXPECT_EQ(v.Label5, "");
    for (const auto& line : v.Label1) EXPECT_EQ(line, "");
    EXPECT_EQ(v.TxtPrimi, "50");
    EXPECT_EQ(v.TxtSuccessivi, "400");
}

TEST_F(DialogsTest, PositionTestHiddenByMenuKeepsStateClosedByOperatorReloads) {
    PositionTestForm form(ctx);
    ctx.main.testEncoderChecked = true;
    form.show();
    ctx.posTest.TxtPassword = "Tirn";
    form.TxtPasswordKeyPress(13);
    ctx.posTest.LblMax = "99";

    form.hide();
    form.show();
    EXPECT_TRUE(ctx.posTest.unlocked);
    EXPECT_EQ(ctx.posTest.LblMax, "99");

    form.close();
    EXPECT_FALSE(ctx.posTest.visible);
    EXPECT_FALSE(ctx.main.testEncoderChecked);
    form.show();
    EXPECT_FALSE(ctx.posTest.unlocked);
    EXPECT_EQ(ctx.posTest.TxtPassword, "");
    EXPECT_EQ(ctx.posTest.LblMax, "0");
}

}  // namespace
}  // namespace gyrel
