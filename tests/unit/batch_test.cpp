// The editor's upload, and the batch download and the all-slots upload end to end:
// the multiple-files panel and its list file, the editor's own check, the transfer
// conversations, and the simulated encoder behind an in-process port on the virtual clock.
#include <gtest/gtest.h>

#include "device/batch.h"
#include "dialogs/progress_state.h"
#include "editor/editor_check.h"
#include "editor/multi_files.h"
#include "unit/download_fixture.h"

namespace gyrel {
namespace {

// The transfer rig with the editor's own check and the multiple-files panel wired in.
struct BatchRig : xfertest::Rig {
    explicit BatchRig(const std::string& model) : Rig(model), check{ctx, ed, {}}, mf(ctx, ed) {
        ed.ResizeSeen = 1;  // the editor window is laid out: checks prepare the table
        auto aggBox = [this] { ed.ProgBox = fs.fileExists(work()) ? fs.readAll(work()) : std::string(); };
        ctx.hooks.aggBox = aggBox;
        env.procs.AggBox = aggBox;
        env.procs.LeggiLav = [this](int code) {
            codes.push_back(code);
            int slot = code;
            return LeggiLav(check, slot);
        };
        mf.hooks.setProgramNumber = [](const std::string&) {};
        wireSlotPanel(env.slots, mf);
    }
    std::string work() const { return env.WorkFilePath(); }
    std::string file(const std::string& name, const std::string& text) {
        fs.writeAll(dir + "/" + name, text);
        return dir + "/" + name;
    }
    // The number of upload requests the host has sent so far.
    int requestsSent() const {
        int n = 0;
        const Bytes& s = port.sent();
        for (std::size_t i = 0; i < s.size(); i += s[i] == 10 ? 19 : 1) n += s[i] == 10;
        return n;
    }
    const std::string dir = home.path();
    EditorEnv check;
    MultiFiles mf;
    std::vector<int> codes;
};

using Outcome = DownloadCommand::Outcome;

TEST(BatchDownload, SendsTheFilledSlotsOfAListThenAsksOnceForEmptyOnesAndStopsAtAMissingFile) {
    BatchRig r("NORM");
    const std::string one = r.file("one.TXT", "1\t100\t200\r\n");
    const std::string three = r.file("three.TXT", "2\t10\t3000\r\n3\t0\t1800\r\n");
    const std::string current = r.file("current.TXT", "5\t1\t2\r\n");
    r.file("m.lis", "1   (" + one + ")\r\n3   (" + three + ")\r\n");
    r.op.files.push_back(r.dir + "/m.lis");
    r.mf.MenuLoadList();
    ASSERT_TRUE(r.op.boxes.empty());
    r.ed.ProgramFilePath = current;

    r.download.Command2();
    EXPECT_EQ(r.download.lastOutcome, Outcome::Sent);
    EXPECT_TRUE(r.op.boxes.empty());
    EXPECT_EQ(r.codes, (std::vector<int>{80, 82}));
    EXPECT_EQ(r.device.program(0), (sim::CamTable{{100, 1}, {200, 0}}));
    EXPECT_FALSE(r.device.program(1).has_value());
    EXPECT_EQ(r.device.program(2), (sim::CamTable{{0, 4}, {10, 6}, {1800, 2}, {3000, 0}}));
    // The program that was open before comes back into the editor.
    EXPECT_EQ(r.ed.ProgramFilePath, current);
    EXPECT_EQ(r.fs.readAll(r.work()) + "|" + r.ed.ProgBox, "5\t1\t2\r\n|5\t1\t2\r\n");
    r.expectFree();
    // Empty programs ask once when the answer is remembered; a missing slot file stops
    // the run with its path as the box's title, the progress window hidden under it.
    r.mf.panel.MultiPath[0] = r.file("e1.TXT", "' nothing\r\n");
    r.mf.panel.MultiPath[1] = r.file("e2.TXT", "");
    r.mf.panel.MultiPath[2] = r.dir + "/gone.TXT";
    r.mf.panel.MultiPath[3] = r.file("four.TXT", "3\t0\t1800\r\n");
    r.ed.SelezMulti = true;
    r.op.answers = {AnswerYes, AnswerYes};
    bool progressShownWithTheBox = true;
    r.op.onBox = [&] { progressShownWithTheBox = r.ed.wait.visible; };
    r.download.Command2();
    EXPECT_FALSE(progressShownWithTheBox);
    EXPECT_EQ(r.op.boxLog(),
              "     Empty program ! |All outputs on program # 1 will be set to zero!\r\n     Continue?\n"
              "     Empty program ! |Remember this answer ?\n" +
                  r.dir + "/gone.TXT|File not present\n");
    EXPECT_EQ(r.op.boxes.at(2).icon, MsgIcon::Exclamation);
    EXPECT_EQ(std::make_pair(r.mf.panel.MultiPathBack[1], r.mf.panel.MultiPathBack[2]),
              std::make_pair(kSlotNormal, kSlotMissing));
    EXPECT_EQ(std::make_tuple(r.device.program(0), r.device.program(1), r.device.program(3).has_value()),
              std::make_tuple(sim::CamTable{{0, 0}}, sim::CamTable{{0, 0}}, false));
    EXPECT_FALSE(r.ed.wait.visible);
}

TEST(BatchUpload, ReadsEverySlotIntoFilesAndAListOnceOneIsChosen) {
    BatchRig r("V820HX");
    r.device.setProgram(0, {{0, 0}, {100, 1}, {200, 0}});
    r.device.setProgram(2, {{0, 2}, {5000, 0}});
    r.mf.ConfiguraLista();
    EXPECT_TRUE(r.ctx.editorLayout.multiFileChecked && r.ed.SelezMulti);  // the list box shows ticked
    r.upload.Menuencoder("");  // the list dialog cancelled: nothing is read
    EXPECT_EQ(std::make_pair(r.requestsSent(), r.op.dialogs.size()), std::make_pair(0, std::size_t{1}));
    r.mf.panel.MultiPath[5] = "stale";
    r.op.files.push_back(r.dir + "/line.v1.lis");
    // Slot 2 (index 1) does not answer; the run goes on with slot 3.
    r.clock.onPump = [&r] { r.device.faults().silent = r.requestsSent() == 2; };
    r.upload.Menuencoder("");
    EXPECT_EQ(r.requestsSent(), 16);
    EXPECT_EQ(framesText(r.ed.wait.progress, windowTextsFor("EN")), "16 of 16 frames");

    const std::string base = r.dir + "/line.v1";
    const auto& paths = r.mf.panel.MultiPath;
    EXPECT_EQ(std::vector<std::string>(paths.begin(), paths.begin() + 6),
              (std::vector<std::string>{base + "_1.820", "", base + "_3.820", base + "_4.820", base + "_5.820",
                                        base + "_6.820"}));
    const std::string first = "'Imported on 06/12/2026 07:30:00\r\n'Program # 1\r\n\r\n1\t100\t200\r\n";
    EXPECT_EQ(r.fs.readAll(base + "_1.820"), first);
    EXPECT_EQ(r.ed.SlotTexts[0], first);
    EXPECT_FALSE(r.fs.fileExists(base + "_2.820"));
    std::string list;
    for (int k = 0; k < 16; ++k)
        if (k != 1) list += std::to_string(k + 1) + "   (" + base + "_" + std::to_string(k + 1) + ".820)\r\n";
    EXPECT_EQ(r.fs.readAll(r.dir + "/line.v1.lis"), list);
    EXPECT_EQ(r.ed.ProgramFilePath, "");
    EXPECT_FALSE(r.ed.wait.visible);
}

using xfertest::Rig;

const std::string kHead = "'Imported on 06/12/2026 07:30:00\r\n";

TEST(Upload, ThreeChangePointsRebuildTheTextAndLeaveTheCountersAtMinusFive) {
    Rig r("V820AX");
    r.device.setProgram(2, {{100, 1}, {200, 0}, {300, 2}});
    r.ed.ProgBox = "old text";
    bool busyThroughout = true;  // and a status query asked meanwhile sends nothing
    r.clock.onPump = [&] {
        if (r.port.sent().empty()) return;
        busyThroughout = busyThroughout && r.ctx.EditorBusy;
        if (r.ctx.EditorBusy) r.link.TxQuery();
    };
    EXPECT_EQ(r.upload.ImportaEncoder(2), 1);
    r.clock.onPump = nullptr;
    EXPECT_TRUE(busyThroughout);
    // Each of the three replies is read at the first 50-ms check after its request.
    EXPECT_EQ(r.clock.nowMs(), 3 * 50);
    EXPECT_EQ(r.upload.lastEnd, UploadEnd::Complete);
    EXPECT_EQ(std::make_pair(r.upload.RemainingPositions, r.upload.RemainingMasks), std::make_pair(-5, -5));
    EXPECT_EQ(r.ed.ProgBox, kHead + "'Program # 2\r\n\r\n1\t100\t200\r\n2\t300\t100\r\n");
    EXPECT_EQ(std::make_pair(r.ed.ProgramIndex, r.ed.camTable.CamCount), std::make_pair(2, 3.0));
    EXPECT_EQ(r.port.sent(), (Bytes{10, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(r.ed.Text2.substr(r.ed.Text2.size() - 52), "10 0 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 12     req_ok\r\n");
    r.expectFree();
    // The menu's single slot keeps the text for the single program too.
    r.device.setProgram(4, {{10, 1}, {20, 0}});
    r.upload.Menuencoder("5");
    EXPECT_EQ(r.ed.ProgBox, kHead + "'Program # 4\r\n\r\n1\t10\t20\r\n");
    EXPECT_EQ(r.ed.SlotTexts[16], r.ed.ProgBox);
    // What the progress window shows at the end: the count and the outcome.
    const WindowTexts& en = windowTextsFor("EN");
    EXPECT_EQ(framesText(r.ed.wait.progress, en) + "|" + outcomeText(r.ed.wait.progress, en), "3 of 3 frames|Received");
    EXPECT_FALSE(r.ed.wait.visible);
    // A high-resolution model names the program from one and counts down in fewer pages.
    Rig hx("KMT71");
    hx.device.setProgram(0, {{0, 1}, {1048575, 0x81}});
    EXPECT_EQ(hx.upload.ImportaEncoder(0), 1);
    EXPECT_EQ(hx.ed.ProgBox, kHead + "'Program # 1\r\n\r\n1\t1\t1\r\n8\t1048575\t0\r\n");
    EXPECT_EQ(hx.upload.RemainingPositions, -2);
}

// A silent device fails after thirteen 50-ms waits, a cancel ends the wait at the
// next check, a damaged reply gets no go-ahead, a count past the table the host keeps
// is refused at its first reply, more cam rows than the editor holds once all 31 pages
// are in: the text is left as it was.
TEST(Upload, FailedExchangesLeaveTheText) {
    struct Case {
        const char* name;
        std::uint32_t entries;
        bool silent, badChecksum;
        double cancelAt;
        UploadEnd end;
        double took;
        std::size_t sent;
        const char* box;
    };
    const char* tooMany = "Import from encoder|Program # 0 holds more than 241 cam rows; it was not imported.\n";
    const Case cases[] = {{"silent", 2, true, false, -1, UploadEnd::NoReply, 13 * 50, 19, ""},
                          {"cancelled", 2, true, false, 120, UploadEnd::NoReply, 150, 19, ""},
                          {"wrong checksum", 2, false, true, -1, UploadEnd::BadChecksum, 50, 19, ""},
                          {"past the table", 250, false, false, -1, UploadEnd::OutOfRange, 50, 19, ""},
                          {"too many rows", 120, false, false, -1, UploadEnd::OutOfRange, 31 * 50, 19 + 31, tooMany}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r("V820AX");
        sim::CamTable t;
        for (std::uint32_t i = 0; i < c.entries; ++i) t.push_back({100 + i * 10, i % 2 ? 0u : 0xFFu});
        r.device.setProgram(0, t);
        r.device.faults().silent = c.silent;
        r.device.faults().badChecksum = c.badChecksum;
        if (c.cancelAt >= 0) r.clock.at(c.cancelAt, [&] { r.ctx.CancelRequested = true; });
        r.ed.ProgBox = "keep me";
        EXPECT_EQ(r.upload.ImportaEncoder(0), 0);
        EXPECT_EQ(r.clock.nowMs(), c.took);
        EXPECT_EQ(r.upload.lastEnd, c.end);
        EXPECT_EQ(r.port.sent().size(), c.sent);
        EXPECT_EQ(r.ed.ProgBox, "keep me");
        r.expectFree();
        EXPECT_EQ(r.op.boxLog(), c.box);
    }
}

}  // namespace
}  // namespace gyrel
