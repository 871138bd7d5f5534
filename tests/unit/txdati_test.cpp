#include <gtest/gtest.h>

#include "download_fixture.h"

namespace gyrel {
namespace {

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
    const std::pair<int, int> halves[] = {{30, 15}, {3, 2}, {5, 2}, {7, 4}, {1, 1}, {-40, 1}};
    for (const auto& [period, half] : halves) EXPECT_EQ(pausaHalf(period), half) << period;
    const double t0 = rig.clock.nowMs();
    rig.download.sender.Pausa(5);
    EXPECT_EQ(rig.clock.nowMs() - t0, 4);
    rig.download.sender.Pausa(0);
    EXPECT_EQ(rig.clock.nowMs() - t0, 6);
}

TEST_F(TxDatiTest, AcknowledgedProgramIsStoredLoggedNewestFirstAndTakesThePrescribedTime) {
    bool busyAll = true;  // the monitor stays silent while the editor sends
    rig.clock.onPump = [&] {
        if (rig.port.sent().size() > 0 && rig.ed.wait.visible) busyAll = busyAll && rig.ctx.EditorBusy;
    };
    const double t0 = rig.clock.nowMs();
    EXPECT_FALSE(rig.download.sender.PreparaTx());
    EXPECT_TRUE(busyAll);
    // header and position page: 30 + 180 (the whole reply round) + 200; mask page + 800; end 20.
    EXPECT_EQ(rig.clock.nowMs() - t0, 410 + 410 + 1210 + 20);
    ASSERT_TRUE(rig.device.program(0).has_value());
    EXPECT_EQ(rig.device.program(0)->size(), 8u);
    EXPECT_EQ((*rig.device.program(0))[6], (sim::CamEntry{700, 8}));
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], std::string(kHeaderEight) + "  ok     .(1)");
    EXPECT_EQ(lines[0].substr(0, 5), "3 0 1");
    EXPECT_FALSE(rig.ctx.EditorBusy || rig.ed.wait.visible);
    EXPECT_TRUE(rig.op.boxes.empty());
    EXPECT_EQ(rig.ed.wait.label, "  => Prog.  1");
    EXPECT_EQ(rig.ed.wait.caption, ".. Trasmitting .....");
}

// Each unanswered check of 30 + 180 + 100 (no reply) + 400; the tenth resends (1200 more).
TEST_F(TxDatiTest, UnansweredHeaderIsResentAfterTenChecks) {
    struct Case {
        int noAck;
        const char* ending;
        int resends;
        double took;
    };
    const Case cases[] = {{1, " .r.  ok     .(11)", 1, 9 * 710 + 1910 + 210 + 200 + 410 + 1210 + 20},
                          {2, " .r. .r.  ok     .(12)", 2, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.noAck);
        Rig r;
        r.prepare({{100, 1}, {200, 0}, {300, 2}, {400, 0}, {500, 4}, {600, 0}, {700, 8}, {800, 0}});
        ASSERT_TRUE(r.link.apri_com(UserEditor));
        r.device.faults().noAckFrames = c.noAck;
        EXPECT_FALSE(r.download.sender.PreparaTx());
        if (c.took > 0) {
            EXPECT_EQ(r.clock.nowMs(), c.took);
        }
        const std::string header = r.ed.Text2.substr(r.ed.Text2.rfind("1 0 0 8 "));
        EXPECT_EQ(header, std::string(kHeaderEight) + " .  .  .  .  .  .  .  .  . " + c.ending + "\r\n");
        EXPECT_EQ(r.port.sent().size(), 19u * (3 + c.resends));
    }
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
    rig.expectFree();  // an error gives the port back
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

}  // namespace
}  // namespace gyrel
