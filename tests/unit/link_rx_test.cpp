#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "link_fixture.h"

namespace gyrel {
namespace {

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
        EXPECT_EQ(r.link.rx_msg(), 1000);
        EXPECT_EQ(r.clock.nowMs(), returnsAt);
        EXPECT_FALSE(r.link.ChecksumOk);
        EXPECT_EQ(r.link.LinkQuality, 0);
        EXPECT_EQ(r.barsVisible(), bars(1));
        EXPECT_EQ(r.m.Shape3Colour[0], (Rgb{255, 0, 0}));
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
        EXPECT_EQ(receive(frameB(1234, 3, 5, 0x0005), arrival), std::make_pair(128, returnsAt));
        EXPECT_TRUE(rig.link.ChecksumOk);
        EXPECT_EQ(rig.link.LinkQuality, quality);
        EXPECT_EQ(rig.barsVisible(), bars(quality + 1));
        for (int i = 0; i <= quality; ++i) EXPECT_EQ(rig.m.Shape3Colour[static_cast<std::size_t>(i)], colour);
    }
    EXPECT_EQ(rig.link.CurrentPosition, 1234);
    EXPECT_EQ(rig.link.OutputBits, 0x0005u);
    EXPECT_EQ(rig.m.FinQuota, "123.4");
}

TEST_F(LinkRx, FrameArrivingInPiecesCountsWhenComplete) {
    const Bytes f = frameB(100);
    rig.port.deliverAt(10, Bytes(f.begin(), f.begin() + 10));
    rig.port.deliverAt(60, Bytes(f.begin() + 10, f.end()));
    EXPECT_EQ(rig.link.rx_msg(), 128);
    EXPECT_EQ(rig.clock.nowMs(), 80);
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
        EXPECT_EQ(receive(reply, 5), std::make_pair(code, took));
        EXPECT_EQ(rig.link.ChecksumOk, checksumOk);
        EXPECT_EQ(rig.link.LinkQuality, quality);
    }
    EXPECT_EQ(rig.m.FinQuota, "offline");  // nothing decoded
    rig.port.input();                      // a reply longer than any is left unread
    rig.link.ChecksumOk = true;
    EXPECT_EQ(receive(bytesOf({0xFF})).first, 255);
    EXPECT_TRUE(rig.link.ChecksumOk);

    EXPECT_EQ(receive(with(frameB(1234), 18, 0xE4)).first, 128);  // a wrong sum is decoded, not trusted
    EXPECT_FALSE(rig.link.ChecksumOk);
    EXPECT_EQ(rig.m.FinQuota, "123.4");
    rig.link.LeggiDato();
    EXPECT_EQ(rig.m.FinQuota, "- - -  ");
}

TEST_F(LinkRx, TwoEmptySlotRepliesInARowStopPollingWithAMessage) {
    rig.m.FinProgr = "4";
    EXPECT_EQ(receive(bytesOf({0x00, 0xFF})), std::make_pair(0, 180.0));
    EXPECT_TRUE(rig.link.EmptySlotSeen);
    EXPECT_EQ(receive(bytesOf({0xFF})).first, 255);  // an acknowledge in between forgets it
    EXPECT_FALSE(rig.link.EmptySlotSeen);
    EXPECT_EQ(receive(bytesOf({0x00, 0xFF})).first, 0);
    EXPECT_TRUE(rig.op.boxes.empty());
    EXPECT_TRUE(rig.link.PollingActive);
    EXPECT_EQ(receive(bytesOf({0x00, 0xFF})).first, 0);
    EXPECT_EQ(rig.m.FinQuota + "|" + rig.m.FinProgr + "|" + rig.m.FinCamme + "|" + rig.m.FinOrigin,
              "no prg|--|--|--");
    EXPECT_FALSE(rig.m.Check1Checked || rig.link.PollingActive);
    ASSERT_EQ(rig.op.boxes.size(), 1u);
    EXPECT_EQ(rig.op.boxes[0].title, "Empty program");
    EXPECT_EQ(rig.op.boxes[0].prompt,
              "Selected memory location on ENCODER,\r\nis empty. \r\n\r\nSend a program at this location.");
}

TEST_F(LinkRx, StatusFrameAfterOneEmptySlotTypesSyncFirst) {
    EXPECT_EQ(receive(bytesOf({0x00, 0xFF})).first, 0);
    std::vector<std::pair<double, std::string>> shown;
    rig.clock.onPump = [&] {
        if (shown.empty() || shown.back().second != rig.m.FinQuota)
            shown.emplace_back(rig.clock.nowMs(), rig.m.FinQuota);
    };
    rig.m.FinQuota = "7.0";
    EXPECT_EQ(receive(frameB(1234)).first, 128);
    const std::vector<std::pair<double, std::string>> expected = {
        {180, "7.0"},  {215, "S"},     {255, "S "},     {295, "S y"},
        {335, "S y "}, {375, "S y n"}, {415, "S y n "}, {455, "S y n c"},
    };
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(rig.clock.nowMs(), 1295);  // 7 x 40 ms, then 800 ms
    EXPECT_EQ(rig.m.FinQuota, "123.4");
    EXPECT_FALSE(rig.link.EmptySlotSeen);
    // Silence after one empty slot shows the same instead of the time-out.
    EXPECT_EQ(receive(bytesOf({0x00, 0xFF})).first, 0);
    const double t0 = rig.clock.nowMs();
    EXPECT_EQ(rig.link.rx_msg(), 0);
    EXPECT_EQ(rig.clock.nowMs() - t0, 180 + 7 * 40 + 800);
    EXPECT_EQ(rig.m.FinQuota, "S y n c");
    EXPECT_TRUE(rig.op.boxes.empty());
}

TEST_F(LinkRx, PortFailingWhileReadingClosesItAndDecodesNothing) {
    rig.port.deliverAt(10, frameB(1234));
    rig.clock.at(20, [&] { rig.port.setPulled(true); });
    EXPECT_EQ(rig.link.rx_msg(), 1000);
    EXPECT_EQ(rig.clock.nowMs(), 35);
    EXPECT_FALSE(rig.port.portOpen());  // polling goes on and looks for the device again
    EXPECT_EQ(rig.link.LinkQuality, 0);
    EXPECT_EQ(rig.link.CurrentPosition, 0);
    EXPECT_EQ(rig.m.FinQuota, "offline");
}

TEST_F(LinkRx, QueryDiscardsStaleBytesSendsOneByteAndReadsInBinary) {
    rig.port.deliverAt(0, bytesOf({0x55, 0x55}));
    rig.port.replyNext(10, frameB(1234));
    rig.port.setInputMode(InputMode::Text);
    rig.link.TxQuery();
    ASSERT_EQ(rig.port.sent.size(), 1u);
    EXPECT_EQ(rig.port.sent[0].bytes, bytesOf({0x80}));
    EXPECT_EQ(rig.port.sent[0].atMs, 0);
    EXPECT_EQ(rig.port.inputModesAtRead, std::vector<InputMode>{InputMode::Binary});
    EXPECT_TRUE(rig.link.ChecksumOk);
    EXPECT_EQ(rig.m.FinQuota, "123.4");
    rig.ctx.EditorBusy = true;  // no query while the editor transfers
    rig.link.TxQuery();
    EXPECT_EQ(rig.port.sent.size(), 1u);
}

}  // namespace
}  // namespace gyrel
