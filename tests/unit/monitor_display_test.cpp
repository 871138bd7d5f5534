#include <gtest/gtest.h>

#include "link_fixture.h"

namespace gyrel {
namespace {

const Rgb kLightBlue{192, 192, 255};
const Rgb kLightRed{255, 192, 192};

class MonitorDisplay : public ::testing::Test {
protected:
    LinkRig rig;
    MainView& m = rig.ctx.main;
    void SetUp() override { rig.polling(); }
    // One query answered with `frame` 10 ms later (nullptr-like empty = silence).
    void poll(const Bytes& frame) {
        if (frame.empty())
            rig.port.silenceNext();
        else
            rig.port.replyNext(10, frame);
        rig.link.TxQuery();
    }
};

TEST_F(MonitorDisplay, TenthsOrPlainPositionByModel) {
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
    rig.useModel("NORM");  // single-turn: the hidden displays keep "0"
    poll(frameB(3000));
    EXPECT_EQ(m.LblGiri + " " + m.LblGiro, "0 0");
}

TEST_F(MonitorDisplay, NoProgramInTheDevice) {
    rig.useModel("V820HX");
    poll(frameA(500, 4, 9, 0x3));
    poll(frameA(0xFFFFFFFFu, 4, 9, 0x0));
    EXPECT_EQ(m.FinQuota + " " + m.FinCamme + " " + m.FinProgr, "NO PROG -- 5");
    EXPECT_EQ(m.Shape1Fill[1], FillStyle::Solid);  // the rest of the display is left alone
    // A device lost after reporting no program shows as lost.
    poll({});
    EXPECT_EQ(m.FinQuota, "- - -  ");
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

TEST_F(MonitorDisplay, BarWidthAndColourAndLossWhilePollingVersusStopped) {
    poll(frameB(1800));
    EXPECT_EQ(m.barFillWidth, 3251);  // 6480 / 3599 x 1800 + 10
    EXPECT_EQ(m.barFillColour, kLightBlue);
    poll(frameB(4000));
    EXPECT_EQ(m.barFillColour, kLightRed);

    poll({});
    poll({});
    EXPECT_EQ(m.FinQuota + m.FinProgr + m.FinCamme + m.FinOrigin, "- - -  ------");
    EXPECT_EQ(m.barFillWidth, 0);
    EXPECT_EQ(rig.link.monitor().LastShownPosition, -1);
    m.Check1Caption = " On line";
    rig.link.LeggiDato();
    EXPECT_EQ(m.FinQuota, "offline");
}

TEST_F(MonitorDisplay, OneBeepAtLossAndOneAtReturn) {
    m.Check1Caption = " On line";
    rig.link.LeggiDato();  // start-up: off line
    EXPECT_EQ(m.FinQuota, "offline");
    poll(frameB(100));
    EXPECT_EQ(m.Check1Caption, " Off line");
    poll(frameB(110));
    poll(frameB(120));
    EXPECT_EQ(rig.op.beeps.size(), 1u);  // on line for the first time
    poll({});
    EXPECT_EQ(rig.op.beeps.size(), 2u);
    EXPECT_EQ(m.barFillWidth, 1);  // shrinks at the loss
    poll({});
    EXPECT_EQ(rig.op.beeps.size(), 2u);
    EXPECT_EQ(m.barFillWidth, 0);
    poll(frameB(130));
    EXPECT_EQ(rig.op.beeps.size(), 3u);
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

TEST(MonitorText, PositionAndNumberTexts) {
    ModelGlobals px;
    px.ModelType = "Px71";
    EXPECT_EQ(positionText(0, ModelGlobals{}) + " " + positionText(4294967295.0, px), "0.0 429496729.5");
    EXPECT_EQ(numberText(-30) + " " + numberText(4294967295.0), "-30 4294967295");
}

}  // namespace
}  // namespace gyrel
