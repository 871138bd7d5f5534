// One conversation at a time on the line: what the monitor, the origin
// exchange and a download do when they meet, judged by what the device received.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/line_owner.h"
#include "link_fixture.h"
#include "origin/origin_dialog.h"

namespace gyrel {
namespace {

using Outcome = DownloadCommand::Outcome;
using xfertest::Rig;

// A second conversation is refused while one holds the line, and told who holds
// it; the status poll yields to a conversation and is refused during one. A
// conversation that fails with an exception gives the line back. Emptying the
// output lets every byte written reach the device first, and so does closing the port.
TEST(LineOwner, SecondClaimIsRefusedNamingTheHolderAndQueuedBytesReachTheDevice) {
    Rig r;
    LineOwner& line = r.ctx.line;
    LineOwner::Claim poll = line.claim("status poll", LineOwner::Kind::Poll);
    ASSERT_TRUE(poll);
    EXPECT_FALSE(line.busy());
    {
        const LineOwner::Claim download = line.claim("download");
        ASSERT_TRUE(download);
        EXPECT_TRUE(line.busy());
        const LineOwner::Claim upload = line.claim("upload");
        EXPECT_FALSE(upload);
        EXPECT_EQ(upload.refusedBy(), "download");
        EXPECT_FALSE(line.claim("status poll", LineOwner::Kind::Poll));
    }
    EXPECT_FALSE(line.busy());
    EXPECT_EQ(line.holder(), "status poll");
    poll.release();
    EXPECT_THROW(
        {
            const LineOwner::Claim claim = line.claim("upload");
            line.send(0x80);  // the port is closed: this raises
        },
        SerialError);
    EXPECT_FALSE(line.busy());
    EXPECT_TRUE(line.claim("download"));

    line.open();
    const Frame19 request = UploadCommand::requestFrame(4);
    Bytes sent(request.begin(), request.end());
    line.send(sent);
    line.emptyOutput();
    EXPECT_EQ(r.device.received(), sent);
    line.send(0xFF);
    line.close();
    sent.push_back(0xFF);
    EXPECT_EQ(r.device.received(), sent);
    EXPECT_EQ(r.clock.nowMs(), 0);
}

// Going on line while a transfer runs returns at once (the transfer's wait
// goes on), shows why, and starts polling once the transfer has ended.
TEST(LineOwner, OnLineDuringATransferIsDeferredToItsEnd) {
    LinkRig rig;
    rig.answerAll(frameB(1234));
    rig.ctx.EditorBusy = true;
    rig.link.check1MouseUp(true);
    EXPECT_EQ(rig.clock.nowMs(), 0);
    EXPECT_EQ(rig.m.busyNotice, rig.ctx.texts->lineBusy);
    rig.clock.waitMs(450);
    EXPECT_TRUE(rig.port.sent.empty());
    rig.ctx.EditorBusy = false;
    int polls = 0;
    rig.link.afterQuery = [&] {
        if (++polls == 2) rig.link.check1MouseUp(false);
    };
    rig.clock.waitMs(100);
    EXPECT_EQ(rig.port.sentTimes(), (std::vector<double>{500, 535}));
    EXPECT_EQ(std::make_pair(rig.m.busyNotice, rig.link.PortUsers), std::make_pair(std::string(), 0));
}

// A Timer2 tick of an economy pause falling inside the origin exchange sends no
// query into it: every program is read and confirmed.
TEST(LineOwner, EconomyTickDuringTheOriginExchangeStaysQuiet) {
    Rig r("V820HX");
    OriginDialog dialog(r.ctx, r.link, r.ed.wait);
    dialog.show();
    r.link.monitor().EnbEconClick();
    r.link.check1MouseUp(true);  // a still shaft: the loop ends in the economy pause
    ASSERT_TRUE(r.ctx.main.Check1Checked);
    r.clock.waitMs(1000);
    const auto before = static_cast<long>(r.device.received().size());
    const double start = r.clock.nowMs();
    dialog.PulsRx();
    ASSERT_GT(r.clock.nowMs() - start, 1000);  // the 2-s tick fell inside
    EXPECT_EQ(std::count(r.device.received().begin() + before, r.device.received().end(), 0x80), 0);
    for (const OriginRow& row : dialog.rows) EXPECT_EQ(row.presetBack, kOriginConfirmed);
    r.link.check1MouseUp(false);
}

// A download clicked while a status reply is on its way lets it finish before
// emptying the input: the header's acknowledgement is not mistaken, and no
// frame is sent twice.
TEST(LineOwner, DownloadStartedDuringAStatusReplyWaitsForItsEnd) {
    Rig r;
    r.prepare({{10, 1}, {20, 0}}, 3);
    r.env.procs.LeggiLav = [](int) { return true; };
    bool started = false;
    r.link.afterQuery = [&] { r.link.check1MouseUp(false); };
    r.clock.at(3, [&] {  // 2 ms after the query the reply is still arriving at 9600 baud
        started = true;
        r.download.Command2();
    });
    r.link.check1MouseUp(true);
    ASSERT_TRUE(started);
    EXPECT_EQ(r.download.lastOutcome, Outcome::Sent);
    EXPECT_EQ(r.download.sender.framesAcknowledged, r.download.sender.framesTotal);
    const auto& frames = r.device.frames();
    EXPECT_EQ(std::count_if(frames.begin(), frames.end(), [](const Bytes& f) { return f.size() == 19; }),
              r.download.sender.framesTotal);
}

// A V712 work file that cannot be read, and sixteen empty boxes of the
// multiple-file panel: nothing is sent, no success, and the operator is told.
TEST(LineOwner, NothingToSendIsNoSuccess) {
    Rig r("V712");
    r.env.procs.Leggi712 = [] {};
    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::CheckFailed);
    EXPECT_EQ(r.op.boxes.size(), 1u);
    r.expectFree();

    Rig m;
    m.ed.SelezMulti = true;
    m.env.slots.path = [](int) { return std::string(); };
    m.env.procs.CheckModif = [](int) { return AnswerYes; };
    m.download.Command2();
    EXPECT_NE(m.download.lastOutcome, Outcome::Sent);
    EXPECT_EQ(m.op.boxes.size(), 1u);
    EXPECT_EQ(m.op.boxes.at(0).prompt, "File not present");
    EXPECT_TRUE(r.device.received().empty() && m.device.received().empty());
}

}  // namespace
}  // namespace gyrel
