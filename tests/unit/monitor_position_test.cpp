#include <gtest/gtest.h>

#include "link_fixture.h"

namespace gyrel {
namespace {

const Rgb kGrey{224, 224, 224};
const Rgb kYellow{255, 255, 0};
const Rgb kLightGreen{159, 255, 145};

class PositionTest : public ::testing::Test {
protected:
    LinkRig rig;
    PositionTestView& t = rig.ctx.posTest;
    Monitor& mon = rig.link.monitor();
    void SetUp() override {
        t.TxtPrimi = "20";
        t.TxtSuccessivi = "200";
        rig.link.CurrentPosition = 100;
        mon.TestEncoderClick();
    }
    void step(double to) {
        rig.link.CurrentPosition = to;
        mon.VerificaQuote();
    }
};

// A jump above the tolerance is listed and counted and colours the position; a
// step within it only moves the extremes; passing through zero is no jump.
TEST_F(PositionTest, JumpsAboveTheToleranceAreListedAndCounted) {
    step(120);
    EXPECT_EQ(rig.ctx.main.FinQuotaBack, kGrey);
    step(105);
    step(95);  // a smaller backward step leaves the minimum
    EXPECT_EQ(t.LblMax + " " + t.LblMin + " " + t.Label1[0], "20 -15 ");
    EXPECT_EQ(mon.TestErrorCount, 0);
    step(125);
    EXPECT_EQ(rig.ctx.main.FinQuotaBack, kYellow);
    EXPECT_EQ(t.Label1[0] + "|" + t.Label1[1] + "|" + t.Label1[14], "125     30||125     30");
    EXPECT_EQ(t.Label5 + " " + t.Label6 + " " + t.LblMax + " " + t.LblMin, "1 30 30 -15");
    EXPECT_EQ(t.TxtPrimiBack, kLightGreen);
    EXPECT_EQ(t.TxtSuccessiviBack, kGrey);

    rig.ctx.main.FinQuotaBack = kGrey;
    step(3599 - 5);  // from 125: a jump
    EXPECT_EQ(mon.TestErrorCount, 2);
    rig.ctx.main.FinQuotaBack = kGrey;
    step(3);
    EXPECT_EQ(t.Label6 + " " + t.LblMin, "-3591 -15");
    EXPECT_EQ(mon.TestErrorCount, 2);
    EXPECT_EQ(rig.ctx.main.FinQuotaBack, kGrey);
}

TEST_F(PositionTest, AfterTwoTurnsTheSecondToleranceApplies) {
    rig.useModel("KMT71");
    rig.ctx.main.LblGiri = "2";
    step(250);  // 150 from 100: within 200
    EXPECT_EQ(t.TxtPrimiBack, kGrey);
    EXPECT_EQ(t.TxtSuccessiviBack, kLightGreen);
    EXPECT_EQ(mon.TestErrorCount, 0);
    step(500);
    EXPECT_EQ(mon.TestErrorCount, 1);
    EXPECT_EQ(t.Label1[0], "500     250");
}

TEST_F(PositionTest, FirstFourteenJumpsStayAndTheLastLineFollows) {
    double pos = 100;
    for (int i = 1; i <= 16; ++i) {
        pos += 100 + i;
        step(pos);
    }
    EXPECT_EQ(t.Label1[0], "201     101");
    EXPECT_EQ(t.Label1[13], "1605     114");
    EXPECT_EQ(t.Label1[14], "1836     116");
    EXPECT_EQ(t.Label5, "16");
    mon.TestErrorCount = 32767;
    step(pos + 500);
    EXPECT_EQ(t.Label5, "32767");  // the count stops
}

TEST_F(PositionTest, UnreadableOrHugeToleranceDoesNotBreakTheTest) {
    t.TxtPrimi = "99999";
    step(3000);  // tolerance held at 32767: MaxPosition - tol is below any step
    EXPECT_EQ(mon.TestErrorCount, 0);
    EXPECT_EQ(mon.PrevTestPosition, 3000);
    t.TxtPrimi = "abc";
    step(3001);
    EXPECT_EQ(mon.TestErrorCount, 1);
}

TEST_F(PositionTest, RunsAfterEveryReplyWhileSwitchedOn) {
    rig.polling();
    rig.port.replyNext(10, frameB(130));
    rig.link.TxQuery();
    EXPECT_EQ(t.Label1[0], "130     30");
    mon.TestEncoderClick();  // off
    rig.port.replyNext(10, frameB(900));
    rig.link.TxQuery();
    EXPECT_EQ(t.Label5, "1");
}

TEST(ToleranceValue, ReadLikeAFieldAndKeptInRange) {
    const std::pair<const char*, int> rows[] = {{" 12x", 12}, {"+25", 25},      {"20.5", 20},      {"21.5", 22},
                                                {"abc", 0},   {"99999", 32767}, {"-99999", -32768}};
    for (const auto& [text, value] : rows) EXPECT_EQ(toleranceValue(text), value) << text;
}

}  // namespace
}  // namespace gyrel
