#include <gtest/gtest.h>

#include "link_fixture.h"

namespace gyrel {
namespace {

const Rgb kLightRed{255, 192, 192};
const Rgb kGrey{224, 224, 224};
const Rgb kLightGreen{159, 255, 145};

class MonitorDisplay : public ::testing::Test {
protected:
    LinkRig rig;
    MainView& m = rig.m;
    void SetUp() override { rig.polling(); }
    // One query answered with `frame` 10 ms later (empty: silence).
    void poll(const Bytes& frame) {
        rig.port.replyNext(frame.empty() ? ScriptedPort::Reply{} : ScriptedPort::Reply{{10, frame}});
        rig.link.TxQuery();
    }
};

TEST_F(MonitorDisplay, PositionTextsByModelAndNoProgram) {
    poll(frameB(3599, 3, 12));
    EXPECT_EQ(m.FinQuota + " " + m.FinProgr + " " + m.FinCamme + " " + m.FinOrigin, "359.9 3 12 --");
    rig.useModel("OLD");
    poll(frameB(5, 3));
    EXPECT_EQ(m.FinQuota + " " + m.FinProgr, "0.5 4");
    rig.useModel("V820AX");
    poll(frameB(16383));
    EXPECT_EQ(m.FinQuota, "16383");
    rig.useModel("KMT71");  // turns and the position within the turn
    poll(frameA(10000, 2, 258, 0x81));
    EXPECT_EQ(m.LblGiri + " " + m.LblGiro + " " + m.FinQuota + " " + m.FinProgr + " " + m.FinCamme,
              "2 1808 10000 3 258");
    rig.useModel("V820HX");
    poll(frameA(0xFFFFFFFFu, 4, 9, 0x0));
    EXPECT_EQ(m.FinQuota + " " + m.FinCamme + " " + m.FinProgr, "NO PROG -- 5");
    EXPECT_EQ(m.Shape1Fill[0], FillStyle::Solid);  // the rest of the display is left alone
    poll({});                                      // a device lost after it shows as lost
    EXPECT_EQ(m.FinQuota, "- - -  ");
    rig.useModel("NORM");  // single-turn: the hidden displays keep "0"
    poll(frameB(3000));
    EXPECT_EQ(m.LblGiri + " " + m.LblGiro, "0 0");
    ModelGlobals px;
    px.ModelType = "Px71";
    EXPECT_EQ(positionText(0, ModelGlobals{}) + " " + positionText(4294967295.0, px), "0.0 429496729.5");
    EXPECT_EQ(numberText(-30) + " " + numberText(4294967295.0), "-30 4294967295");
}

TEST_F(MonitorDisplay, OutputsOfAnEightOutputModel) {
    rig.useModel("V820AX");
    poll(frameB(100, 0, 0, 0xFFA5));
    for (std::size_t i = 0; i < 16; ++i) {
        const bool on = i < 8 && (0xA5 >> i & 1);  // outputs 9..16 are not there
        EXPECT_EQ(m.Shape1Fill[i], on ? FillStyle::Solid : FillStyle::Transparent) << i;
        EXPECT_EQ(m.Shape1Border[i], i < 8 ? BorderStyle::Solid : BorderStyle::Dotted) << i;
        EXPECT_EQ(m.Label1On[i], on) << i;
    }
    poll({});
    EXPECT_EQ(m.Shape1Fill[7], FillStyle::HorizontalHatch);
    EXPECT_EQ(m.Shape1Fill[8], FillStyle::Transparent);
    EXPECT_FALSE(m.Label1On[0]);
}

// The bar follows the position; a loss beeps once, shrinks the bar and then clears
// the display, which says off line once stopped; the return beeps again.
TEST_F(MonitorDisplay, BarAndBeepsAtLossAndReturn) {
    m.Check1Caption = " On line";
    rig.link.LeggiDato();  // start-up: off line
    EXPECT_EQ(m.FinQuota, "offline");
    poll(frameB(1800));
    EXPECT_EQ(m.Check1Caption, " Off line");
    EXPECT_EQ(m.barFillWidth, 3251);  // 6480 / 3599 x 1800 + 10
    EXPECT_EQ(m.barFillColour, kLightBlue);
    poll(frameB(4000));
    EXPECT_EQ(m.barFillColour, kLightRed);
    EXPECT_EQ(rig.op.beeps, 1);  // on line for the first time
    poll({});
    EXPECT_EQ(rig.op.beeps, 2);
    EXPECT_EQ(m.barFillWidth, 1);
    poll({});
    EXPECT_EQ(rig.op.beeps, 2);
    EXPECT_EQ(m.FinQuota + m.FinProgr + m.FinCamme + m.FinOrigin, "- - -  ------");
    EXPECT_EQ(m.barFillWidth, 0);
    EXPECT_EQ(rig.link.monitor().LastShownPosition, -1);  // the bar is drawn afresh on return
    m.Check1Caption = " On line";
    rig.link.LeggiDato();
    EXPECT_EQ(m.FinQuota, "offline");
    poll(frameB(130));
    EXPECT_EQ(rig.op.beeps, 3);
    EXPECT_EQ(m.barFillWidth, 244);  // 6480 / 3599 x 130 + 10
}

TEST_F(MonitorDisplay, MinimizedWindowShowsThePositionInItsTitle) {
    m.minimized = true;
    m.barFillWidth = 77;
    poll(frameB(1234));
    EXPECT_EQ(m.title, "123.4 -->  COM1-9600");
    EXPECT_EQ(rig.clock.nowMs(), 35 + 20 + 120);
    EXPECT_EQ(m.barFillWidth, 77);  // contents not refreshed
    poll({});
    EXPECT_EQ(m.title, "- - -   COM 1   ");
    rig.link.CurrentPosition = 1234;
    rig.link.monitor().windowResized();
    EXPECT_EQ(m.title, "1234 -->  COM1-9600");
    m.minimized = false;
    rig.link.monitor().windowResized();
    EXPECT_EQ(m.title, "GYREL Utility --  COM 1  -  9600");
}

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
// step within it only moves the extremes; passing through zero is no jump. The
// first fourteen jumps stay listed, the last line follows, and the count stops.
TEST_F(PositionTest, JumpsAboveTheToleranceAreListedAndCounted) {
    step(120);
    step(105);
    step(95);  // a smaller backward step leaves the minimum
    EXPECT_EQ(t.LblMax + " " + t.LblMin + " " + t.Label1[0], "20 -15 ");
    EXPECT_EQ(mon.TestErrorCount, 0);
    EXPECT_EQ(rig.m.FinQuotaBack, kGrey);
    step(125);
    EXPECT_EQ(rig.m.FinQuotaBack, kYellow);
    EXPECT_EQ(t.Label1[0] + "|" + t.Label1[1] + "|" + t.Label1[14], "125     30||125     30");
    EXPECT_EQ(t.Label5 + " " + t.Label6 + " " + t.LblMax + " " + t.LblMin, "1 30 30 -15");
    EXPECT_EQ(t.TxtPrimiBack, kLightGreen);
    EXPECT_EQ(t.TxtSuccessiviBack, kGrey);
    rig.m.FinQuotaBack = kGrey;
    step(3599 - 5);  // from 125: a jump
    EXPECT_EQ(mon.TestErrorCount, 2);
    rig.m.FinQuotaBack = kGrey;
    step(3);
    EXPECT_EQ(t.Label6 + " " + t.LblMin, "-3591 -15");
    EXPECT_EQ(mon.TestErrorCount, 2);
    EXPECT_EQ(rig.m.FinQuotaBack, kGrey);
    double pos = 3;
    for (int i = 1; i <= 14; ++i) step(pos += 100 + i);
    EXPECT_EQ(t.Label1[13] + "|" + t.Label1[14], "1281     112|1508     114");
    EXPECT_EQ(t.Label5, "16");
    mon.TestErrorCount = 32767;
    step(pos + 500);
    EXPECT_EQ(t.Label5, "32767");  // the count stops
}

// After two turns the second tolerance applies. A tolerance is read like a field
// and kept in range: one too large for any step finds no jump, an unreadable one is 0.
TEST_F(PositionTest, TheToleranceByTurnsAndAsTyped) {
    const std::pair<const char*, int> rows[] = {{" 12x", 12}, {"+25", 25},      {"20.5", 20},      {"21.5", 22},
                                                {"abc", 0},   {"99999", 32767}, {"-99999", -32768}};
    for (const auto& [text, value] : rows) EXPECT_EQ(toleranceValue(text), value) << text;
    rig.useModel("KMT71");
    rig.m.LblGiri = "2";
    step(250);  // 150 from 100: within 200
    EXPECT_EQ(t.TxtSuccessiviBack, kLightGreen);
    EXPECT_EQ(mon.TestErrorCount, 0);
    step(500);
    EXPECT_EQ(t.Label1[0], "500     250");
    rig.m.LblGiri = "0";
    t.TxtPrimi = "99999";
    step(3000);
    EXPECT_EQ(mon.TestErrorCount, 1);
    EXPECT_EQ(mon.PrevTestPosition, 3000);
    t.TxtPrimi = "abc";
    step(3001);
    EXPECT_EQ(mon.TestErrorCount, 2);
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

}  // namespace
}  // namespace gyrel
