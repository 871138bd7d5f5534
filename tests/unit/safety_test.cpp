// The safety net around downloads: backup, wipe, restore and compare of the device's
// sixteen slots (through gyrel-cli and as jobs), the backup list and the presets file.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <tuple>

#include "safety/backup.h"
#include "safety/backup_list.h"
#include "safety/compare_list.h"
#include "safety/presets_file.h"
#include "safety/restore.h"
#include "safety/verify_download.h"
#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

using xfertest::Rig;
using Cli = clitest::CliOn;

// A change-point table as the device keeps one: positions rising, each mask
// differing from the one before it (also across the end of the turn).
sim::CamTable randomTable(std::mt19937& rng, const ModelInfo& m) {
    const std::uint64_t range = static_cast<std::uint64_t>(m.maxPosition) + 1;
    const std::uint32_t outputs = m.outputs >= 32 ? 0xFFFFFFFFu : (1u << m.outputs) - 1;
    const std::size_t n = 2 + rng() % 14;
    std::set<std::uint32_t> positions;
    while (positions.size() < n) positions.insert(static_cast<std::uint32_t>(rng() % range));
    sim::CamTable t;
    for (std::uint32_t p : positions) {
        std::uint32_t mask = rng() & outputs;
        while (!t.empty() && mask == t.back().mask) mask = rng() & outputs;
        t.push_back({p, mask});
    }
    while (t.back().mask == t.front().mask || t.back().mask == t[t.size() - 2].mask) t.back().mask = rng() & outputs;
    return t;
}

class RoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(RoundTrip, BackupWipeRestoreCompareGivesTheSameDevice) {
    Rig rig(GetParam());
    const ModelInfo& model = *findModel(GetParam());
    std::mt19937 rng(11);
    std::array<std::optional<sim::CamTable>, 16> programs;
    std::array<sim::PresetOrigin, 16> presets{};
    for (int k = 0; k < 16; ++k) {
        if (rng() % 3 == 0) continue;
        programs[k] = randomTable(rng, model);
        rig.device.setProgram(k, *programs[k]);
        if (model.menuOrigin)
            rig.device.setPresetOrigin(k, presets[k] = {std::uint32_t(rng() % 1000), std::uint32_t(rng() % 1000)});
    }
    Cli cli(rig.device, rig.clock, GetParam());
    const std::string dir = rig.home.path() + "/bk";
    ASSERT_EQ(cli.job("backup", {dir}), 0) << cli.err.str();
    const std::string list = rig.fs.readAll(dir + "/backup.lis");
    EXPECT_EQ(fs::exists(dir + "/presets.txt"), model.menuOrigin);
    for (int k = 0; k < 16; ++k) {
        rig.device.clearProgram(k);
        rig.device.setPresetOrigin(k, {});
    }
    EXPECT_EQ(cli.job("restore", {dir}), 1);  // no --yes: the plan only
    EXPECT_FALSE(rig.device.program(0) || rig.device.program(1) || rig.device.program(2));
    ASSERT_EQ(cli.job("restore --yes", {dir}), 0) << cli.err.str();
    ASSERT_EQ(cli.job("compare", {dir}), 0) << cli.out.str();
    for (int k = 0; k < 16; ++k) {
        const std::string n = std::to_string(k + 1);
        EXPECT_THAT(list, HasSubstr(programs[k] ? n + "   (backup_" : "'" + n + "   empty\r\n"));
        EXPECT_EQ(rig.device.program(k), programs[k]) << "slot " << n;
        EXPECT_EQ(std::make_pair(rig.device.presetOrigin(k).preset, rig.device.presetOrigin(k).origin),
                  std::make_pair(presets[k].preset, presets[k].origin));
        EXPECT_THAT("\n" + cli.out.str(), HasSubstr("\n" + n + (programs[k] ? " same " : " empty-same")));
    }
}

INSTANTIATE_TEST_SUITE_P(ModelsWithUpload, RoundTrip, ::testing::Values("V820AX", "V820HX", "KMT71", "Px71"));

TEST(Compare, AnEditedBackupOrAProgramChangedAfterTheDownloadNamesTheSlotAndAFailedBackupWritesNothing) {
    Rig rig("V820HX");
    rig.device.setProgram(2, {{100, 1}, {200, 0}});
    rig.device.setProgram(6, {{300, 3}, {400, 1}, {500, 0}});
    Cli cli(rig.device, rig.clock, "V820HX");
    const std::string dir = rig.home.path() + "/bk";
    ASSERT_EQ(cli.job("backup", {dir}), 0) << cli.err.str();
    const std::string file = dir + "/backup_7.820";  // slot 7, program numbers from 1
    std::string text = rig.fs.readAll(file);
    text.replace(text.find("\t400"), 4, "\t450");  // out of range if missing
    rig.fs.writeAll(file, text);
    EXPECT_EQ(cli.job("compare", {dir}), 3);
    EXPECT_THAT(cli.out.str(), HasSubstr("7 differs change point 1: file 450/1, device 400/1\n"));

    EXPECT_EQ(cli.job("compare --json", {dir}), 3);
    EXPECT_THAT(cli.out.str(), HasSubstr("{\"slot\":7,\"state\":\"differs\",\"file\":"));
    EXPECT_THAT(cli.out.str(),
                HasSubstr(",\"index\":1,\"detail\":\"change point 1: file 450/1, device 400/1\"}\n"));

    // The window's progress: each slot in turn, with the slots done before it.
    std::string seen;
    JobHooks hooks;
    hooks.progress = [&](const JobProgress& p) { seen += std::to_string(p.slot * 100 + p.done) + " "; };
    EXPECT_EQ(runCompare(rig.ctx, rig.link, dir, hooks).bySlot[6].state, SlotState::Differs);
    EXPECT_EQ(seen, "100 201 302 403 504 605 706 807 908 1009 1110 1211 1312 1413 1514 1615 ");  // slot, done

    // Verify after the editor's download: a difference is shown with the slot and change point.
    rig.ctx.settings.VerifyAfterDownload = 1;
    rig.prepare({{100, 1}, {200, 0}}, 3);
    rig.env.procs.LeggiLav = [](int) { return true; };
    bool tampered = false;
    rig.clock.onPump = [&] {
        if (!tampered && rig.device.program(3)) {
            rig.device.setProgram(3, {{100, 1}, {250, 0}});
            tampered = true;
        }
    };
    ASSERT_EQ(rig.send(), DownloadCommand::Outcome::Sent);
    const auto done = verifyAfterDownload(rig.env, rig.download);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].state, SlotState::Differs);
    ASSERT_FALSE(rig.op.boxes.empty());
    EXPECT_EQ(rig.op.boxes.back().prompt,
              "Program 4 differs from the device after the download:\r\nchange point 1: file 200/0, device 250/0");
    EXPECT_THAT(rig.ed.Text2, HasSubstr("verify: 4 differs change point 1"));

    rig.ctx.settings.VerifyAfterDownload = 0;
    EXPECT_TRUE(verifyAfterDownload(rig.env, rig.download).empty());

    // A backup that cannot read every slot writes nothing and names the slot: a slot whose
    // reply is damaged (the job's report), a line dropped midway (gyrel-cli).
    for (int k = 0; k < 16; ++k) rig.device.setProgram(k, {{10, 1}, {20, 0}});
    hooks.progress = [&](const JobProgress& p) { rig.device.faults().badChecksum = p.slot == 5; };
    const BackupReport r = runBackup(rig.ctx, rig.link, dir + "2", hooks);
    EXPECT_FALSE(r.complete || fs::exists(dir + "2"));
    for (int k = 0; k < 16; ++k) EXPECT_EQ(r.ends[k], k == 4 ? BackupSlotEnd::Failed : BackupSlotEnd::Program) << k;
    EXPECT_THAT(backupReportText(rig.ctx, r),
                HasSubstr("Slot 5: read failed (a reply with a wrong checksum)\r\n"));
    rig.device.faults().badChecksum = false;
    rig.device.faults().closeAfterReplies = 20;
    EXPECT_EQ(cli.job("backup", {dir + "2"}), 2);
    EXPECT_FALSE(fs::exists(dir + "2") || fs::exists(dir + "2.partial~"));
    EXPECT_THAT(cli.err.str(), HasSubstr("Slot 16: read failed"));
    EXPECT_THAT(cli.err.str(), HasSubstr("Backup not made"));
}

TEST(Restore, CancelHalfwayReportsTheSlotsWrittenAndABadFileSendsNothing) {
    Rig rig("KMT71");
    for (int k = 0; k < 6; ++k) rig.device.setProgram(k, {{static_cast<std::uint32_t>(100 + k), 1}, {900, 0}});
    const std::string dir = rig.home.path() + "/bk";
    ASSERT_TRUE(runBackup(rig.ctx, rig.link, dir, {}).complete);
    for (int k = 0; k < 16; ++k) rig.device.clearProgram(k);
    int steps = 0;
    JobHooks hooks;
    hooks.progress = [&](const JobProgress&) { ++steps; };
    hooks.cancelled = [&] { return steps == 3; };
    const RestoreReport r = runRestore(rig.ctx, rig.link, dir, hooks);
    EXPECT_EQ(r.end, RestoreReport::End::Cancelled);
    ASSERT_EQ(rig.op.boxes.size(), 1u);  // the plan, answered Yes
    EXPECT_THAT(rig.op.boxes[0].prompt, HasSubstr("Slot 7: empty in the backup, left alone"));
    for (int k = 0; k < 16; ++k) EXPECT_EQ(rig.device.program(k).has_value(), k < 3) << k;
    const std::string text = restoreReportText(rig.ctx, r);
    EXPECT_THAT(text, HasSubstr("Slot 3: written, not verified\r\nSlot 4: not written\r\n"));

    // A slot the device does not take ends the restore there, naming it.
    rig.device.faults().noAckFrames = 1000;
    const RestoreReport failed = runRestore(rig.ctx, rig.link, dir, {});
    EXPECT_EQ(std::make_pair(failed.end, failed.why),
              std::make_pair(RestoreReport::End::LineError, std::string("Slot 1: transmission error")));
    EXPECT_FALSE(failed.written[0] || failed.written[1]);

    // A file failing its check stops the restore before anything is sent or asked.
    rig.device.faults().noAckFrames = 0;
    rig.fs.writeAll(dir + "/backup_1.KVX", "1\t10\t2000000\r\n");
    const std::size_t sent = rig.device.received().size(), asked = rig.op.boxes.size();
    EXPECT_EQ(runRestore(rig.ctx, rig.link, dir, {}).end, RestoreReport::End::FileFailed);
    EXPECT_EQ(std::make_pair(rig.device.received().size(), rig.op.boxes.size()), std::make_pair(sent, asked));
}

// Only a slot 1..16 can be recorded empty in the backup list; a slot that names a file is not.
// The presets file reads what it writes and refuses bad lines.
TEST(BackupFiles, EmptyMarkersOutsideTheSlotsAreCommentsAndThePresetsFileRefusesBadLines) {
    const BackupListRead list =
        readBackupList("'0   empty\r\n'17   empty\r\n' 3\tempty \r\n'16 empty\r\n2   (a.820)\r\n'2   empty\r\n",
                       "/b/backup.lis");
    ASSERT_TRUE(list.ok);
    for (std::size_t k = 0; k < 16; ++k) EXPECT_EQ(list.empty[k], k == 2 || k == 15) << k;
    EXPECT_EQ(list.paths[1], "/b/a.820");

    PresetTable t;
    std::tie(t[0], t[15]) = std::make_tuple(PresetEntry{5, 6}, PresetEntry{4294967295u, 0});
    EXPECT_EQ(formatPresets(t), "1 5 6\r\n16 4294967295 0\r\n");
    const PresetsReadResult r = parsePresets(formatPresets(t) + "\r\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.table[15]->preset, 4294967295u);
    EXPECT_FALSE(r.table[1].has_value());
    for (const char* bad : {"17 1 1\r\n", "1 1\r\n", "1 4294967296 0\r\n", "1 1 1\r\n1 2 2\r\n", "1 -1 0\r\n"})
        EXPECT_FALSE(parsePresets(bad).ok) << bad;
}

}  // namespace
}  // namespace gyrel
