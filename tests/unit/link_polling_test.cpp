#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "link_fixture.h"

namespace gyrel {
namespace {

using namespace std::string_literals;
using std::make_pair;
using std::make_tuple;

std::vector<bool> bars(int lit) {
    std::vector<bool> v(5, false);
    std::fill_n(v.begin(), lit, true);
    return v;
}
Bytes with(Bytes b, std::size_t at, std::uint8_t v) {
    b.resize(std::max(b.size(), at + 1));
    b[at] = v;
    return b;
}

class LinkRx : public ::testing::Test {
protected:
    LinkRig rig;
    void SetUp() override { rig.polling(); }
    // Delivers `reply` `after` ms from now and reads it: what rx_msg returned and how long it took.
    std::pair<int, double> receive(Bytes reply, double after = 10) {
        const double start = rig.clock.nowMs();
        rig.port.deliverAt(start + after, std::move(reply));
        const int code = rig.link.rx_msg();
        return {code, rig.clock.nowMs() - start};
    }
};

// The reply grid: checks 35, 50, 80 and 180 ms after the query, then a 100-ms pause
// when nothing usable came; a factor stretches the wait to more 180-ms rounds.
TEST_F(LinkRx, SilenceAndCancelEndTheWaitOnTheGrid) {
    const std::tuple<int, double, double> cases[] = {{1, -1, 280}, {10, -1, 1900}, {100, 250, 460}};
    for (const auto& [factor, cancelAt, returnsAt] : cases) {
        SCOPED_TRACE(factor);
        LinkRig r;
        r.polling();
        r.ctx.model.RxTimeoutFactor = factor;
        if (cancelAt >= 0) r.clock.at(cancelAt, [&] { r.ctx.CancelRequested = true; });
        const int code = r.link.rx_msg();
        EXPECT_EQ(make_tuple(code, r.clock.nowMs(), r.link.ChecksumOk, r.link.LinkQuality),
                  make_tuple(1000, returnsAt, false, 0));
        EXPECT_EQ(make_pair(r.barsVisible(), r.m.Shape3Colour[0]), make_pair(bars(1), Rgb{255, 0, 0}));
    }
}

TEST_F(LinkRx, BarsFollowTheArrivalTime) {
    const std::tuple<double, double, int, Rgb> cases[] = {
        {0, 35, 4, Rgb{0, 192, 0}},   {35, 35, 4, Rgb{0, 192, 0}},  {36, 50, 3, Rgb{0, 128, 0}},
        {50, 50, 3, Rgb{0, 128, 0}},  {51, 80, 2, Rgb{192, 64, 0}}, {80, 80, 2, Rgb{192, 64, 0}},
        {81, 180, 1, kYellow},        {179, 180, 1, kYellow},       {200, 215, 1, kYellow},
    };
    for (const auto& [arrival, returnsAt, quality, colour] : cases) {
        SCOPED_TRACE(arrival);
        rig.ctx.model.RxTimeoutFactor = arrival > 180 ? 10 : 1;  // a second round only when asked for
        EXPECT_EQ(receive(frameB(1234, 3, 5, 0x0005), arrival), make_pair(128, returnsAt));
        EXPECT_EQ(make_pair(rig.link.ChecksumOk, rig.link.LinkQuality), make_pair(true, quality));
        EXPECT_EQ(rig.barsVisible(), bars(quality + 1));
        for (int i = 0; i <= quality; ++i) EXPECT_EQ(rig.m.Shape3Colour[static_cast<std::size_t>(i)], colour);
    }
    EXPECT_EQ(make_tuple(rig.link.CurrentPosition, rig.link.OutputBits, rig.m.FinQuota),
              make_tuple(1234.0, 0x0005u, "123.4"s));
    const Bytes f = frameB(100);  // a frame arriving in pieces counts when complete
    rig.port.deliverAt(rig.clock.nowMs() + 10, Bytes(f.begin(), f.begin() + 10));
    EXPECT_EQ(receive(Bytes(f.begin() + 10, f.end()), 60), make_pair(128, 80.0));
    EXPECT_EQ(rig.link.LinkQuality, 2);
    rig.link.PollingActive = false;  // no bars while polling is off
    rig.m.Shape3Visible.fill(false);
    EXPECT_EQ(receive(frameB(100)).first, 128);
    EXPECT_EQ(rig.barsVisible(), bars(0));
}

// Each reply shape: its code, the checksum verdict and the time taken (short replies wait the round).
TEST_F(LinkRx, ReplyShapesGiveTheirCodes) {
    const std::tuple<const char*, Bytes, int, bool, double, int> cases[] = {
        {"data frame", with(frameB(100), 0, 0x40), 64, true, 35, 4},
        {"short data frame", bytesOf({0x40, 0x01, 0x02}), 64, false, 180, 1},
        {"acknowledge keeps the verdict", bytesOf({0xFF}), 255, false, 180, 1},
        {"noise", bytesOf({0x12, 0x34, 0x56}), 1000, false, 280, 1},  // something came: never red
        {"18 bytes", Bytes(18, 0x80), 1000, false, 280, 1},
        {"20 bytes", with(frameB(1234), 19, 0), 1000, false, 135, 4},
        {"38 acknowledge bytes", Bytes(38, 0xFF), 255, false, 35, 4},
        {"empty slot and more", bytesOf({0x00, 0xFF, 0x00}), 1000, false, 280, 1},
        {"00 FE", bytesOf({0x00, 0xFE}), 1000, false, 280, 1},
        {"39 acknowledge bytes", Bytes(39, 0xFF), 1000, false, 135, 4},
    };
    for (const auto& [name, reply, code, checksumOk, took, quality] : cases) {
        SCOPED_TRACE(name);
        rig.link.ChecksumOk = false;
        EXPECT_EQ(receive(reply, 5), make_pair(code, took));
        EXPECT_EQ(make_pair(rig.link.ChecksumOk, rig.link.LinkQuality), make_pair(checksumOk, quality));
    }
    EXPECT_EQ(rig.m.FinQuota, "offline");  // nothing decoded
    rig.port.input();                      // a reply longer than any is left unread
    rig.link.ChecksumOk = true;
    EXPECT_EQ(receive(bytesOf({0xFF})).first, 255);
    EXPECT_TRUE(rig.link.ChecksumOk);

    EXPECT_EQ(receive(with(frameB(1234), 18, 0xE4)).first, 128);  // a wrong sum is decoded, not trusted
    EXPECT_EQ(make_pair(rig.link.ChecksumOk, rig.m.FinQuota), make_pair(false, "123.4"s));
    rig.link.LeggiDato();
    EXPECT_EQ(rig.m.FinQuota, "- - -  ");
}

// After one empty-slot reply, a status frame or silence types "S y n c" first; an
// acknowledge in between forgets it; two in a row stop polling with a message.
TEST_F(LinkRx, EmptySlotRepliesTypeSyncOrStopPollingWithAMessage) {
    EXPECT_EQ(receive(bytesOf({0x00, 0xFF})), make_pair(0, 180.0));
    std::vector<std::pair<double, std::string>> shown;
    rig.clock.onPump = [&] {
        if (shown.empty() || shown.back().second != rig.m.FinQuota)
            shown.emplace_back(rig.clock.nowMs(), rig.m.FinQuota);
    };
    rig.m.FinQuota = "7.0";
    EXPECT_EQ(receive(frameB(1234)).first, 128);
    EXPECT_EQ(shown.at(1), make_pair(215.0, "S"s));  // one character each 40 ms
    EXPECT_EQ(shown.at(7), make_pair(455.0, "S y n c"s));
    EXPECT_EQ(make_pair(rig.clock.nowMs(), rig.m.FinQuota), make_pair(1295.0, "123.4"s));
    EXPECT_EQ(receive(bytesOf({0x00, 0xFF})).first, 0);
    const double t0 = rig.clock.nowMs();
    EXPECT_EQ(rig.link.rx_msg(), 0);
    EXPECT_EQ(rig.clock.nowMs() - t0, 180 + 7 * 40 + 800);
    EXPECT_EQ(rig.m.FinQuota, "S y n c");  // silence shows the same instead of the time-out

    rig.m.FinProgr = "4";
    EXPECT_EQ(receive(bytesOf({0x00, 0xFF})).first, 0);
    EXPECT_EQ(receive(bytesOf({0xFF})).first, 255);
    EXPECT_EQ(receive(bytesOf({0x00, 0xFF})).first, 0);
    EXPECT_TRUE(rig.op.boxes.empty() && rig.link.PollingActive);
    EXPECT_EQ(receive(bytesOf({0x00, 0xFF})).first, 0);
    EXPECT_EQ(rig.m.FinQuota + "|" + rig.m.FinProgr + "|" + rig.m.FinCamme + "|" + rig.m.FinOrigin,
              "no prg|--|--|--");
    EXPECT_FALSE(rig.m.Check1Checked || rig.link.PollingActive);
    EXPECT_EQ(rig.op.boxLog(), "Empty program|Selected memory location on ENCODER,\r\nis empty. \r\n\r\n"
                               "Send a program at this location.\n");
}

TEST_F(LinkRx, PortFailingWhileReadingClosesItAndDecodesNothing) {
    rig.clock.at(20, [&] { rig.port.setPulled(true); });
    EXPECT_EQ(receive(frameB(1234)), make_pair(1000, 35.0));
    // Closed: polling goes on and looks for the device again.
    EXPECT_EQ(make_tuple(rig.port.portOpen(), rig.link.LinkQuality, rig.link.CurrentPosition, rig.m.FinQuota),
              make_tuple(false, 0, 0.0, "offline"s));
}

TEST_F(LinkRx, QueryDiscardsStaleBytesSendsOneByteAndReadsInBinary) {
    rig.port.deliverAt(0, bytesOf({0x55, 0x55}));
    rig.port.replyNext(10, frameB(1234));
    rig.port.setInputMode(InputMode::Text);
    rig.link.TxQuery();
    EXPECT_EQ(rig.port.sent.at(0).bytes, bytesOf({0x80}));  // and nothing else: see the count below
    EXPECT_EQ(rig.port.inputModesAtRead, std::vector<InputMode>{InputMode::Binary});
    EXPECT_EQ(make_pair(rig.link.ChecksumOk, rig.m.FinQuota), make_pair(true, "123.4"s));
    rig.ctx.EditorBusy = true;  // no query while the editor transfers
    rig.link.TxQuery();
    EXPECT_EQ(rig.port.sent.size(), 1u);
}

// Presets apply with the port closed; opening waits while the serial dialog is up;
// the users share the port, which closes when the last one or the whole mask lets go.
TEST(LinkPort, PresetsOpeningAndUsersSharingThePort) {
    LinkRig rig;
    const ScriptedPort& p = rig.port;
    rig.link.presetPort("19200", 3);
    EXPECT_EQ(p.settings() + " " + std::to_string(p.commPort()), "19200,n,8,1 3");
    EXPECT_EQ(make_tuple(p.handshaking(), p.inputLen, p.rtsEnable, p.inBufferSizeSet, p.portOpen()),
              make_tuple(0, 0, false, 1024, false));
    rig.ctx.hooks.serialDialogVisible = [&] { return rig.clock.nowMs() < 500; };
    ASSERT_TRUE(rig.link.apri_com(UserEditor));
    EXPECT_EQ(p.lastOpenedAt, 500);
    ASSERT_TRUE(rig.link.apri_com(UserMonitor));
    const auto state = [&] { return make_tuple(p.opens, p.closes, p.portOpen(), rig.link.PortUsers); };
    EXPECT_EQ(state(), make_tuple(1, 0, true, 9));
    rig.link.chiudi_com(UserEditor);
    EXPECT_EQ(state(), make_tuple(1, 0, true, 1));  // the monitor still holds it
    rig.link.chiudi_com(UserMonitor);
    EXPECT_EQ(state(), make_tuple(1, 1, false, 0));
    rig.link.apri_com(UserMonitor);
    rig.link.apri_com(UserUpload);
    rig.link.chiudi_com(rig.link.PortUsers);  // the whole mask closes it for everyone
    EXPECT_EQ(state(), make_tuple(2, 2, false, 0));
}

// A port that will not open: the serial dialog is offered after each failure while
// it says retry; giving up (or no dialog at all) releases the user's bit.
TEST(LinkPort, OpenFailureOffersTheSerialDialogAndRetries) {
    const std::tuple<int, int, bool, int> cases[] = {{2, 5, true, 3}, {100, 2, false, 3}, {1, -1, false, 1}};
    for (const auto& [failures, retries, opened, attempts] : cases) {
        SCOPED_TRACE(failures);
        LinkRig rig;
        rig.port.failOpens(failures);
        int dialogs = 0;
        if (retries >= 0) rig.ctx.hooks.serialDialogForOpenFailure = [&, n = retries] { return dialogs++ < n; };
        EXPECT_EQ(rig.link.apri_com(UserEditor), opened);
        EXPECT_EQ(make_tuple(rig.port.openAttempts, rig.port.portOpen(), rig.link.PortUsers),
                  make_tuple(attempts, opened, opened ? 8 : 0));
    }
    LinkRig rig;  // giving up from the on-line toggle goes back off line cleanly
    rig.port.failOpens(1);
    rig.ctx.hooks.serialDialogForOpenFailure = [] { return false; };
    rig.link.check1MouseUp(true);
    EXPECT_FALSE(rig.link.PollingActive || rig.m.Check1Checked);
    rig.expectOffLine();
    EXPECT_TRUE(rig.port.sent.empty());
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
    EXPECT_EQ(make_tuple(closedWhileGone, quality, rig.port.opens),
              make_tuple(true, std::vector<int>{4, 4, -1, -1, -1, 4, 4}, 2));
    rig.expectOffLine();
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
    EXPECT_EQ(rig.port.sentTimes(), (std::vector<double>{0, 35, 70}));
    rig.expectOffLine();
    EXPECT_EQ(make_tuple(captionWhilePolling, rig.m.FinProgr, rig.link.EconLastText, rig.link.ChecksumOk),
              make_tuple(" Off line"s, "--"s, "offline"s, false));
    EXPECT_EQ(rig.barsVisible(), bars(0));
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
    EXPECT_EQ(make_tuple(rig.port.sent.back().atMs, rig.clock.nowMs(), rig.link.EconIdleCount),
              make_tuple(1501 * 35.0, 1502 * 35.0, 1501));
    EXPECT_TRUE(rig.port.portOpen() && rig.link.PortUsers == 1);  // the monitor keeps the port
    EXPECT_EQ(make_pair(rig.m.econBack, rig.m.Check1Caption), make_pair(kDarkRed, " Off line"s));

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
    EXPECT_EQ(make_pair(polls, rig.link.EconIdleCount), make_pair(5, 4));
    EXPECT_EQ(make_pair(rig.port.sent[1505].atMs, rig.port.sent[1506].atMs),
              make_pair(paused + 8000, paused + 8035));
    EXPECT_FALSE(rig.port.portOpen());
}

// Economy off polls on and on; on, a silent device pauses after 100 polls.
TEST_F(LinkEconomy, SilentDevicePausesAfter100PollsAndNoneWithEconomyOff) {
    rig.link.monitor().EnbEconClick();
    EXPECT_FALSE(rig.m.econVisible);
    rig.link.afterQuery = [&] { rig.link.PollingActive = rig.port.sent.size() < 3000; };
    rig.link.check1MouseUp(true);
    EXPECT_EQ(rig.port.sent.size(), 3000u);
    rig.link.afterQuery = nullptr;
    rig.link.monitor().EnbEconClick();
    rig.port.responder = nullptr;
    const double start = rig.clock.nowMs();
    rig.link.check1MouseUp(true);
    EXPECT_EQ(make_tuple(rig.port.sent.size(), rig.clock.nowMs() - start, rig.m.econBack),
              make_tuple(std::size_t{3102}, 102 * 280.0, kDarkRed));
}

TEST_F(LinkEconomy, GoingOffLineDuringThePauseStopsAtTheNextTick) {
    const double paused = pauseThenOffLine();
    EXPECT_TRUE(rig.port.portOpen());
    rig.clock.waitMs(5000);
    EXPECT_EQ(make_pair(rig.port.sent.size(), rig.port.sent.back().atMs),
              make_pair(std::size_t{1503}, paused + 2000));
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
    EXPECT_EQ(make_pair(polls, rig.m.econBack), make_pair(1, kDarkRed));
    rig.clock.waitMs(2000);  // Timer2 was re-armed by that pause, not left from before
    EXPECT_EQ(make_pair(polls, rig.port.sent.at(1503).atMs), make_pair(100, paused + 500 + 35 + 2000));
}

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

// Each model's position texts, an eight-output model's lamps, a program-less device.
TEST_F(MonitorDisplay, PositionTextsByModelAndNoProgram) {
    poll(frameB(3599, 3, 12));
    EXPECT_EQ(m.FinQuota + " " + m.FinProgr + " " + m.FinCamme + " " + m.FinOrigin, "359.9 3 12 --");
    rig.useModel("OLD");
    poll(frameB(5, 3));
    EXPECT_EQ(m.FinQuota + " " + m.FinProgr, "0.5 4");
    rig.useModel("V820AX");
    poll(frameB(16383, 0, 0, 0xFFA5));
    EXPECT_EQ(m.FinQuota, "16383");
    for (std::size_t i = 0; i < 16; ++i) {
        const bool on = i < 8 && (0xA5 >> i & 1);  // outputs 9..16 are not there
        EXPECT_EQ(m.Shape1Fill[i], on ? FillStyle::Solid : FillStyle::Transparent) << i;
        EXPECT_EQ(m.Shape1Border[i], i < 8 ? BorderStyle::Solid : BorderStyle::Dotted) << i;
        EXPECT_EQ(m.Label1On[i], on) << i;
    }
    poll({});
    EXPECT_EQ(make_tuple(m.Shape1Fill[7], m.Shape1Fill[8], m.Label1On[0]),
              make_tuple(FillStyle::HorizontalHatch, FillStyle::Transparent, false));
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

// The bar follows the position; a loss beeps once, shrinks the bar and then clears
// the display, which says off line once stopped; the return beeps again.
TEST_F(MonitorDisplay, BarAndBeepsAtLossAndReturn) {
    m.Check1Caption = " On line";
    rig.link.LeggiDato();  // start-up: off line
    EXPECT_EQ(m.FinQuota, "offline");
    poll(frameB(1800));
    EXPECT_EQ(m.Check1Caption, " Off line");
    EXPECT_EQ(make_pair(m.barFillWidth, m.barFillColour), make_pair(3251, kLightBlue));  // 6480/3599*1800+10
    poll(frameB(4000));
    EXPECT_EQ(make_pair(m.barFillColour, rig.op.beeps), make_pair(kLightRed, 1));  // on line the first time
    poll({});
    EXPECT_EQ(make_pair(rig.op.beeps, m.barFillWidth), make_pair(2, 1));
    poll({});
    EXPECT_EQ(m.FinQuota + m.FinProgr + m.FinCamme + m.FinOrigin, "- - -  ------");
    // The bar is drawn afresh on return.
    EXPECT_EQ(make_tuple(rig.op.beeps, m.barFillWidth, rig.link.monitor().LastShownPosition),
              make_tuple(2, 0, -1.0));
    m.Check1Caption = " On line";
    rig.link.LeggiDato();
    EXPECT_EQ(m.FinQuota, "offline");
    poll(frameB(130));
    EXPECT_EQ(make_pair(rig.op.beeps, m.barFillWidth), make_pair(3, 244));  // 6480 / 3599 x 130 + 10
}

TEST_F(MonitorDisplay, MinimizedWindowShowsThePositionInItsTitle) {
    m.minimized = true;
    m.barFillWidth = 77;
    poll(frameB(1234));
    // Only the title follows: the contents are not refreshed.
    EXPECT_EQ(make_tuple(m.title, rig.clock.nowMs(), m.barFillWidth),
              make_tuple("123.4 -->  COM1-9600"s, 35.0 + 20 + 120, 77));
    poll({});
    EXPECT_EQ(m.title, "- - -   COM 1   ");
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
    for (double to : {120, 105, 95}) step(to);  // a smaller backward step leaves the minimum
    EXPECT_EQ(t.LblMax + " " + t.LblMin + " " + t.Label1[0] + std::to_string(mon.TestErrorCount), "20 -15 0");
    EXPECT_EQ(rig.m.FinQuotaBack, kGrey);
    step(125);
    EXPECT_EQ(rig.m.FinQuotaBack, kYellow);
    EXPECT_EQ(t.Label1[0] + "|" + t.Label1[1] + "|" + t.Label1[14], "125     30||125     30");
    EXPECT_EQ(t.Label5 + " " + t.Label6 + " " + t.LblMax + " " + t.LblMin, "1 30 30 -15");
    EXPECT_EQ(make_pair(t.TxtPrimiBack, t.TxtSuccessiviBack), make_pair(kLightGreen, kGrey));
    step(3599 - 5);  // from 125: a jump
    EXPECT_EQ(mon.TestErrorCount, 2);
    rig.m.FinQuotaBack = kGrey;
    step(3);
    EXPECT_EQ(t.Label6 + " " + t.LblMin + " " + std::to_string(mon.TestErrorCount), "-3591 -15 2");
    EXPECT_EQ(rig.m.FinQuotaBack, kGrey);
    double pos = 3;
    for (int i = 1; i <= 14; ++i) step(pos += 100 + i);
    EXPECT_EQ(t.Label1[13] + "|" + t.Label1[14] + "|" + t.Label5, "1281     112|1508     114|16");
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
    EXPECT_EQ(make_pair(t.TxtSuccessiviBack, mon.TestErrorCount), make_pair(kLightGreen, 0));
    step(500);
    EXPECT_EQ(t.Label1[0], "500     250");
    rig.m.LblGiri = "0";
    t.TxtPrimi = "99999";
    step(3000);
    EXPECT_EQ(make_pair(mon.TestErrorCount, mon.PrevTestPosition), make_pair(1, 3000.0));
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
