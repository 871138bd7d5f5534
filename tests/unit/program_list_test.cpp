#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "device/deskpl.h"
#include "device/rebuild.h"
#include "editor/program_list.h"
#include "lang/file_name_texts.h"
#include "platform/working_folder.h"
#include "support/deskpl_writer.h"
#include "unit/program_list_fakes.h"

namespace gyrel {
namespace {

using listtest::MemoryFs;
using test::DeskplWriter;

TEST(ListFile, WritesOnlyFilledSlotsAndReadsBackEverySlotAsEarlierToolsLeftThem) {
    SlotPaths s;
    s[1] = "c:\\progs\\b.txt", s[15] = "z";
    EXPECT_EQ(formatList(s) + formatList(SlotPaths{}), "2   (c:\\progs\\b.txt)\r\n16   (z)\r\n");
    for (int k = 0; k < 16; k += 3) s[k] = "c:\\p\\" + std::to_string(k * 7) + "\\x" + std::to_string(k) + ".TXT";
    EXPECT_EQ(parseList(formatList(s)).paths, s);
    // Comments, text after the number, a Windows-1252 letter in a path, no line end after the last line.
    const ListReadResult r = parseList(
        "(before any number)\r\n' machine 7, line 12\r\n3   (c:\\prog12\\p3.712)\r\n"
        "4 slot four (d:\\caf\xe8\\4.txt) ' note (x)\r\n\r\n16   (e:\\last 16.txt)");
    SlotPaths want;
    want[2] = "c:\\prog12\\p3.712", want[3] = "d:\\caf\xe8\\4.txt", want[15] = "e:\\last 16.txt";
    EXPECT_EQ(std::make_pair(r.ok, r.paths), std::make_pair(true, want));
    for (const char* bad : {"17   (a)\r\n", "2   (a)\r\n0   (b)\r\n", "1234567890123456789012345   (a)\r\n"})
        EXPECT_FALSE(parseList(bad).ok) << bad;
}

struct MultiFilesTest : ::testing::Test, listtest::MultiFilesRig {
    MultiFilesTest() {
        mf.hooks.leggiLav = [this](int code) {
            checks.push_back(code);
            return true;
        };
        mf.hooks.preConf = [this] { ++preConfs; };
    }
    void load(const std::string& list) {
        op.files.push_back(list);
        mf.MenuLoadList();
    }
    std::string work() const { return fs.files.at(inWorkingFolder("lav.lav")); }
    std::vector<int> checks;
    int preConfs = 0;
};

TEST_F(MultiFilesTest, ABadMissingOrDeclinedListChangesNothingAndAGoodOneFillsItsSlots) {
    mf.panel.MultiPath[2] = "keep";
    for (const char* bad : {"2   (a)\r\n17   (b)\r\n", "0   (a)\r\n"}) {
        fs.files["c:\\bad.lis"] = bad;
        load("c:\\bad.lis");
        EXPECT_EQ(op.shown.back().prompt, "Program error") << bad;
    }
    load("c:\\none.lis");
    mf.MenuLoadList();  // cancelled
    EXPECT_EQ(std::to_string(op.shown.size()) + op.shown.back().prompt, "3File not present");
    ctx.hooks.checkModif = [](int) { return AnswerNo; };
    ed.ProgBox = "mine";
    fs.files["c:\\good.lis"] = "1   (a)\r\n";
    load("c:\\good.lis");
    EXPECT_EQ(ed.ProgBox + mf.panel.MultiPath[2], "minekeep");
    ctx.hooks.checkModif = [](int) { return AnswerYes; };
    op.shown.clear();
    op.files.clear();  // the declined load asked for no file
    fs.files["c:\\l\\m.lis"] = "2   (c:\\p\\two.txt)\r\n5   (c:\\p\\gone.txt)\r\n";
    fs.files["c:\\p\\two.txt"] = "1\t10\t20\r\n";
    ed.ProgramFilePath = "c:\\p\\x.txt";
    ed.ProgBox = "text";
    ctx.editorLayout.selectorEnabled = true;
    load("c:\\l\\m.lis");
    EXPECT_FALSE(ctx.editorLayout.selectorEnabled);
    EXPECT_EQ(op.dialogs[0].filter, "List Files(*.lis)|*.lis|All Files (*.*)|*.*");
    SlotPaths want;
    want[1] = "c:\\p\\two.txt", want[4] = "c:\\p\\gone.txt";
    EXPECT_EQ(mf.panel.MultiPath, want);
    EXPECT_EQ(std::make_pair(mf.panel.MultiPathBack[1], mf.panel.MultiPathBack[4]),
              std::make_pair(kSlotNormal, kSlotMissing));
    ASSERT_EQ(op.shown.size(), 1u);
    EXPECT_EQ(op.shown[0].prompt + "|" + ctx.editorLayout.multiFileCaption, "File not present|c:\\l\\m.lis");
    EXPECT_EQ(ed.ProgramFilePath + ed.ProgBox + std::to_string(ed.SelezMulti), "1");
}

TEST_F(MultiFilesTest, SavingWritesTheListAnEmptyListIsAnEmptyFileAndOpeningASlotLoadsItsFile) {
    mf.panel.MultiPath[0] = "c:\\a.txt";
    mf.MenuSaveList();  // no list name yet and the dialog cancelled: nothing written
    EXPECT_TRUE(fs.files.empty());
    mf.panel.MultiPath[0] = "";
    op.files.push_back(std::string("c:\\out.lis"));
    mf.MenuSaveList();
    EXPECT_EQ(fs.files.at("c:\\out.lis"), "");
    mf.panel.MultiPath[0] = "c:\\a 1.txt";
    mf.panel.MultiPath[9] = "c:\\b(10).txt";
    mf.MenuSaveList();  // cancelled: the list file chosen before is kept
    EXPECT_EQ(fs.files.at("c:\\out.lis") + ctx.editorLayout.multiFileCaption,
              "1   (c:\\a 1.txt)\r\n10   (c:\\b(10).txt)\r\nc:\\out.lis");

    // A name Windows-1252 cannot hold (a capital omega) is refused with a box naming it; no list is written.
    mf.panel.MultiPath[3] = "c:\\Zeile \xCE\xA9.txt";
    op.files.push_back(std::string("c:\\new.lis"));
    mf.MenuSaveList();
    ASSERT_EQ(op.shown.size(), 1u);
    EXPECT_EQ(op.shown[0].prompt, std::string(nameNotWritableText("EN")) + "\r\n" + mf.panel.MultiPath[3]);
    EXPECT_EQ(fs.files.count("c:\\new.lis"), 0u);

    // Opening a slot loads its file and checks it quickly, or fully when the graph is shown.
    fs.files["c:\\s3.txt"] = "3\t1\t2\r\n";
    mf.panel.MultiPath[2] = "c:\\s3.txt";
    mf.OpenSlot(2);
    EXPECT_EQ(ed.ProgramFilePath + "|" + work() + "|" + ed.ProgBox, "c:\\s3.txt|3\t1\t2\r\n|3\t1\t2\r\n");
    EXPECT_EQ(checks, std::vector<int>{2});

    fs.files["c:\\s4.txt"] = "4\t1\t2\r\n";
    mf.panel.MultiPath[3] = "c:\\s4.txt";
    ed.graphVisible = true;
    mf.OpenSlot(3);
    mf.OpenSlot(3);  // already open: nothing reloaded
    EXPECT_EQ(checks, (std::vector<int>{2, 99}));

    mf.panel.MultiPath[4] = "c:\\deleted.txt";
    mf.OpenSlot(4);
    EXPECT_EQ(ed.ProgramFilePath + ed.ProgBox + work() + std::to_string(checks.size()), "2");
    // The operator keeps the edits: nothing opened.
    ctx.hooks.checkModif = [](int) { return AnswerNo; };
    ed.ProgBox = "edited";
    mf.OpenSlot(2);
    EXPECT_EQ(ed.ProgBox + "|" + ed.ProgramFilePath, "edited|");
}

// Keys move around the sixteen boxes and check the file left; browsing takes an existing file only;
// unticking leaves the mode through the model configuration.
TEST_F(MultiFilesTest, KeysCheckTheFileLeftBrowsingTakesAnExistingOneAndUntickingLeavesTheMode) {
    fs.files["c:\\ok.txt"] = "";
    mf.panel.MultiPath[15] = "c:\\ok.txt";
    mf.panel.MultiPath[0] = "c:\\missing.txt";
    using Key = MultiFiles::Key;
    EXPECT_EQ(mf.MultiPathKeyDown(15, Key::Enter), 0);
    EXPECT_TRUE(op.shown.empty());
    EXPECT_EQ(mf.MultiPathKeyDown(0, Key::Up), 15);
    EXPECT_EQ(mf.panel.MultiPathBack[0], kSlotMissing);
    EXPECT_EQ(mf.MultiPathKeyDown(7, Key::Down), 8);
    EXPECT_EQ(mf.MultiPathKeyDown(7, Key::Other), 7);
    EXPECT_EQ(op.shown.size(), 1u);  // empty boxes are not reported
    fs.files["c:\\missing.txt"] = "";
    mf.MultiPathLeave(0);
    EXPECT_EQ(mf.panel.MultiPathBack[0], kSlotNormal);
    mf.panel.MultiPath[15] = "c:\\gone.txt";  // the sixteenth box is checked when left, too
    EXPECT_EQ(mf.MultiPathKeyDown(15, Key::Down), 0);
    EXPECT_EQ(mf.panel.MultiPathBack[15], kSlotMissing);

    ctx.model.FileExtension = "712";
    op.files = {std::string("c:\\nope.712"), std::string("c:\\yes.712")};
    mf.MultiButt(4);
    EXPECT_EQ(op.dialogs[0].filter, "Text Files (*.712)|*.712|All Files (*.*)|*.*");
    EXPECT_EQ(mf.panel.MultiPath[4], "");
    fs.files["c:\\yes.712"] = "PRG=1\r\n";
    mf.MultiButt(0);
    EXPECT_EQ(mf.panel.MultiPath[0] + "|" + ed.ProgramFilePath + "|" + ed.ProgBox, "c:\\yes.712|c:\\yes.712|PRG=1\r\n");
    const auto boxes = op.shown.size();
    op.files = {std::string(), std::nullopt};  // nothing chosen, then the dialog cancelled
    mf.MultiButt(0);
    mf.MultiButt(0);
    EXPECT_EQ(mf.panel.MultiPath[0] + "|" + ed.ProgramFilePath + "|" + std::to_string(op.shown.size() - boxes),
              "c:\\yes.712|c:\\yes.712|0");

    mf.SelezMultiReleased(true);
    EXPECT_TRUE(ctx.editorLayout.multiFilePanel);
    ed.CurrentSlot = 4;
    mf.SelezMultiReleased(false);
    EXPECT_EQ(std::make_tuple(ed.SelezMulti, ed.CurrentSlot, preConfs), std::make_tuple(false, 16, 1));
}

const DeskplOptions kOptions{"C:\\a\\plant.dpl", "C:\\a\\plant", "TXT", 3599, "06/12/2026 08:15:00"};

// The result of converting the file the writer makes, in fs.
DeskplResult decode(MemoryFs& fs, const DeskplWriter& w, const DeskplOptions& o = kOptions) {
    fs.files["d"] = w.bytes();
    return DecodeDPL(fs, "d", o);
}

// Record 6 holds program 4; record 1 is not in use (all counts 0).
TEST(Deskpl, EntriesPairUpOffsetsComeIntoHalfATurnValuesAreWrittenInGeneralFormAndBadFilesAreRefused) {
    DeskplWriter cams, offsets;
    cams.program(0, 9);
    cams.program(5, 4).count(5, 3, 5);
    // Pairs (0,1), (2,3), (4,5): the odd count takes the entry behind it; a
    // column that no entry of a pair sets keeps the pair before.
    cams.entry(5, 3, 0, 1.0f, 1).entry(5, 3, 1, 2.0f, 0).entry(5, 3, 2, 3.5f, 1).entry(5, 3, 3, 4.0f, 1);
    cams.entry(5, 3, 4, 7.0f, 0).entry(5, 3, 5, 0.25f, 0);
    offsets.program(5, 4).count(5, 1, 2).entry(5, 1, 0, 10.0f, 1).entry(5, 1, 1, 20.0f, 0);
    offsets.onOffset(5, 2, -5.0f).offOffset(5, 5, 200.0f).onOffset(5, 6, 180.0f).onOffset(5, 7, -180.0625f);
    const std::pair<const DeskplWriter*, const char*> rows[] = {
        {&cams, "3\t10\t20\r\n3\t40\t20\r\n3\t40\t2.5\r\n"},
        {&offsets, "1\t100\t200\r\n\r\n&\r\n2\t50\t0\r\n5\t0\t1600\r\n6\t-1800\t0\r\n7\t-1799.375\t0\r\n"},
    };
    for (const auto& [writer, body] : rows) {
        MemoryFs fs;
        const DeskplResult r = decode(fs, *writer);
        ASSERT_TRUE(r.ok) << r.why;
        EXPECT_EQ(r.written, std::vector<std::string>{"C:\\a\\plant_4.TXT"});
        EXPECT_EQ(r.paths[8] + r.paths[0], "");
        EXPECT_EQ(fs.files.at("C:\\a\\plant_4.TXT"),
                  "'Imported on 06/12/2026 08:15:00 from file C:\\a\\plant.dpl\r\n\r\n' - - - Program # 4\r\n\r\n" +
                      std::string(body));
    }
    // The whole entry table is read to its last entry.
    DeskplWriter w;
    w.program(15, 16).count(15, 16, 255);
    for (int c = 0; c < 255; ++c) w.entry(15, 16, c, static_cast<float>(c), c % 2 == 0 ? 1 : 0);
    w.onOffset(15, 16, 1.0f).offOffset(15, 1, 0.0f);
    MemoryFs fs;
    ASSERT_TRUE(decode(fs, w).ok);
    // 128 rows; the last pair has no entry behind the table and keeps OFF 2530.
    EXPECT_NE(fs.files.at("C:\\a\\plant_16.TXT").find("16\t2520\t2530\r\n16\t2540\t2530\r\n\r\n&\r\n16\t-10\t0\r\n"),
              std::string::npos);
    // Single values are written in the general format.
    const std::pair<float, const char*> values[] = {
        {205.0f, "205"},        {-2000.0f, "-2000"},      {2.5f, "2.5"},          {123.4567f, "123.4567"}, {-0.0f, "0"},
        {3e10f, "30000000000"}, {-1.5e-6f, "-0.0000015"}, {12345.67f, "12345.67"}};
    for (const auto& [value, text] : values) EXPECT_EQ(formatSingle(value), text);

    // Offsets with no equivalent and bad files are refused without reading past them.
    DeskplWriter b;
    b.program(0, 1).count(0, 1, 2).entry(0, 1, 1, 5.0f, 0);
    b.program(1, 2).count(1, 1, 2).offOffset(1, 1, 200.0f);
    const DeskplResult r = decode(fs, b, {"C:\\a\\plant.dpl", "C:\\a\\plant", "TXT", 16383, "06/12/2026 08:15:00"});
    EXPECT_EQ(std::to_string(r.ok) + r.why, "0record 2: offset of output 1 cannot be brought into -1800..1800");
    // The program converted before the bad record stays.
    EXPECT_EQ(r.written, std::vector<std::string>{"C:\\a\\plant_1.TXT"});
    EXPECT_EQ(r.paths[0] + std::to_string(fs.files.count("C:\\a\\plant_2.TXT")), "C:\\a\\plant_1.TXT0");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<DeskplWriter, const char*> bad[] = {
        {DeskplWriter().truncate(328991), "file shorter than 328992 bytes"},
        // A huge offset on a normal turn ends at once instead of stepping for ever.
        {DeskplWriter().program(0, 3).count(0, 1, 1).onOffset(0, 1, 1e30f),
         "record 1: offset of output 1 cannot be brought into -1800..1800"},
        {DeskplWriter().program(0, 1).count(0, 2, -1), "record 1: output 2 has -1 entries"},
        {DeskplWriter().program(3, 1).count(3, 16, 256), "record 4: output 16 has 256 entries"},
        {DeskplWriter().program(0, 17).count(0, 1, 2), "record 1: program number 17 outside 1..16"},
        {DeskplWriter().program(0, 0).count(0, 1, 2), "record 1: program number 0 outside 1..16"},
        {DeskplWriter().program(0, 1).count(0, 1, 2).entry(0, 1, 1, 3.0f, 2), "record 1: output 1 entry 1 has kind 2"},
        {DeskplWriter().program(0, 1).count(0, 1, 2).entry(0, 1, 0, nan, 1), "record 1: output 1 entry 0 is no angle"},
    };
    for (const auto& [writer, why] : bad) {
        const DeskplResult r = decode(fs, writer);
        EXPECT_FALSE(r.ok || !r.written.empty()) << why;
        EXPECT_EQ(r.why, why);
    }
    EXPECT_FALSE(DecodeDPL(fs, "missing", kOptions).ok);
}

// A cancelled, missing or bad file shows an error; a good one writes its programs and the list.
TEST_F(MultiFilesTest, ABadFileShowsErrorAGoodOneWritesTheFilesAndTheList) {
    mf.hooks.dateNow = [] { return std::string("06/12/2026 08:15:00"); };
    fs.files[inWorkingFolder("lav.lav")] = "1 1 2\r\n";
    ed.ProgBox = "stale";
    mf.MenuDeskpl();
    EXPECT_EQ(ed.ProgBox, "1 1 2\r\n");  // the box shows the work file again
    op.files.push_back(std::string("C:\\nothing.dpl"));
    mf.MenuDeskpl();
    EXPECT_EQ(op.dialogs.size(), 2u);  // no list name is asked for a missing file
    DeskplWriter bad;
    bad.program(0, 2).count(0, 1, 2);
    bad.program(1, 3).count(1, 1, 2).entry(1, 1, 0, 1.0f, 7);
    fs.files["C:\\bad.dpl"] = bad.bytes();
    fs.files["C:\\keep.lis"] = "1   (x)\r\n";
    op.files = {std::string("C:\\bad.dpl"), std::string("C:\\keep.lis")};
    mf.MenuDeskpl();
    ASSERT_EQ(op.shown.size(), 3u);
    for (const auto& s : op.shown)
        EXPECT_TRUE(s.prompt == "ERROR               " && s.icon == MsgIcon::Exclamation) << s.prompt;
    // The program converted before the bad record is kept and shown, the list file is not touched.
    EXPECT_EQ(mf.panel.MultiPath[1] + "|" + mf.panel.MultiPath[2] + "|" + fs.files.at("C:\\keep.lis"),
              "C:\\keep_2.TXT||1   (x)\r\n");
    EXPECT_EQ(fs.files.count("C:\\keep_2.TXT"), 1u);

    EXPECT_EQ(proposedListName("C:\\a.b\\p.dpl") + " " + listBaseOf("C:\\a\\plant_rev_dpl"),
              "C:\\a.b\\p_dpl C:\\a\\plant_rev_dpl");
    DeskplWriter w;
    w.program(0, 4).count(0, 1, 2).entry(0, 1, 0, 10.0f, 1).entry(0, 1, 1, 20.5f, 0);
    fs.files["C:\\a\\plant.rev.dpl"] = w.bytes();
    ed.ProgramFilePath = "C:\\old.TXT";
    op.files = {std::string("C:\\a\\plant.rev.dpl"), std::string("C:\\a\\plant.lis")};
    mf.MenuDeskpl();
    ASSERT_EQ(op.dialogs.size(), 6u);
    EXPECT_EQ(op.dialogs[5].initialPath + "|" + mf.panel.MultiPath[3],
              "C:\\a\\plant_rev_dpl|C:\\a\\plant_4.TXT");
    EXPECT_EQ(op.shown.size(), 3u);
    EXPECT_EQ(fs.files.at("C:\\a\\plant_4.TXT"),
              "'Imported on 06/12/2026 08:15:00 from file C:\\a\\plant.rev.dpl\r\n"
              "\r\n' - - - Program # 4\r\n\r\n1\t100\t205\r\n");
    EXPECT_EQ(fs.files.at("C:\\a\\plant.lis") + ed.ProgramFilePath, "4   (C:\\a\\plant_4.TXT)\r\n");
    EXPECT_TRUE(ed.SelezMulti);  // the list mode
}

ImportedTable tableOf(std::initializer_list<std::pair<double, double>> entries) {
    ImportedTable t;
    int i = 0;
    for (auto [p, m] : entries) t.rows[static_cast<std::size_t>(i++)] = {p, m};
    return t;
}

// By output, then by OFF edge; 15 outputs x 16 cams = 240 rows still fit, one more cam does, a second not.
TEST(Rebuild, ChangePointsBecomeCamRowsUpToTheTableSize) {
    const std::tuple<const char*, ImportedTable, int, std::vector<RebuiltRow>> cases[] = {
        {"one cam", tableOf({{100, 1}, {200, 0}}), 2, {{1, 100, 200}}},
        {"the final run wraps into the start", tableOf({{0, 1}, {50, 0}, {300, 1}}), 3, {{1, 300, 50}}},
        {"output 16 too", tableOf({{10, 0x8001}, {20, 0x0002}, {30, 0x8003}, {40, 0}}), 4,
         {{1, 10, 20}, {1, 30, 40}, {2, 20, 40}, {16, 10, 20}, {16, 30, 40}}},
        {"entries behind the count are ignored", tableOf({{100, 1}, {200, 0}, {300, 4}, {400, 0}}), 2,
         {{1, 100, 200}}},
    };
    for (const auto& [what, table, count, rows] : cases) EXPECT_EQ(rebuildRows(table, count), rows) << what;
    ImportedTable t;
    for (int i = 0; i < 36; ++i)
        t.rows[static_cast<std::size_t>(i)] = {i * 10.0, i % 2 ? 0.0 : i < 32 ? 0x7FFF : 0x8000};
    EXPECT_EQ(rebuildRows(t, 32).value().size(), 240u);
    EXPECT_EQ(rebuildRows(t, 34).value().size(), 241u);
    EXPECT_FALSE(rebuildRows(t, 36).has_value());
    // Large positions are written as plain whole numbers.
    EXPECT_EQ(plainNumber(4294967295.0) + " " + plainNumber(0) + " " + plainNumber(2.5), "4294967295 0 2.5");
}

}  // namespace
}  // namespace gyrel
