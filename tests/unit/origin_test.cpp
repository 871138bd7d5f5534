#include <gtest/gtest.h>

#include "download_fixture.h"
#include "origin/origin_dialog.h"

namespace gyrel {
namespace {

using xfertest::Rig;

struct OriginRig : Rig {
    explicit OriginRig(const std::string& model = "V820HX") : Rig(model), dialog(ctx, link, ed.wait) { dialog.show(); }
    OriginDialog dialog;
};

TEST(Origin, ReadShowsEveryProgramConfirmedOrPinkAndReleasesThePort) {
    OriginRig r;
    r.device.setPresetOrigin(0, {3600, 12});
    r.device.setPresetOrigin(14, {1048575, 0});
    r.device.setPresetOrigin(15, {1048576, 1048575});
    r.dialog.ChkOrigClick(true);
    r.dialog.PulsRx();
    const auto& rows = r.dialog.rows;
    // Above MaxPosition 1048575: the placeholder.
    EXPECT_EQ(rows[0].TxtPreset + " " + rows[0].TxtOrigin + " " + rows[5].TxtPreset + " " + rows[14].TxtPreset + " " +
                  rows[15].TxtOrigin,
              "3600 12 0 1048575 1048575");
    EXPECT_EQ(std::make_tuple(rows[15].TxtPreset, rows[0].presetBack, rows[15].originBack),
              std::make_tuple(std::string(kOriginPlaceholder), kOriginConfirmed, kOriginConfirmed));
    // Each program: 3 request bytes, then the answer found after the first 100-ms wait.
    ASSERT_EQ(r.port.sent().size(), 48u);
    EXPECT_EQ(Bytes(r.port.sent().begin() + 3, r.port.sent().begin() + 6), (Bytes{0x81, 0x00, 0x01}));
    r.expectFree();
    // A silent device leaves the rows pink after eleven waits each; a wrong checksum
    // shows the values, still pink.
    r.device.faults().silent = true;
    const double t0 = r.clock.nowMs();
    r.dialog.PulsRx();
    EXPECT_EQ(r.clock.nowMs() - t0, 16 * 1100);
    EXPECT_EQ(std::make_pair(r.dialog.rows[7].TxtPreset, r.dialog.rows[7].presetBack),
              std::make_pair(std::string(), kOriginPending));
    EXPECT_TRUE(r.op.boxes.empty());
    r.device.faults().silent = false;
    r.device.setPresetOrigin(1, {77, 88});
    r.device.faults().badChecksum = true;
    r.dialog.PulsRx();
    EXPECT_EQ(std::make_pair(r.dialog.rows[1].TxtPreset, r.dialog.rows[1].presetBack),
              std::make_pair(std::string("77"), kOriginPending));
}

TEST(Origin, WriteSendsZerosForOriginsUnlessTickedAndSkipsRowsWithoutValues) {
    OriginRig r;
    r.device.setPresetOrigin(0, {1, 999});
    r.dialog.rows[0].TxtPreset = "3600";
    r.dialog.rows[2].TxtPreset = "65536";
    r.dialog.PulsTx();
    EXPECT_EQ(std::make_pair(r.device.presetOrigin(0).preset, r.device.presetOrigin(2).preset),
              std::make_pair(3600u, 65536u));
    EXPECT_EQ(std::make_pair(r.dialog.rows[0].presetBack, r.dialog.rows[1].presetBack),
              std::make_pair(kOriginConfirmed, kOriginIdle));
    ASSERT_EQ(r.port.sent().size(), 38u);
    EXPECT_EQ(Bytes(r.port.sent().begin(), r.port.sent().begin() + 19),
              (Bytes{0x81, 1, 0, 0, 0, 0, 0x10, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xA0}));
    EXPECT_EQ(r.link.PortUsers, 0);
    // With origins ticked a row without an origin is skipped.
    r.dialog.ChkOrigClick(true);
    r.dialog.rows[0].TxtPreset = "10";
    r.dialog.rows[0].TxtOrigin = "20";
    r.dialog.rows[1].TxtPreset = "30";
    r.dialog.PulsTx();
    EXPECT_EQ(r.device.presetOrigin(0).origin, 20u);
    EXPECT_EQ(r.port.sent().size(), 38u + 19);
    EXPECT_EQ(r.dialog.rows[1].TxtOrigin, "");  // the placeholder was emptied
}

// A negative or non-numeric value is refused before anything is sent; a value too
// high stops the write after the rows before it.
TEST(Origin, RefusedValuesAndClones) {
    OriginRig r;
    r.dialog.rows[0].TxtPreset = "100";
    r.dialog.rows[4].TxtPreset = "-5";
    r.dialog.PulsTx();
    EXPECT_EQ(r.op.boxLog(), "Preset|Not valid  ' -5 '\r\nProgram # 5\r\n\r\nNothing was sent.\n");
    EXPECT_EQ(r.dialog.rows[4].presetBack, kOriginTooHigh);
    EXPECT_TRUE(r.port.sent().empty());
    r.op.boxes.clear();
    r.dialog.rows[4].TxtPreset = "50";
    r.ctx.model.MaxPosition = 3599;
    for (int i = 1; i < 4; ++i) r.dialog.rows[static_cast<std::size_t>(i)].TxtPreset = "100";
    r.dialog.rows[2].TxtPreset = "3600";
    r.dialog.PulsTx();
    EXPECT_EQ(r.op.boxLog(), "3600|Too High\n");
    EXPECT_EQ(r.dialog.rows[2].presetBack, kOriginTooHigh);
    EXPECT_EQ(r.port.sent().size(), 38u);
    EXPECT_EQ(r.device.presetOrigin(3).preset, 0u);
    // Cloning copies row one only on Yes.
    r.op.boxes.clear();
    r.dialog.rows[0].TxtPreset = kOriginPlaceholder;
    r.dialog.rows[3].TxtPreset = "7";
    r.op.answers = {AnswerNo};
    r.dialog.PulsClonaPres();
    EXPECT_EQ(r.dialog.rows[3].TxtPreset, "7");
    EXPECT_EQ(r.op.boxLog(), "Clone Preset|Program 1 value will be cloned to the others\r\n\r\nContinue?\n");
    r.dialog.PulsClonaPres();
    for (int i = 1; i < 16; ++i) EXPECT_EQ(r.dialog.rows[static_cast<std::size_t>(i)].TxtPreset, kOriginPlaceholder);
    r.dialog.rows[0].TxtOrigin = "5";
    r.dialog.PulsClonaOrig();
    EXPECT_EQ(r.dialog.rows[15].TxtOrigin, "5");
}

}  // namespace
}  // namespace gyrel
