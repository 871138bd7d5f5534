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
    EXPECT_EQ(rig.link.PortUsers, 0);
    EXPECT_EQ(rig.port.closes, 1);
    // Releasing the whole mask closes it for everyone.
    rig.link.apri_com(UserMonitor);
    rig.link.apri_com(UserUpload);
    rig.link.chiudi_com(rig.link.PortUsers);
    EXPECT_EQ(rig.link.PortUsers, 0);
    EXPECT_FALSE(rig.port.portOpen());
}

// A port that will not open: the serial dialog is offered after each failure while
// it says retry; giving up (or no dialog at all) releases the user's bit.
TEST(LinkPort, OpenFailureOffersTheSerialDialogAndRetries) {
    struct Case {
        int failures;
        int retries;  // the dialog's Yes answers; -1: no dialog wired
        bool opened;
        int attempts;
    };
    const Case cases[] = {{2, 5, true, 3}, {100, 2, false, 3}, {1, -1, false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failures);
        LinkRig rig;
        rig.port.failOpens(c.failures, SerialError::Kind::NoSuchPort);
        int dialogs = 0;
        if (c.retries >= 0) rig.ctx.hooks.serialDialogForOpenFailure = [&] { return dialogs++ < c.retries; };
        EXPECT_EQ(rig.link.apri_com(UserEditor), c.opened);
        EXPECT_EQ(rig.port.openAttempts, c.attempts);
        EXPECT_EQ(rig.port.portOpen(), c.opened);
        EXPECT_EQ(rig.link.PortUsers, c.opened ? 8 : 0);
    }
}

// Presets apply with the port closed; opening waits while the serial dialog is up.
TEST(LinkPort, PresetsApplyClosedAndOpeningWaitsForTheSerialDialog) {
    LinkRig rig;
    rig.link.presetPort("19200", 3);
    EXPECT_EQ(rig.port.settings() + " " + std::to_string(rig.port.commPort()), "19200,n,8,1 3");
    EXPECT_EQ(std::make_tuple(rig.port.handshaking(), rig.port.inputLen, rig.port.rtsEnable, rig.port.inBufferSizeSet),
              std::make_tuple(0, 0, false, 1024));
    EXPECT_FALSE(rig.port.portOpen());
    rig.ctx.hooks.serialDialogVisible = [&] { return rig.clock.nowMs() < 500; };
    EXPECT_TRUE(rig.link.apri_com(UserMonitor));
    EXPECT_EQ(rig.port.lastOpenedAt, 500);
}

TEST(LinkPort, GivingUpOnLineGoesBackOffLineCleanly) {
    LinkRig rig;
    rig.port.failOpens(1);
    rig.ctx.hooks.serialDialogForOpenFailure = [] { return false; };
    rig.link.check1MouseUp(true);
    EXPECT_FALSE(rig.link.PollingActive || rig.ctx.main.Check1Checked);
    rig.expectOffLine();
    EXPECT_TRUE(rig.port.sent.empty());
}

// A pulled adapter: the port is released and the link shown lost, polling goes
// on marking the missing polls, and the first poll after it came back reads again.
TEST(LinkPort, PollingResumesByItselfWhenTheDeviceComesBack) {
    LinkRig rig;
    rig.port.responder = [](const Bytes&) { return ScriptedPort::Reply{{10, frameB(500)}}; };
    int polls = 0;
    std::vector<int> quality;
    bool closedWhileGone = false;
    rig.link.afterQuery = [&] {
        quality.push_back(rig.link.ChecksumOk ? rig.link.LinkQuality : -1);
        if (++polls == 2) rig.port.setPulled(true);
        if (polls == 4) closedWhileGone = !rig.port.portOpen();
        if (polls == 5) rig.port.setPulled(false);
        if (polls == 7) rig.link.check1MouseUp(false);
    };
    rig.link.check1MouseUp(true);
    EXPECT_TRUE(closedWhileGone);
    EXPECT_EQ(quality, (std::vector<int>{4, 4, -1, -1, -1, 4, 4}));
    EXPECT_EQ(rig.port.opens, 2);
    rig.expectOffLine();
}

}  // namespace
}  // namespace gyrel
