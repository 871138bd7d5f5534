#include <gtest/gtest.h>

#include "editor/program_list.h"
#include "lang/file_name_texts.h"
#include "platform/working_folder.h"
#include "unit/program_list_fakes.h"

namespace gyrel {
namespace {

using listtest::MemoryFs;

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
    ASSERT_TRUE(r.ok);
    SlotPaths want;
    want[2] = "c:\\prog12\\p3.712", want[3] = "d:\\caf\xe8\\4.txt", want[15] = "e:\\last 16.txt";
    EXPECT_EQ(r.paths, want);
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
        op.shown.clear();
        load("c:\\bad.lis");
        ASSERT_EQ(op.shown.size(), 1u);
        EXPECT_EQ(op.shown[0].prompt, "Program error");
    }
    load("c:\\none.lis");
    EXPECT_EQ(op.shown.back().prompt, "File not present");
    mf.MenuLoadList();  // cancelled
    ctx.hooks.checkModif = [](int) { return AnswerNo; };
    ed.ProgBox = "mine";
    fs.files["c:\\good.lis"] = "1   (a)\r\n";
    load("c:\\good.lis");
    EXPECT_EQ(ed.ProgBox, "mine");
    EXPECT_EQ(mf.panel.MultiPath[2], "keep");
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
    EXPECT_EQ(std::make_pair(mf.panel.MultiPathBack[1], mf.panel.MultiPathBack[4]), std::make_pair(kSlotNormal, kSlotMissing));
    ASSERT_EQ(op.shown.size(), 1u);
    EXPECT_EQ(op.shown[0].prompt, "File not present");
    EXPECT_EQ(ctx.editorLayout.multiFileCaption, "c:\\l\\m.lis");
    EXPECT_EQ(ed.ProgramFilePath + ed.ProgBox, "");
    EXPECT_TRUE(ed.SelezMulti);
}

TEST_F(MultiFilesTest, SavingWritesTheListAndAnEmptyListIsAnEmptyFile) {
    mf.panel.MultiPath[0] = "c:\\a.txt";
    mf.MenuSaveList();  // no list name yet and the dialog cancelled: nothing written
    EXPECT_EQ(fs.files.size(), 0u);
    mf.panel.MultiPath[0] = "";
    op.files.push_back(std::string("c:\\out.lis"));
    mf.MenuSaveList();
    EXPECT_EQ(fs.files.at("c:\\out.lis"), "");
    mf.panel.MultiPath[0] = "c:\\a 1.txt";
    mf.panel.MultiPath[9] = "c:\\b(10).txt";
    mf.MenuSaveList();  // cancelled: the list file chosen before is kept
    EXPECT_EQ(fs.files.at("c:\\out.lis"), "1   (c:\\a 1.txt)\r\n10   (c:\\b(10).txt)\r\n");
    EXPECT_EQ(ctx.editorLayout.multiFileCaption, "c:\\out.lis");

    // A name Windows-1252 cannot hold (a capital omega) is refused with a box naming it; no list is written.
    mf.panel.MultiPath[3] = "c:\\Zeile \xCE\xA9.txt";
    op.files.push_back(std::string("c:\\new.lis"));
    mf.MenuSaveList();
    ASSERT_FALSE(op.shown.empty());
    EXPECT_EQ(op.shown.back().prompt, std::string(nameNotWritableText("EN")) + "\r\n" + mf.panel.MultiPath[3]);
    EXPECT_EQ(fs.files.count("c:\\new.lis"), 0u);
}

TEST_F(MultiFilesTest, OpeningASlotLoadsItsFileAndChecksQuickOrFull) {
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
    EXPECT_EQ(ed.ProgramFilePath + ed.ProgBox + work(), "");
    EXPECT_EQ(checks.size(), 2u);
    // The operator keeps the edits: nothing opened.
    ctx.hooks.checkModif = [](int) { return AnswerNo; };
    ed.ProgBox = "edited";
    mf.OpenSlot(2);
    EXPECT_EQ(ed.ProgBox + "|" + ed.ProgramFilePath, "edited|");
}

TEST_F(MultiFilesTest, KeysMoveAroundTheSixteenBoxesAndCheckTheFileLeft) {
    fs.files["c:\\ok.txt"] = "";
    mf.panel.MultiPath[15] = "c:\\ok.txt";
    mf.panel.MultiPath[0] = "c:\\missing.txt";
    EXPECT_EQ(mf.MultiPathKeyDown(15, MultiFiles::Key::Enter), 0);
    EXPECT_TRUE(op.shown.empty());
    EXPECT_EQ(mf.MultiPathKeyDown(0, MultiFiles::Key::Up), 15);
    EXPECT_EQ(mf.panel.MultiPathBack[0], kSlotMissing);
    EXPECT_EQ(mf.MultiPathKeyDown(7, MultiFiles::Key::Down), 8);
    EXPECT_EQ(mf.MultiPathKeyDown(7, MultiFiles::Key::Other), 7);
    EXPECT_EQ(op.shown.size(), 1u);  // empty boxes are not reported
    fs.files["c:\\missing.txt"] = "";
    mf.MultiPathLeave(0);
    EXPECT_EQ(mf.panel.MultiPathBack[0], kSlotNormal);
    mf.panel.MultiPath[15] = "c:\\gone.txt";  // the sixteenth box is checked when left, too
    EXPECT_EQ(mf.MultiPathKeyDown(15, MultiFiles::Key::Down), 0);
    EXPECT_EQ(mf.panel.MultiPathBack[15], kSlotMissing);
}

// Browsing takes an existing file only; unticking leaves the mode through the model configuration.
TEST_F(MultiFilesTest, BrowsingASlotTakesAnExistingFileOnlyAndUntickingLeavesTheMode) {
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
    EXPECT_EQ(mf.panel.MultiPath[0] + "|" + ed.ProgramFilePath, "c:\\yes.712|c:\\yes.712");
    EXPECT_EQ(op.shown.size(), boxes);

    mf.SelezMultiReleased(true);
    EXPECT_TRUE(ctx.editorLayout.multiFilePanel);
    ed.CurrentSlot = 4;
    mf.SelezMultiReleased(false);
    EXPECT_FALSE(ed.SelezMulti);
    EXPECT_EQ(ed.CurrentSlot, 16);
    EXPECT_EQ(preConfs, 1);
}

}  // namespace
}  // namespace gyrel
