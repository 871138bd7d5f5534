#include <gtest/gtest.h>

#include <utility>

#include "link_fixture.h"

namespace gyrel {
namespace {

class LinkRx : public ::testing::Test {
protected:
    LinkRig rig;
    void SetUp() override { rig.polling(); }
    std::vector<bool> bars(int lit) {
        std::vector<bool> v(5, false);
        for (int i = 0; i < lit; ++i) v[static_cast<std::size_t>(i)] = true;
        return v;
    }
};

TEST_F(LinkRx, SilentDeviceGivesUpAfterOneRoundAndAPause) {
    EXPECT_EQ(rig.link.rx_msg(), 1000);
    EXPECT_EQ(rig.clock.nowMs(), 280);  // 35 + 15 + 30 + 100, then 100
    EXPECT_FALSE(rig.link.ChecksumOk);
    EXPECT_EQ(rig.link.LinkQuality, 0);
    EXPECT_EQ(rig.barsVisible(), bars(1));
    EXPECT_EQ(rig.ctx.main.Shape3Colour[0], kRedBar);
}

TEST_F(LinkRx, SilentDeviceWithFactorTenWaitsTenRounds) {
    rig.ctx.model.RxTimeoutFactor = 10;
    EXPECT_EQ(rig.link.rx_msg(), 1000);
    EXPECT_EQ(rig.clock.nowMs(), 1900);
}

TEST_F(LinkRx, FrameCompleteInTheSecondRoundIsDecodedButSlow) {
    rig.ctx.model.RxTimeoutFactor = 10;
    rig.port.deliverAt(200, frameB(1234, 3, 5, 0x0005));
    EXPECT_EQ(rig.link.rx_msg(), 128);
    EXPECT_EQ(rig.clock.nowMs(), 215);  // the 35-ms checkpoint of round two
    EXPECT_TRUE(rig.link.ChecksumOk);
    EXPECT_EQ(rig.link.CurrentPosition, 1234);
    EXPECT_EQ(rig.link.OutputBits, 0x0005u);
    EXPECT_EQ(rig.ctx.main.FinQuota, "123.4");
    EXPECT_EQ(rig.link.LinkQuality, 1);
    EXPECT_EQ(rig.barsVisible(), bars(2));
    EXPECT_EQ(rig.ctx.main.Shape3Colour[0], kYellowBar);
    EXPECT_EQ(rig.ctx.main.Shape3Colour[1], kYellowBar);
}

TEST_F(LinkRx, BarsFollowTheArrivalTime) {
    struct Case {
        double arrival;
        double returnsAt;
        int quality;
        Rgb colour;
    };
    const Case cases[] = {
        {0, 35, 4, kGreenBar},     {35, 35, 4, kGreenBar},    {36, 50, 3, kDarkGreenBar},
        {50, 50, 3, kDarkGreenBar}, {51, 80, 2, kBrownBar},   {80, 80, 2, kBrownBar},
        {81, 180, 1, kYellowBar},   {179, 180, 1, kYellowBar},
    };
    for (const Case& c : cases) {
        const double start = rig.clock.nowMs();
        rig.port.deliverAt(start + c.arrival, frameB(100));
        EXPECT_EQ(rig.link.rx_msg(), 128) << c.arrival;
        EXPECT_EQ(rig.clock.nowMs() - start, c.returnsAt) << c.arrival;
        EXPECT_EQ(rig.link.LinkQuality, c.quality) << c.arrival;
        EXPECT_EQ(rig.barsVisible(), bars(c.quality + 1)) << c.arrival;
        for (int i = 0; i <= c.quality; ++i) EXPECT_EQ(rig.ctx.main.Shape3Colour[static_cast<std::size_t>(i)], c.colour);
    }
}

TEST_F(LinkRx, FrameArrivingInPiecesCountsWhenComplete) {
    const Bytes f = frameB(100);
    rig.port.deliverAt(10, Bytes(f.begin(), f.begin() + 10));
    rig.port.deliverAt(60, Bytes(f.begin() + 10, f.end()));
    EXPECT_EQ(rig.link.rx_msg(), 128);
    EXPECT_EQ(rig.clock.nowMs(), 80);
    EXPECT_EQ(rig.link.LinkQuality, 2);
}

TEST_F(LinkRx, NoBarsWhilePollingIsOff) {
    rig.link.PollingActive = false;
    rig.port.deliverAt(10, frameB(100));
    EXPECT_EQ(rig.link.rx_msg(), 128);
    EXPECT_EQ(rig.barsVisible(), bars(0));
}

TEST_F(LinkRx, ResultCodes) {
    Bytes data = frameB(100);
    data[0] = 0x40;
    rig.port.deliverAt(10, data);
    EXPECT_EQ(rig.link.rx_msg(), 64);
    EXPECT_TRUE(rig.link.ChecksumOk);

    rig.port.deliverAt(rig.clock.nowMs() + 10, bytesOf({0x40, 0x01, 0x02}));
    EXPECT_EQ(rig.link.rx_msg(), 64);
    EXPECT_FALSE(rig.link.ChecksumOk);

    // An acknowledge leaves the checksum verdict alone; short replies wait the whole round.
    rig.link.ChecksumOk = true;
    double start = rig.clock.nowMs();
    rig.port.deliverAt(start + 5, bytesOf({0xFF}));
    EXPECT_EQ(rig.link.rx_msg(), 255);
    EXPECT_EQ(rig.clock.nowMs() - start, 180);
    EXPECT_TRUE(rig.link.ChecksumOk);

    start = rig.clock.nowMs();
    rig.port.deliverAt(start + 5, bytesOf({0x12, 0x34, 0x56}));
    EXPECT_EQ(rig.link.rx_msg(), 1000);
    EXPECT_FALSE(rig.link.ChecksumOk);
    EXPECT_EQ(rig.clock.nowMs() - start, 280);
    EXPECT_EQ(rig.link.LinkQuality, 1);  // something arrived: not red

    rig.port.deliverAt(rig.clock.nowMs() + 5, Bytes(39, 0xFF));
    EXPECT_EQ(rig.link.rx_msg(), 1000);
}

TEST_F(LinkRx, WrongChecksumIsDecodedButNotTrusted) {
    Bytes f = frameB(1234, 3, 5, 0x0005);
    f[18] ^= 0x01;
    rig.port.deliverAt(10, f);
    EXPECT_EQ(rig.link.rx_msg(), 128);
    EXPECT_FALSE(rig.link.ChecksumOk);
    EXPECT_EQ(rig.ctx.main.FinQuota, "123.4");
    rig.link.LeggiDato();
    EXPECT_EQ(rig.ctx.main.FinQuota, "- - -  ");
}

TEST_F(LinkRx, TwentyBytesAreNoUsableReply) {
    Bytes f = frameB(1234);
    f.push_back(0);
    rig.port.deliverAt(10, f);
    EXPECT_EQ(rig.link.rx_msg(), 1000);
    EXPECT_FALSE(rig.link.ChecksumOk);
    EXPECT_EQ(rig.clock.nowMs(), 135);  // stopped at 35 ms, then the 100-ms pause
    EXPECT_EQ(rig.ctx.main.FinQuota, "offline");  // nothing decoded
}

TEST_F(LinkRx, OneEmptySlotReplyIsOnlyRemembered) {
    rig.port.deliverAt(10, bytesOf({0x00, 0xFF}));
    EXPECT_EQ(rig.link.rx_msg(), 0);
    EXPECT_TRUE(rig.link.EmptySlotSeen);
    EXPECT_TRUE(rig.op.boxes.empty());
    EXPECT_TRUE(rig.link.PollingActive);
    EXPECT_EQ(rig.clock.nowMs(), 180);
}

TEST_F(LinkRx, TwoEmptySlotRepliesInARowStopPollingWithAMessage) {
    rig.ctx.main.FinProgr = "4";
    rig.port.deliverAt(10, bytesOf({0x00, 0xFF}));
    EXPECT_EQ(rig.link.rx_msg(), 0);
    rig.port.deliverAt(rig.clock.nowMs() + 10, bytesOf({0x00, 0xFF}));
    EXPECT_EQ(rig.link.rx_msg(), 0);
    EXPECT_EQ(rig.ctx.main.FinQuota, "no prg");
    EXPECT_EQ(rig.ctx.main.FinProgr, "--");
    EXPECT_EQ(rig.ctx.main.FinCamme, "--");
    EXPECT_EQ(rig.ctx.main.FinOrigin, "--");
    EXPECT_FALSE(rig.ctx.main.Check1Checked);
    EXPECT_FALSE(rig.link.PollingActive);
    ASSERT_EQ(rig.op.boxes.size(), 1u);
    EXPECT_EQ(rig.op.boxes[0].title, "Empty program");
    EXPECT_EQ(rig.op.boxes[0].prompt,
              "Selected memory location on ENCODER,\r\nis empty. \r\n\r\nSend a program at this location.");
    EXPECT_EQ(rig.op.boxes[0].buttons, MsgButtons::Ok);
}

TEST_F(LinkRx, StatusFrameAfterOneEmptySlotTypesSyncFirst) {
    rig.port.deliverAt(10, bytesOf({0x00, 0xFF}));
    EXPECT_EQ(rig.link.rx_msg(), 0);
    std::vector<std::pair<double, std::string>> shown;
    rig.clock.onPump = [&] {
        if (shown.empty() || shown.back().second != rig.ctx.main.FinQuota)
            shown.emplace_back(rig.clock.nowMs(), rig.ctx.main.FinQuota);
    };
    rig.ctx.main.FinQuota = "7.0";
    rig.port.deliverAt(rig.clock.nowMs() + 10, frameB(1234));
    EXPECT_EQ(rig.link.rx_msg(), 128);
    const std::vector<std::pair<double, std::string>> expected = {
        {180, "7.0"},     {215, "S"},         {255, "S "},      {295, "S y"},
        {335, "S y "},    {375, "S y n"},     {415, "S y n "},  {455, "S y n c"},
    };
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(rig.clock.nowMs(), 1295);  // 7 x 40 ms, then 800 ms
    EXPECT_EQ(rig.ctx.main.FinQuota, "123.4");
    EXPECT_FALSE(rig.link.EmptySlotSeen);
    EXPECT_TRUE(rig.op.boxes.empty());
}

TEST_F(LinkRx, SilenceAfterOneEmptySlotShowsSyncInsteadOfTheTimeOut) {
    rig.port.deliverAt(10, bytesOf({0x00, 0xFF}));
    EXPECT_EQ(rig.link.rx_msg(), 0);
    EXPECT_EQ(rig.link.rx_msg(), 0);
    EXPECT_EQ(rig.clock.nowMs(), 180 + 180 + 7 * 40 + 800);
    EXPECT_EQ(rig.ctx.main.FinQuota, "S y n c");
    EXPECT_FALSE(rig.link.EmptySlotSeen);
}

TEST_F(LinkRx, AcknowledgeClearsTheEmptySlotMemory) {
    rig.port.deliverAt(10, bytesOf({0x00, 0xFF}));
    rig.link.rx_msg();
    rig.port.deliverAt(rig.clock.nowMs() + 10, bytesOf({0xFF}));
    EXPECT_EQ(rig.link.rx_msg(), 255);
    EXPECT_FALSE(rig.link.EmptySlotSeen);
    rig.port.deliverAt(rig.clock.nowMs() + 10, bytesOf({0x00, 0xFF}));
    EXPECT_EQ(rig.link.rx_msg(), 0);
    EXPECT_TRUE(rig.op.boxes.empty());
}

TEST_F(LinkRx, CancelEndsTheWaitWithinARound) {
    rig.ctx.model.RxTimeoutFactor = 100;
    rig.clock.at(250, [&] { rig.ctx.CancelRequested = true; });
    EXPECT_EQ(rig.link.rx_msg(), 1000);
    EXPECT_EQ(rig.clock.nowMs(), 360 + 100);  // end of round two, then the no-reply pause
}

TEST_F(LinkRx, PortFailingWhileReadingClosesItAndDecodesNothing) {
    rig.port.deliverAt(10, frameB(1234));
    rig.clock.at(20, [&] { rig.port.setPulled(true); });
    EXPECT_EQ(rig.link.rx_msg(), 1000);
    EXPECT_EQ(rig.clock.nowMs(), 35);
    EXPECT_FALSE(rig.link.ChecksumOk);
    EXPECT_FALSE(rig.port.portOpen());  // polling goes on and looks for the device again
    EXPECT_EQ(rig.link.LinkQuality, 0);
    EXPECT_EQ(rig.link.CurrentPosition, 0);
    EXPECT_EQ(rig.ctx.main.FinQuota, "offline");
}

TEST_F(LinkRx, QuerySendsOneByteAndReadsInBinary) {
    rig.port.replyNext(10, frameB(1234));
    rig.port.setInputMode(InputMode::Text);
    rig.link.TxQuery();
    ASSERT_EQ(rig.port.sent.size(), 1u);
    EXPECT_EQ(rig.port.sent[0].bytes, bytesOf({0x80}));
    EXPECT_EQ(rig.port.sent[0].atMs, 0);
    EXPECT_EQ(rig.port.inputModesAtRead, std::vector<InputMode>{InputMode::Binary});
    EXPECT_EQ(rig.ctx.main.FinQuota, "123.4");
}

TEST_F(LinkRx, QueryDiscardsStaleBytesFirst) {
    rig.port.deliverAt(0, bytesOf({0x55, 0x55}));
    rig.port.replyNext(10, frameB(1234));
    rig.link.TxQuery();
    EXPECT_TRUE(rig.link.ChecksumOk);
    EXPECT_EQ(rig.link.CurrentPosition, 1234);
}

TEST_F(LinkRx, NoQueryWhileTheEditorTransfers) {
    rig.ctx.EditorBusy = true;
    rig.link.TxQuery();
    EXPECT_TRUE(rig.port.sent.empty());
    EXPECT_EQ(rig.clock.nowMs(), 0);
}

}  // namespace
}  // namespace gyrel
