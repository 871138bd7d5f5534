#include <gtest/gtest.h>

#include "download_fixture.h"

namespace gyrel {
namespace {

using xfertest::count;

const std::string kHeaderEight = "1 0 0 8 0 0 0 0 0 0 0 0 0 0 0 0 0 0 9 ";

// Four one-cam rows for slot 1, the port open for the editor.
struct TxRig : xfertest::Rig {
    TxRig() {
        prepare({{100, 1}, {200, 0}, {300, 2}, {400, 0}, {500, 4}, {600, 0}, {700, 8}, {800, 0}});
        EXPECT_TRUE(link.apri_com(UserEditor));
    }
};

TEST(TxDatiTest, PausaWaitsTwoRoundedHalfPeriodsAndALongLogIsEmptied) {
    TxRig rig;
    const std::pair<int, int> halves[] = {{30, 15}, {3, 2}, {5, 2}, {7, 4}, {1, 1}, {-40, 1}};
    for (const auto& [period, half] : halves) EXPECT_EQ(pausaHalf(period), half) << period;
    rig.download.sender.Pausa(5);
    EXPECT_EQ(rig.clock.nowMs(), 4);
    rig.download.sender.Pausa(0);
    EXPECT_EQ(rig.clock.nowMs(), 6);
    // A log longer than 32000 characters is emptied before the new entry.
    rig.ed.Text2 = std::string(32001, 'x');
    rig.download.sender.TxFrame = {0, 1, 0, 0, 8};
    rig.download.sender.TxDati();
    EXPECT_EQ(rig.ed.Text2, kHeaderEight + "  ok     .(1)\r\n");
    rig.ed.Text2 = std::string(32000, 'x');
    rig.download.sender.TxDati();
    EXPECT_EQ(rig.ed.Text2.size(), 32000u + kHeaderEight.size() + 15);
}

TEST(TxDatiTest, AcknowledgedProgramIsStoredLoggedNewestFirstAndTakesThePrescribedTime) {
    TxRig rig;
    bool busyAll = true;  // the monitor stays silent while the editor sends
    rig.clock.onPump = [&] {
        if (rig.port.sent().size() > 0 && rig.ed.wait.visible) busyAll = busyAll && rig.ctx.EditorBusy;
    };
    EXPECT_FALSE(rig.download.sender.PreparaTx());
    EXPECT_TRUE(busyAll);
    // header and position page: 30 + 180 (the whole reply round) + 200; mask page + 800; end 20.
    EXPECT_EQ(rig.clock.nowMs(), 410 + 410 + 1210 + 20);
    EXPECT_EQ(rig.device.program(0),
              (sim::CamTable{{100, 1}, {200, 0}, {300, 2}, {400, 0}, {500, 4}, {600, 0}, {700, 8}, {800, 0}}));
    const std::string& log = rig.ed.Text2;
    EXPECT_EQ(count(log, "\r\n"), 3);
    EXPECT_EQ(log.substr(0, 5), "3 0 1");
    EXPECT_EQ(log.substr(log.size() - kHeaderEight.size() - 15), kHeaderEight + "  ok     .(1)\r\n");
    EXPECT_FALSE(rig.ctx.EditorBusy || rig.ed.wait.visible);
    EXPECT_TRUE(rig.op.boxes.empty());
}

// Each unanswered check of 30 + 180 + 100 (no reply) + 400; the tenth resends (1200
// more); the header left unanswered twelve times ends the program with the error box
// and gives the port back. A cancel ends the wait at the next check without a box.
TEST(TxDatiTest, UnansweredHeaderIsResentAfterTenChecksAndFailsAfterTwelveOrOnCancel) {
    struct Case {
        int noAck;
        double cancelAt, took;
        std::string ending;
        std::size_t frames;
    };
    const std::string nine = " .  .  .  .  .  .  .  .  . ";
    const Case cases[] = {{1, 0, 9 * 710 + 1910 + 210 + 200 + 410 + 1210 + 20, nine + " .r.  ok     .(11)", 4},
                          {2, 0, 9 * 710 + 2 * 1910 + 210 + 200 + 410 + 1210 + 20, nine + " .r. .r.  ok     .(12)", 5},
                          {1000, 0, 9 * 710 + 2 * 1910 + 310 + 200, nine + " .r. .r.     .(12)", 3},
                          {1000, 1000, 710 + 510, " .      .(2)", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.noAck + c.cancelAt);
        TxRig r;
        r.device.faults().noAckFrames = c.noAck;
        if (c.cancelAt > 0) r.clock.at(c.cancelAt, [&] { r.ctx.CancelRequested = true; });
        const bool failed = c.noAck == 1000;
        EXPECT_EQ(r.download.sender.PreparaTx(), failed);
        EXPECT_EQ(r.clock.nowMs(), c.took);
        const std::string header = r.ed.Text2.substr(r.ed.Text2.rfind("1 0 0 8 "));
        EXPECT_EQ(header, kHeaderEight + c.ending + "\r\n");
        EXPECT_EQ(r.port.sent().size(), 19u * c.frames);
        EXPECT_EQ(r.op.boxLog(), failed && c.cancelAt == 0 ? "Trasmission  Prog.1|Transmission error\n" : "");
        EXPECT_EQ(r.device.program(0).has_value(), !failed);
        EXPECT_FALSE(r.ctx.CancelRequested);
        if (!failed) continue;
        if (!r.op.boxes.empty()) EXPECT_EQ(r.op.boxes[0].icon, MsgIcon::Stop);
        r.expectFree();  // an error gives the port back
    }
}

}  // namespace
}  // namespace gyrel
