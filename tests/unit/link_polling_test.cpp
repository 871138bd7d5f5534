#include <gtest/gtest.h>

#include "link_fixture.h"

namespace gyrel {
namespace {

const Rgb kLightBlue{192, 192, 255};
const Rgb kDarkRed{192, 0, 0};

std::vector<double> sentTimes(const ScriptedPort& port) {
    std::vector<double> t;
    for (const auto& s : port.sent) t.push_back(s.atMs);
    return t;
}

TEST(LinkPolling, PollsUntilTheToggleIsReleased) {
    LinkRig rig;
    rig.port.responder = [](const Bytes&) { return ScriptedPort::Reply{{10, frameB(1234, 3, 5, 0x8001)}}; };
    int polls = 0;
    std::string captionWhilePolling;
    rig.link.afterQuery = [&] {
        captionWhilePolling = rig.ctx.main.Check1Caption;
        if (++polls == 3) rig.link.check1MouseUp(false);
    };
    rig.link.check1MouseUp(true);
    EXPECT_EQ(sentTimes(rig.port), (std::vector<double>{0, 35, 70}));
    EXPECT_EQ(captionWhilePolling, " Off line");
    rig.expectOffLine();
    EXPECT_EQ(rig.ctx.main.FinProgr, "--");
    EXPECT_FALSE(rig.link.ChecksumOk);
    EXPECT_EQ(rig.barsVisible(), std::vector<bool>(5, false));
    EXPECT_EQ(rig.link.EconLastText, "offline");

    // A second empty-slot reply in a row ends polling by itself.
    rig.port.responder = [](const Bytes&) { return ScriptedPort::Reply{{10, bytesOf({0x00, 0xFF})}}; };
    rig.link.check1MouseUp(true);
    EXPECT_EQ(rig.port.sent.size(), 5u);
    rig.expectOffLine();
}

class LinkEconomy : public ::testing::Test {
protected:
    LinkRig rig;
    unsigned position = 1234;
    void SetUp() override {
        rig.link.monitor().EnbEconClick();
        rig.port.responder = [this](const Bytes&) { return ScriptedPort::Reply{{10, frameB(position)}}; };
    }
};

TEST_F(LinkEconomy, StillPositionPausesAfter1500UnchangedPollsThenQueriesEveryTwoSeconds) {
    EXPECT_TRUE(rig.ctx.main.econVisible);
    rig.link.check1MouseUp(true);
    // The first poll sets the text; 1501 unchanged ones after it exceed the limit.
    ASSERT_EQ(rig.port.sent.size(), 1502u);
    EXPECT_EQ(rig.port.sent.back().atMs, 1501 * 35);
    EXPECT_EQ(rig.link.EconIdleCount, 1501);
    EXPECT_EQ(rig.clock.nowMs(), 1502 * 35);
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.link.PortUsers, 1);
    EXPECT_EQ(rig.ctx.main.econBack, kDarkRed);
    EXPECT_EQ(rig.ctx.main.Check1Caption, " Off line");

    const double paused = rig.clock.nowMs();
    rig.clock.waitMs(6500);
    ASSERT_EQ(rig.port.sent.size(), 1505u);
    EXPECT_EQ(rig.port.sent[1502].atMs, paused + 2000);
    EXPECT_EQ(rig.port.sent[1503].atMs, paused + 4000);
    EXPECT_EQ(rig.port.sent[1504].atMs, paused + 6000);

    // The shaft moves: continuous polling resumes and the indicator turns back.
    position = 2000;
    int polls = 0;
    rig.link.afterQuery = [&] {
        if (++polls == 2) {
            EXPECT_EQ(rig.ctx.main.econBack, kLightBlue);
        }
        if (polls == 5) rig.link.check1MouseUp(false);
    };
    rig.clock.waitMs(2000);
    EXPECT_EQ(polls, 5);
    EXPECT_EQ(rig.port.sent[1505].atMs, paused + 8000);
    EXPECT_EQ(rig.port.sent[1506].atMs, paused + 8035);
    EXPECT_EQ(rig.link.EconIdleCount, 4);
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_EQ(rig.ctx.main.econBack, kLightBlue);
}

TEST_F(LinkEconomy, SilentDevicePausesAfter100Polls) {
    rig.port.responder = nullptr;
    rig.link.check1MouseUp(true);
    ASSERT_EQ(rig.port.sent.size(), 102u);
    EXPECT_EQ(rig.clock.nowMs(), 102 * 280);
    EXPECT_EQ(rig.ctx.main.econBack, kDarkRed);
}

TEST_F(LinkEconomy, GoingOffLineDuringThePauseStopsAtTheNextTick) {
    rig.link.check1MouseUp(true);
    const double paused = rig.clock.nowMs();
    rig.clock.waitMs(500);
    rig.link.check1MouseUp(false);
    EXPECT_TRUE(rig.port.portOpen());
    rig.clock.waitMs(5000);
    EXPECT_EQ(rig.port.sent.size(), 1503u);
    EXPECT_EQ(rig.port.sent.back().atMs, paused + 2000);
    rig.expectOffLine();
}

TEST_F(LinkEconomy, BackOnLineDuringThePauseTakesOverFromTheTimer) {
    rig.link.check1MouseUp(true);
    const double paused = rig.clock.nowMs();
    rig.clock.waitMs(500);
    rig.link.check1MouseUp(false);
    int polls = 0;
    rig.link.afterQuery = [&] {
        if (++polls == 1) {
            rig.ctx.main.econBack = Rgb{};  // seen again only if a pause ran
            position = 2000;                // the next query finds the shaft moving
        }
        if (polls == 100) rig.link.check1MouseUp(false);
    };
    rig.link.check1MouseUp(true);  // still, so one query and the pause again
    EXPECT_EQ(polls, 1);
    EXPECT_EQ(rig.ctx.main.econBack, kDarkRed);
    rig.clock.waitMs(2000);  // Timer2 was re-armed by that pause, not left from before
    EXPECT_EQ(polls, 100);
    EXPECT_EQ(rig.port.sent[1503].atMs, paused + 500 + 35 + 2000);
}

TEST_F(LinkEconomy, EconomyOffPollsOnAndOn) {
    rig.link.monitor().EnbEconClick();
    EXPECT_FALSE(rig.ctx.main.econVisible);
    int polls = 0;
    rig.link.afterQuery = [&] {
        if (++polls == 3000) rig.link.PollingActive = false;
    };
    rig.link.check1MouseUp(true);
    EXPECT_EQ(rig.port.sent.size(), 3000u);
}

}  // namespace
}  // namespace gyrel
