#include <gtest/gtest.h>

#include <tuple>

#include "link_fixture.h"

namespace gyrel {
namespace {

TEST(LinkPort, UsersShareThePort) {
    LinkRig rig;
    ASSERT_TRUE(rig.link.apri_com(UserEditor));
    ASSERT_TRUE(rig.link.apri_com(UserMonitor));
    EXPECT_EQ(rig.port.opens, 1);
    EXPECT_EQ(rig.link.PortUsers, 9);
    rig.link.chiudi_com(UserEditor);
    EXPECT_TRUE(rig.port.portOpen());  // the monitor still holds it
    EXPECT_EQ(rig.link.PortUsers, 1);
    rig.link.chiudi_com(UserMonitor);
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_EQ(rig.port.closes, 1);
    rig.link.apri_com(UserMonitor);
    rig.link.apri_com(UserUpload);
    rig.link.chiudi_com(rig.link.PortUsers);  // the whole mask closes it for everyone
    EXPECT_EQ(rig.link.PortUsers, 0);
    EXPECT_FALSE(rig.port.portOpen());
}

// A port that will not open: the serial dialog is offered after each failure while
// it says retry; giving up (or no dialog at all) releases the user's bit.
TEST(LinkPort, OpenFailureOffersTheSerialDialogAndRetries) {
    const std::tuple<int, int, bool, int> cases[] = {{2, 5, true, 3}, {100, 2, false, 3}, {1, -1, false, 1}};
    for (const auto& [failures, retries, opened, attempts] : cases) {
        SCOPED_TRACE(failures);
        LinkRig rig;
        rig.port.failOpens(failures, SerialError::Kind::NoSuchPort);
        int dialogs = 0;
        if (retries >= 0) rig.ctx.hooks.serialDialogForOpenFailure = [&, n = retries] { return dialogs++ < n; };
        EXPECT_EQ(rig.link.apri_com(UserEditor), opened);
        EXPECT_EQ(rig.port.openAttempts, attempts);
        EXPECT_EQ(rig.port.portOpen(), opened);
        EXPECT_EQ(rig.link.PortUsers, opened ? 8 : 0);
    }
    LinkRig rig;  // giving up from the on-line toggle goes back off line cleanly
    rig.port.failOpens(1);
    rig.ctx.hooks.serialDialogForOpenFailure = [] { return false; };
    rig.link.check1MouseUp(true);
    EXPECT_FALSE(rig.link.PollingActive || rig.m.Check1Checked);
    rig.expectOffLine();
    EXPECT_TRUE(rig.port.sent.empty());
}

// Presets apply with the port closed; opening waits while the serial dialog is up.
TEST(LinkPort, PresetsApplyClosedAndOpeningWaitsForTheSerialDialog) {
    LinkRig rig;
    rig.link.presetPort("19200", 3);
    EXPECT_EQ(rig.port.settings() + " " + std::to_string(rig.port.commPort()), "19200,n,8,1 3");
    const ScriptedPort& p = rig.port;
    EXPECT_EQ(std::make_tuple(p.handshaking(), p.inputLen, p.rtsEnable, p.inBufferSizeSet),
              std::make_tuple(0, 0, false, 1024));
    EXPECT_FALSE(rig.port.portOpen());
    rig.ctx.hooks.serialDialogVisible = [&] { return rig.clock.nowMs() < 500; };
    EXPECT_TRUE(rig.link.apri_com(UserMonitor));
    EXPECT_EQ(rig.port.lastOpenedAt, 500);
}

// A pulled adapter: the port is released and the link shown lost, polling goes
// on marking the missing polls, and the first poll after it came back reads again.
TEST(LinkPort, PollingResumesByItselfWhenTheDeviceComesBack) {
    LinkRig rig;
    rig.answerAll(frameB(500));
    std::vector<int> quality;
    bool closedWhileGone = false;
    rig.link.afterQuery = [&] {
        quality.push_back(rig.link.ChecksumOk ? rig.link.LinkQuality : -1);
        const std::size_t polls = quality.size();
        if (polls == 2 || polls == 5) rig.port.setPulled(polls == 2);
        if (polls == 4) closedWhileGone = !rig.port.portOpen();
        if (polls == 7) rig.link.check1MouseUp(false);
    };
    rig.link.check1MouseUp(true);
    EXPECT_TRUE(closedWhileGone);
    EXPECT_EQ(quality, (std::vector<int>{4, 4, -1, -1, -1, 4, 4}));
    EXPECT_EQ(rig.port.opens, 2);
    rig.expectOffLine();
}

std::vector<double> sentTimes(const ScriptedPort& port) {
    std::vector<double> t;
    for (const auto& s : port.sent) t.push_back(s.atMs);
    return t;
}

TEST(LinkPolling, PollsUntilTheToggleIsReleased) {
    LinkRig rig;
    rig.answerAll(frameB(1234, 3, 5, 0x8001));
    int polls = 0;
    std::string captionWhilePolling;
    rig.link.afterQuery = [&] {
        captionWhilePolling = rig.m.Check1Caption;
        if (++polls == 3) rig.link.check1MouseUp(false);
    };
    rig.link.check1MouseUp(true);
    EXPECT_EQ(sentTimes(rig.port), (std::vector<double>{0, 35, 70}));
    EXPECT_EQ(captionWhilePolling, " Off line");
    rig.expectOffLine();
    EXPECT_EQ(rig.m.FinProgr, "--");
    EXPECT_FALSE(rig.link.ChecksumOk);
    EXPECT_EQ(rig.barsVisible(), std::vector<bool>(5, false));
    EXPECT_EQ(rig.link.EconLastText, "offline");

    rig.answerAll(bytesOf({0x00, 0xFF}));  // a second empty-slot reply in a row ends polling by itself
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
    // On line until the economy pause; back off line 500 ms into it. Returns when the pause began.
    double pauseThenOffLine() {
        rig.link.check1MouseUp(true);
        const double paused = rig.clock.nowMs();
        rig.clock.waitMs(500);
        rig.link.check1MouseUp(false);
        return paused;
    }
};

TEST_F(LinkEconomy, StillPositionPausesAfter1500UnchangedPollsThenQueriesEveryTwoSeconds) {
    EXPECT_TRUE(rig.m.econVisible);
    rig.link.check1MouseUp(true);
    // The first poll sets the text; 1501 unchanged ones after it exceed the limit.
    ASSERT_EQ(rig.port.sent.size(), 1502u);
    EXPECT_EQ(rig.port.sent.back().atMs, 1501 * 35);
    EXPECT_EQ(rig.link.EconIdleCount, 1501);
    EXPECT_EQ(rig.clock.nowMs(), 1502 * 35);
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.link.PortUsers, 1);
    EXPECT_EQ(rig.m.econBack, kDarkRed);
    EXPECT_EQ(rig.m.Check1Caption, " Off line");

    const double paused = rig.clock.nowMs();
    rig.clock.waitMs(6500);
    ASSERT_EQ(rig.port.sent.size(), 1505u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(rig.port.sent[1502 + i].atMs, paused + 2000 * (i + 1.0));

    position = 2000;  // the shaft moves: continuous polling resumes and the indicator turns back
    int polls = 0;
    rig.link.afterQuery = [&] {
        if (++polls == 2) {
            EXPECT_EQ(rig.m.econBack, kLightBlue);
        }
        if (polls == 5) rig.link.check1MouseUp(false);
    };
    rig.clock.waitMs(2000);
    EXPECT_EQ(polls, 5);
    EXPECT_EQ(rig.port.sent[1505].atMs, paused + 8000);
    EXPECT_EQ(rig.port.sent[1506].atMs, paused + 8035);
    EXPECT_EQ(rig.link.EconIdleCount, 4);
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_EQ(rig.m.econBack, kLightBlue);
}

TEST_F(LinkEconomy, SilentDevicePausesAfter100Polls) {
    rig.port.responder = nullptr;
    rig.link.check1MouseUp(true);
    ASSERT_EQ(rig.port.sent.size(), 102u);
    EXPECT_EQ(rig.clock.nowMs(), 102 * 280);
    EXPECT_EQ(rig.m.econBack, kDarkRed);
}

TEST_F(LinkEconomy, GoingOffLineDuringThePauseStopsAtTheNextTick) {
    const double paused = pauseThenOffLine();
    EXPECT_TRUE(rig.port.portOpen());
    rig.clock.waitMs(5000);
    EXPECT_EQ(rig.port.sent.size(), 1503u);
    EXPECT_EQ(rig.port.sent.back().atMs, paused + 2000);
    rig.expectOffLine();
}

TEST_F(LinkEconomy, BackOnLineDuringThePauseTakesOverFromTheTimer) {
    const double paused = pauseThenOffLine();
    int polls = 0;
    rig.link.afterQuery = [&] {
        if (++polls == 1) {
            rig.m.econBack = Rgb{};  // seen again only if a pause ran
            position = 2000;         // the next query finds the shaft moving
        }
        if (polls == 100) rig.link.check1MouseUp(false);
    };
    rig.link.check1MouseUp(true);  // still, so one query and the pause again
    EXPECT_EQ(polls, 1);
    EXPECT_EQ(rig.m.econBack, kDarkRed);
    rig.clock.waitMs(2000);  // Timer2 was re-armed by that pause, not left from before
    EXPECT_EQ(polls, 100);
    EXPECT_EQ(rig.port.sent[1503].atMs, paused + 500 + 35 + 2000);
}

TEST_F(LinkEconomy, EconomyOffPollsOnAndOn) {
    rig.link.monitor().EnbEconClick();
    EXPECT_FALSE(rig.m.econVisible);
    int polls = 0;
    rig.link.afterQuery = [&] {
        if (++polls == 3000) rig.link.PollingActive = false;
    };
    rig.link.check1MouseUp(true);
    EXPECT_EQ(rig.port.sent.size(), 3000u);
}

}  // namespace
}  // namespace gyrel
