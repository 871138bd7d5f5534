#include <gtest/gtest.h>

#include "download_fixture.h"

namespace gyrel {
namespace {

using xfertest::count;
using xfertest::Rig;

const char* kHeaderEight = "1 0 0 8 0 0 0 0 0 0 0 0 0 0 0 0 0 0 9 ";

class TxDatiTest : public ::testing::Test {
protected:
    Rig rig;
    void SetUp() override {
        rig.prepare({{100, 1}, {200, 0}, {300, 2}, {400, 0}, {500, 4}, {600, 0}, {700, 8}, {800, 0}});
        ASSERT_TRUE(rig.link.apri_com(UserEditor));
    }
    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        const std::string& log = rig.ed.Text2;
        std::size_t at = 0;
        while (at < log.size()) {
            const std::size_t end = log.find("\r\n", at);
            lines.push_back(log.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }
};

TEST_F(TxDatiTest, PausaWaitsTwoRoundedHalfPeriods) {
    EXPECT_EQ(pausaHalf(30), 15);
    EXPECT_EQ(pausaHalf(3), 2);
    EXPECT_EQ(pausaHalf(5), 2);
    EXPECT_EQ(pausaHalf(7), 4);
    EXPECT_EQ(pausaHalf(1), 1);
    EXPECT_EQ(pausaHalf(-40), 1);
    const double t0 = rig.clock.nowMs();
    rig.download.sender.Pausa(5);
    EXPECT_EQ(rig.clock.nowMs() - t0, 4);
    rig.download.sender.Pausa(0);
    EXPECT_EQ(rig.clock.nowMs() - t0, 6);
}

TEST_F(TxDatiTest, AcknowledgedProgramIsStoredLoggedNewestFirstAndTakesThePrescribedTime) {
    const double t0 = rig.clock.nowMs();
    EXPECT_FALSE(rig.download.sender.PreparaTx());
    // header and position page: 30 + 180 (the whole reply round) + 200; mask page + 800; end 20.
    EXPECT_EQ(rig.clock.nowMs() - t0, 410 + 410 + 1210 + 20);
    ASSERT_TRUE(rig.device.program(0).has_value());
    EXPECT_EQ(rig.device.program(0)->size(), 8u);
    EXPECT_EQ((*rig.device.program(0))[6], (sim::CamEntry{700, 8}));
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], std::string(kHeaderEight) + "  ok     .(1)");
    EXPECT_EQ(lines[0].substr(0, 5), "3 0 1");
    EXPECT_FALSE(rig.ctx.EditorBusy);
    EXPECT_FALSE(rig.ed.wait.visible);
    EXPECT_TRUE(rig.op.boxes.empty());
    EXPECT_EQ(rig.ed.wait.label, "  => Prog.  1");
    EXPECT_EQ(rig.ed.wait.caption, ".. Trasmitting .....");
}

TEST_F(TxDatiTest, EditorIsBusyWhileSendingSoTheMonitorStaysSilent) {
    bool busyAll = true;
    int polls = 0;
    rig.clock.onPump = [&] {
        if (rig.port.sent().size() > 0 && rig.ed.wait.visible) busyAll = busyAll && rig.ctx.EditorBusy;
        ++polls;
    };
    rig.download.sender.PreparaTx();
    EXPECT_TRUE(busyAll);
    EXPECT_GT(polls, 0);
}

TEST_F(TxDatiTest, AcknowledgementAtTheEleventhCheckFollowsOneResend) {
    rig.device.faults().noAckFrames = 1;
    const double t0 = rig.clock.nowMs();
    EXPECT_FALSE(rig.download.sender.PreparaTx());
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 3u);
    const std::string& header = lines[2];
    EXPECT_EQ(header, std::string(kHeaderEight) + " .  .  .  .  .  .  .  .  .  .r.  ok     .(11)");
    EXPECT_EQ(count(header, " . "), 9);
    EXPECT_EQ(count(header, " .r."), 1);
    // The header went twice, then one position page and one mask page.
    EXPECT_EQ(rig.port.sent().size(), 19u * 4);
    // 9 unanswered checks of 30 + 180 + 100 (no reply) + 400; the 10th adds the resend's 1200.
    EXPECT_EQ(rig.clock.nowMs() - t0, 9 * 710 + 1910 + 210 + 200 + 410 + 1210 + 20);
}

TEST_F(TxDatiTest, DeviceAcceptingOnlyTheThirdSendingIsAcknowledgedAtTheTwelfthCheck) {
    rig.device.faults().noAckFrames = 2;
    EXPECT_FALSE(rig.download.sender.PreparaTx());
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(count(lines[2], " . "), 9);
    EXPECT_EQ(count(lines[2], " .r."), 2);
    EXPECT_NE(lines[2].find("  ok     .(12)"), std::string::npos);
    EXPECT_EQ(rig.port.sent().size(), 19u * 5);
}

TEST_F(TxDatiTest, UnacknowledgedFrameEndsTheProgramWithTheErrorBoxAndReleasesThePort) {
    rig.device.faults().noAckFrames = 1000;
    rig.ed.ProgramIndex = 4;
    const double t0 = rig.clock.nowMs();
    EXPECT_TRUE(rig.download.sender.PreparaTx());
    EXPECT_EQ(rig.clock.nowMs() - t0, 9 * 710 + 2 * 1910 + 310 + 200);
    EXPECT_EQ(rig.port.sent().size(), 19u * 3);  // the header three times, nothing after it
    ASSERT_EQ(rig.op.boxes.size(), 1u);
    EXPECT_EQ(rig.op.boxes[0].prompt, "Transmission error");
    EXPECT_EQ(rig.op.boxes[0].title, "Trasmission  Prog.5");
    EXPECT_EQ(rig.op.boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(rig.link.PortUsers & UserEditor, 0);
    EXPECT_FALSE(rig.ctx.EditorBusy);
    EXPECT_FALSE(rig.ed.wait.visible);
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].find("  ok"), std::string::npos);
    EXPECT_NE(lines[0].find(" .r. .r.     .(12)"), std::string::npos);
    EXPECT_FALSE(rig.device.program(0).has_value());
}

TEST_F(TxDatiTest, CancelEndsTheWaitAtTheNextCheckWithoutAMessage) {
    rig.device.faults().noAckFrames = 1000;
    rig.clock.at(1000, [&] { rig.ctx.CancelRequested = true; });
    const double t0 = rig.clock.nowMs();
    EXPECT_TRUE(rig.download.sender.PreparaTx());
    EXPECT_LT(rig.clock.nowMs() - t0, 1500);
    EXPECT_TRUE(rig.op.boxes.empty());
    EXPECT_FALSE(rig.ctx.CancelRequested);
    EXPECT_EQ(rig.link.PortUsers & UserEditor, 0);
}

TEST_F(TxDatiTest, LogLongerThan32000CharactersIsEmptiedBeforeTheNewEntry) {
    rig.ed.Text2 = std::string(32001, 'x');
    rig.download.sender.TxFrame = {0, 1, 0, 0, 8};
    rig.download.sender.TxDati();
    EXPECT_EQ(rig.ed.Text2, std::string(kHeaderEight) + "  ok     .(1)\r\n");

    rig.ed.Text2 = std::string(32000, 'x');
    rig.download.sender.TxDati();
    EXPECT_EQ(rig.ed.Text2.size(), 32000u + std::string(kHeaderEight).size() + 15);
}

TEST_F(TxDatiTest, MaskPageIsFollowedByAThousandMillisecondsOfQuiet) {
    rig.download.sender.TxFrame = {0, 1, 0, 0, 8};  // the device takes pages only after a header
    rig.download.sender.TxDati();
    rig.download.sender.TxFrame = {0, 3, 0, 1, 0};
    double t0 = rig.clock.nowMs();
    rig.download.sender.TxDati();
    const double maskFrame = rig.clock.nowMs() - t0;
    rig.download.sender.TxFrame = {0, 2, 0, 100, 0};
    t0 = rig.clock.nowMs();
    rig.download.sender.TxDati();
    const double positionFrame = rig.clock.nowMs() - t0;
    EXPECT_EQ(maskFrame, 30 + 180 + 200 + 800);
    EXPECT_EQ(positionFrame, 30 + 180 + 200);
}

TEST_F(TxDatiTest, HighResolutionModelSendsThirtyTwoBitEntries) {
    Rig hr("Px71");
    hr.prepare({{5, 1}, {4000000000u, 0x8000}}, 3);
    ASSERT_TRUE(hr.link.apri_com(UserEditor));
    EXPECT_FALSE(hr.download.sender.PreparaTxHiRes());
    ASSERT_TRUE(hr.device.program(3).has_value());
    EXPECT_EQ((*hr.device.program(3))[1], (sim::CamEntry{4000000000u, 0x8000}));
}

}  // namespace
}  // namespace gyrel
