// The editor's download: the command, the frames and the header conversation; the
// origin dialog's exchange; and every exchange against each fault of the device.
#include <gtest/gtest.h>

#include "device/download_frames.h"
#include "download_fixture.h"
#include "origin/origin_dialog.h"
#include "sim/faults.h"
#include "support/cam_table_of.h"

namespace gyrel {
namespace {

using Outcome = DownloadCommand::Outcome;
using xfertest::Rig;
using test::camTableOf;

// The editor's check stands in here as: the work file names how many
// one-cam rows the program has ("EMPTY" for none, "BAD" for a failing check, "MANY"
// for more change points than the device holds).
struct CmdRig : Rig {
    explicit CmdRig(const std::string& model = "NORM") : Rig(model) {
        env.procs.LeggiLav = [this](int code) {
            codes.push_back(code);
            const std::string text = fs.fileExists(env.WorkFilePath()) ? fs.readAll(env.WorkFilePath()) : "1";
            if (text == "BAD") return false;
            const bool many = text == "MANY";
            const int n = text == "EMPTY" ? 0 : many ? 60 : std::stoi(text);
            ed.camTable = CamTable{};
            for (int i = 0; i < 2 * n; ++i) ed.camTable.set(i, static_cast<std::uint32_t>(10 * i + 5), i % 2 ? 0 : 1);
            ed.camTable.CamCount = many ? 131 : 2 * n;
            ed.CamRowCount = n;
            return true;
        };
        env.procs.CheckModif = [this](int mode) {
            modifModes.push_back(mode);
            return modifAnswer;
        };
    }
    void work(const std::string& text) { fs.writeAll(env.WorkFilePath(), text); }
    std::vector<int> codes;
    std::vector<int> modifModes;
    int modifAnswer = AnswerYes;
};

TEST(Command2, SendsTheCheckedProgramIntoTheSelectedSlot) {
    CmdRig r;
    r.work("3");
    r.ed.ProgramIndex = 6;
    EXPECT_EQ(r.send(), Outcome::Sent);
    EXPECT_EQ(r.modifModes, std::vector<int>{2});
    EXPECT_EQ(r.codes, std::vector<int>{96});
    EXPECT_EQ(r.device.program(6), (sim::CamTable{{5, 1}, {15, 0}, {25, 1}, {35, 0}, {45, 1}, {55, 0}}));
    r.expectFree();
    // The editor's other button: append the offsets.
    r.work("1\t10\t20\r\n");
    r.ed.check2[0] = r.ed.check2[15] = true;
    r.ed.Text4[0] = r.ed.Text5[15] = "5";
    r.ed.Text5[0] = "-3";
    r.ed.Text4[15] = "0";
    int reloads = 0;
    r.env.procs.AggBox = [&] { ++reloads; };
    r.download.Command5();
    EXPECT_EQ(r.fs.readAll(r.env.WorkFilePath()), "1\t10\t20\r\n&\r\n1\t5\t-3\r\n16\t0\t5\r\n");
    EXPECT_EQ(reloads, 1);
}

// Nothing is sent while the editor is busy, when unsaved changes are kept, when the
// check fails or the table is too large, or until an empty program is confirmed.
TEST(Command2, NothingIsSentUntilTheProgramMayGo) {
    CmdRig r;
    r.ed.ProgramIndex = 2;
    r.ctx.EditorBusy = true;
    EXPECT_EQ(r.send(), Outcome::Busy);
    EXPECT_TRUE(r.modifModes.empty());
    r.ctx.EditorBusy = false;
    r.modifAnswer = AnswerNo;
    EXPECT_EQ(r.send(), Outcome::Declined);
    EXPECT_TRUE(r.codes.empty());
    r.modifAnswer = AnswerYes;
    r.work("BAD");
    EXPECT_EQ(r.send(), Outcome::CheckFailed);
    r.work("MANY");
    EXPECT_EQ(r.send(), Outcome::Refused);
    r.work("EMPTY");
    r.op.answers = {AnswerNo};
    EXPECT_EQ(r.send(), Outcome::Declined);
    EXPECT_EQ(r.op.boxLog(),
              "too much cams|Programmed 131 camms\r\nMAX NUM of CAMS = 120 !!!\r\nNothing was sent.\n"
              "     Empty program ! |All outputs on program # 3 will be set to zero!\r\n     Continue?\n");
    EXPECT_EQ(r.op.boxes[1].icon, MsgIcon::Question);
    EXPECT_EQ(std::make_tuple(r.port.sent().size(), r.link.PortUsers, r.port.portOpen()),
              std::make_tuple(0u, 0, false));
    EXPECT_EQ(r.send(), Outcome::Sent);
    EXPECT_EQ(r.device.program(2), (sim::CamTable{{0, 0}}));
    // The multiple-file run asks about unsaved changes once (mode 1); declining an
    // empty program stops the run before anything more is sent.
    r.ed.SelezMulti = true;
    const std::string empty = r.home.path() + "/e1.txt", one = r.home.path() + "/two.txt";
    r.env.slots.path = [&](int k) { return k == 0 ? empty : k == 1 ? one : ""; };
    r.fs.writeAll(empty, "EMPTY");
    r.fs.writeAll(one, "1");
    r.modifModes.clear();
    r.codes.clear();
    const std::size_t sent = r.port.sent().size();
    r.op.answers = {AnswerNo};
    EXPECT_EQ(r.send(), Outcome::Declined);
    EXPECT_EQ(r.modifModes, std::vector<int>{1});
    EXPECT_EQ(r.codes, std::vector<int>{80});
    EXPECT_EQ(r.port.sent().size(), sent);
}

Frame19 F(std::initializer_list<int> bytes) {
    Frame19 f{};
    int i = 0;
    for (int b : bytes) f[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(b);
    return f;
}

// Known-answer frames: the standard ninth entry goes on a short page carrying the
// tail of the previous one; high-resolution pages end in zero tails.
TEST(DownloadFrames, KnownAnswerPagesAndAFullTable) {
    using Frames = std::vector<Frame19>;
    const CamTable t = camTableOf({10, 300, 700, 1000, 1500, 2000, 2500, 3000, 3500},
                                  {0x0001, 0x0003, 0x0002, 0x8000, 0x0100, 0x0000, 0x00FF, 0x1234, 0x0000});
    EXPECT_EQ(buildDownloadFrames(t, 2, FrameEncoding::Standard),
              (Frames{F({1, 0, 2, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12}),
                      F({2, 0, 0x0A, 0, 0x2C, 1, 0xBC, 2, 0xE8, 3, 0xDC, 5, 0xD0, 7, 0xC4, 9, 0xB8, 0x0B, 0x2A}),
                      F({2, 1, 0xAC, 0x0D, 0x2C, 1, 0xBC, 2, 0xE8, 3, 0xDC, 5, 0xD0, 7, 0xC4, 9, 0xB8, 0x0B, 0xDA}),
                      F({3, 0, 1, 0, 3, 0, 2, 0, 0, 0x80, 0, 1, 0, 0, 0xFF, 0, 0x34, 0x12, 0xCF}),
                      F({3, 1, 0, 0, 3, 0, 2, 0, 0, 0x80, 0, 1, 0, 0, 0xFF, 0, 0x34, 0x12, 0xCF})}));
    const CamTable h = camTableOf({3, 65536, 100000, 200000, 300000, 400000, 500000, 600000, 1048575},
                                  {0xFF, 0x80000001, 0, 2, 0x10000, 0xFFFF, 4, 8, 0x10});
    EXPECT_EQ(buildDownloadFrames(h, 5, FrameEncoding::HighResolution),
              (Frames{F({1, 0, 5, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15}),
                      F({2, 0, 3, 0, 0, 0, 0, 0, 1, 0, 0xA0, 0x86, 1, 0, 0x40, 0x0D, 3, 0, 0x7D}),
                      F({2, 1, 0xE0, 0x93, 4, 0, 0x80, 0x1A, 6, 0, 0x20, 0xA1, 7, 0, 0xC0, 0x27, 9, 0, 0xD2}),
                      F({2, 2, 0xFF, 0xFF, 0x0F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x11}),
                      F({3, 0, 0xFF, 0, 0, 0, 1, 0, 0, 0x80, 0, 0, 0, 0, 2, 0, 0, 0, 0x85}),
                      F({3, 1, 0, 0, 1, 0, 0xFF, 0xFF, 0, 0, 4, 0, 0, 0, 8, 0, 0, 0, 0x0F}),
                      F({3, 2, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 21})}));
    // An empty table goes as one entry at 0 with every output off; the standard
    // encoding carries the low sixteen bits of a position.
    CamTable e;
    e.set(0, 1234, 0xFFFF);  // left over from an earlier preparation
    e.CamCount = 0;
    EXPECT_EQ(buildDownloadFrames(e, 0, FrameEncoding::Standard),
              (Frames{F({1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}),
                      F({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}),
                      F({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3})}));
    EXPECT_EQ(e.mask(0), 0xFFFFu);  // the editor's table is not touched
    EXPECT_EQ(buildDownloadFrames(camTableOf({70000}, {0x30001}), 0, FrameEncoding::Standard),
              (Frames{F({1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}),
                      F({2, 0, 0x70, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x83}),
                      F({3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4})}));

    // A full table takes 31 or 61 frames; a slot past 16 is refused whole (more entries: Command2).
    CamTable f;
    for (int i = 0; i < 120; ++i) f.set(i, static_cast<std::uint32_t>(i * 30), static_cast<std::uint32_t>(i & 1));
    f.CamCount = 120;
    EXPECT_EQ(buildDownloadFrames(f, 15, FrameEncoding::Standard).size(), 31u);
    const auto full = buildDownloadFrames(f, 15, FrameEncoding::HighResolution);
    EXPECT_EQ(full.size(), 61u);
    for (const auto& frame : full) EXPECT_TRUE(frameSealed(frame));
    EXPECT_FALSE(checkDownloadable(f, 15).has_value());
    EXPECT_EQ(checkDownloadable(f, 16).value().prompt,
              "Program # 17 does not exist on the encoder (1 .. 16).\r\nNothing was sent.");
    EXPECT_TRUE(checkDownloadable(f, -1).has_value());
}

// Every fault the simulated device can show, against a download, an upload and an
// origin exchange: each ends with the outcome of its conversation, within a bounded
// time, with the port given back, the editor free and the program text untouched.
TEST(TransferFaults, EveryExchangeEndsCleanlyWhateverTheDeviceDoes) {
    for (const char* fault : {"silent", "late:35", "late400", "badsum", "garbage", "long", "noack:2", "mute-after:1",
                              "close-after:1", "mute-after:0"}) {
        SCOPED_TRACE(fault);
        Rig d("V820AX"), u("KMT71"), o("Px71");
        for (Rig* r : {&d, &u, &o}) ASSERT_TRUE(sim::applyFault(fault, r->device.faults()));
        d.ed.ProgBox = "1\t100\t200\r\n";
        d.prepare({{100, 1}, {200, 0}});
        d.env.procs.LeggiLav = [](int) { return true; };
        const DownloadCommand::Outcome outcome = d.send();
        const bool failed = outcome == DownloadCommand::Outcome::TransmissionError;
        EXPECT_TRUE(failed || outcome == DownloadCommand::Outcome::Sent);
        // A frame gets at most 12 checks: about 11 s, three frames at most.
        EXPECT_LT(d.clock.nowMs(), 3 * 12000);
        EXPECT_EQ(d.op.boxLog(), failed ? "Trasmission  Prog.1|Transmission error\n" : "");
        EXPECT_FALSE(d.port.portOpen());
        EXPECT_EQ(d.ed.ProgBox, "1\t100\t200\r\n");

        u.device.setProgram(0, {{100, 1}, {200, 0}});
        u.ed.ProgBox = "keep";
        const int ok = u.upload.ImportaEncoder(0);
        EXPECT_LT(u.clock.nowMs(), 5 * 700);
        // Read whole, the text is rebuilt; otherwise it is left as it was.
        EXPECT_EQ(u.upload.lastEnd == UploadEnd::Complete, ok == 1);
        EXPECT_EQ(ok == 1 ? u.ed.ProgBox.substr(u.ed.ProgBox.size() - 11) : u.ed.ProgBox,
                  ok == 1 ? "1\t100\t200\r\n" : "keep");

        OriginDialog dialog(o.ctx, o.link, o.ed.wait);
        dialog.show();
        dialog.rows[0].TxtPreset = "5";
        dialog.PulsTx();
        dialog.PulsRx();
        EXPECT_LE(o.clock.nowMs(), 17 * 1100 + 100);
        for (Rig* r : {&d, &u, &o}) r->expectFree();
    }
}

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
    EXPECT_EQ(rig.ed.Text2.substr(0, 5), "3 0 1");  // the mask page, sent last
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
        if (!r.op.boxes.empty()) {
            EXPECT_EQ(r.op.boxes[0].icon, MsgIcon::Stop);
        }
        r.expectFree();  // an error gives the port back
    }
}

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
    EXPECT_EQ(std::make_pair(rows[7].TxtPreset, rows[7].presetBack), std::make_pair(std::string(), kOriginPending));
    EXPECT_TRUE(r.op.boxes.empty());
    r.device.faults().silent = false;
    r.device.setPresetOrigin(1, {77, 88});
    r.device.faults().badChecksum = true;
    r.dialog.PulsRx();
    EXPECT_EQ(std::make_pair(rows[1].TxtPreset, rows[1].presetBack), std::make_pair(std::string("77"), kOriginPending));
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
