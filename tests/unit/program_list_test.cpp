#include <gtest/gtest.h>

#include <cstdlib>

#include "app/context.h"
#include "editor/editor_state.h"
#include "editor/multi_files.h"
#include "editor/program_list.h"
#include "platform/memory_settings_store.h"
#include "platform/virtual_clock.h"
#include "platform/working_folder.h"
#include "unit/program_list_fakes.h"

namespace gyrel {
namespace {

using listtest::MemoryFs;
using listtest::NoPort;
using listtest::ScriptedOperator;

TEST(ListFile, WritesOnlyFilledSlotsWithThreeBlanksAndCrLf) {
    SlotPaths s;
    s[1] = "c:\\progs\\b.txt";
    s[4] = "c:\\progs\\press.712";
    EXPECT_EQ(formatList(s), "2   (c:\\progs\\b.txt)\r\n5   (c:\\progs\\press.712)\r\n");
    EXPECT_EQ(formatList(SlotPaths{}), "");
    s[15] = "z";
    EXPECT_EQ(formatList(s).substr(formatList(s).size() - 10), "16   (z)\r\n");
}

TEST(ListFile, ReadsSlotsWithDigitsInPathsCommentsAndStrayText) {
    // As earlier tools left them: comments, text after the number, a Windows-1252
    // letter in a path, no line end after the last line.
    const std::string file =
        "' machine 7, line 12\r\n"
        "3   (c:\\prog12\\p3.712)\r\n"
        "4 slot four (d:\\caf\xe8\\4.txt) ' note (x)\r\n"
        "\r\n"
        "16   (e:\\last 16.txt)";
    const ListReadResult r = parseList(file);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.paths[2], "c:\\prog12\\p3.712");
    EXPECT_EQ(r.paths[3], "d:\\caf\xe8\\4.txt");
    EXPECT_EQ(r.paths[15], "e:\\last 16.txt");
    for (int k : {0, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}) EXPECT_EQ(r.paths[k], "") << k;
}

TEST(ListFile, SlotNumbersOutsideOneToSixteenAreAProgramError) {
    for (const char* bad : {"17   (a)\r\n", "2   (a)\r\n0   (b)\r\n", "1234567890123456789012345   (a)\r\n"})
        EXPECT_FALSE(parseList(bad).ok) << bad;
    EXPECT_TRUE(parseList("16   (a)\r\n").ok);
    // A path before any number names no slot.
    const ListReadResult r = parseList("(a)\r\n   (b)\r\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(formatList(r.paths), "");
}

TEST(ListFile, RoundTripKeepsEverySlot) {
    SlotPaths s;
    for (int k = 0; k < 16; k += 3) s[k] = "c:\\p\\" + std::to_string(k * 7) + "\\x" + std::to_string(k) + ".TXT";
    const std::string text = formatList(s);
    const ListReadResult r = parseList(text);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.paths, s);
    EXPECT_EQ(formatList(r.paths), text);
}

class MultiFilesTest : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("GYREL_HOME"); }
    void SetUp() override {
        setenv("GYREL_HOME", "H:\\gyrel", 1);  // held in memory only
        ctx.applyLanguage("EN");
        mf.hooks.leggiLav = [this](int code) {
            checks.push_back(code);
            return true;
        };
        mf.hooks.preConf = [this] { ++preConfs; };
        mf.hooks.setProgramNumber = [this](const std::string& t) { text1 = t; };
    }
    std::string work() const { return fs.files.at(inWorkingFolder("lav.lav")); }

    MemoryFs fs;
    ScriptedOperator op;
    NoPort port;
    VirtualClock clock;
    MemorySettingsStore settings;
    Context ctx{Services{port, clock, settings, fs, op}};
    EditorState ed;
    MultiFiles mf{ctx, ed};
    std::vector<int> checks;
    int preConfs = 0;
    std::string text1 = "5";
};

TEST_F(MultiFilesTest, LoadingAListOfSlotsTwoAndFiveEmptiesTheOthers) {
    fs.files["c:\\l\\m.lis"] = "2   (c:\\p\\two.txt)\r\n5   (c:\\p\\five.txt)\r\n";
    fs.files["c:\\p\\two.txt"] = "1\t10\t20\r\n";
    fs.files["c:\\p\\five.txt"] = "";
    mf.panel.MultiPath[0] = "old";
    mf.panel.MultiPath[15] = "old16";
    ed.ProgramFilePath = "c:\\p\\x.txt";
    ed.ProgBox = "text";
    op.files.push_back(std::string("c:\\l\\m.lis"));
    mf.MenuLoadList();

    ASSERT_EQ(op.dialogs.size(), 1u);
    EXPECT_EQ(op.dialogs[0].filter, "List Files(*.lis)|*.lis|All Files (*.*)|*.*");
    EXPECT_TRUE(op.shown.empty());
    SlotPaths want;
    want[1] = "c:\\p\\two.txt";
    want[4] = "c:\\p\\five.txt";
    EXPECT_EQ(mf.panel.MultiPath, want);
    for (auto c : mf.panel.MultiPathBack) EXPECT_EQ(c, 0xF2F8F2u);
    EXPECT_EQ(mf.panel.ListFilePath, "c:\\l\\m.lis");
    EXPECT_EQ(ctx.editorLayout.multiFileCaption, "c:\\l\\m.lis");
    EXPECT_EQ(ed.ProgramFilePath, "");
    EXPECT_EQ(ed.ProgBox, "");
    EXPECT_TRUE(ed.SelezMulti);
    EXPECT_FALSE(ctx.editorLayout.offsetsPanel);
    EXPECT_FALSE(ctx.editorLayout.selectorEnabled);
    EXPECT_EQ(text1, "");
}

TEST_F(MultiFilesTest, ProgramErrorLeavesTheBoxesAsTheyWere) {
    for (const char* bad : {"2   (a)\r\n17   (b)\r\n", "0   (a)\r\n"}) {
        fs.files["c:\\bad.lis"] = bad;
        mf.panel.MultiPath[2] = "keep";
        op.files.push_back(std::string("c:\\bad.lis"));
        op.shown.clear();
        mf.MenuLoadList();
        ASSERT_EQ(op.shown.size(), 1u);
        EXPECT_EQ(op.shown[0].prompt, "Program error");
        EXPECT_EQ(mf.panel.MultiPath[2], "keep");
        EXPECT_EQ(mf.panel.MultiPath[1], "");
    }
}

TEST_F(MultiFilesTest, MissingSlotFilesAreColouredAndReportedOnce) {
    fs.files["c:\\m.lis"] = "1   (c:\\gone1.txt)\r\n2   (c:\\here.txt)\r\n3   (c:\\gone3.txt)\r\n";
    fs.files["c:\\here.txt"] = "x";
    op.files.push_back(std::string("c:\\m.lis"));
    mf.MenuLoadList();
    EXPECT_EQ(mf.panel.MultiPathBack[0], 0x8080FFu);
    EXPECT_EQ(mf.panel.MultiPathBack[1], 15923442u);
    EXPECT_EQ(mf.panel.MultiPathBack[2], 0x8080FFu);
    EXPECT_EQ(mf.panel.MultiPath[0], "c:\\gone1.txt");
    ASSERT_EQ(op.shown.size(), 1u);
    EXPECT_EQ(op.shown[0].prompt, "File not present");
    EXPECT_EQ(op.shown[0].icon, MsgIcon::Exclamation);
}

TEST_F(MultiFilesTest, AMissingListFileOrACancelChangesNothing) {
    mf.panel.MultiPath[3] = "keep";
    op.files.push_back(std::string("c:\\none.lis"));
    mf.MenuLoadList();
    ASSERT_EQ(op.shown.size(), 1u);
    EXPECT_EQ(op.shown[0].prompt, "File not present");
    EXPECT_EQ(mf.panel.ListFilePath, "");
    mf.MenuLoadList();  // cancelled
    EXPECT_EQ(op.shown.size(), 1u);
    EXPECT_EQ(mf.panel.MultiPath[3], "keep");
}

TEST_F(MultiFilesTest, DecliningTheUnsavedChangesQuestionLoadsNothing) {
    ctx.hooks.checkModif = [](int mode) { return mode == 1 ? AnswerNo : AnswerYes; };
    ed.ProgBox = "mine";
    mf.MenuLoadList();
    EXPECT_TRUE(op.dialogs.empty());
    EXPECT_EQ(ed.ProgBox, "mine");
}

TEST_F(MultiFilesTest, SavingWritesTheListAndAnEmptyListIsAnEmptyFile) {
    mf.panel.MultiPath[0] = "c:\\a.txt";
    mf.MenuSaveList();  // no list name yet and the dialog cancelled: nothing written
    EXPECT_EQ(fs.files.size(), 0u);
    EXPECT_EQ(ctx.editorLayout.multiFileCaption, "Multiple Files ");
    mf.panel.MultiPath[0] = "";
    op.files.push_back(std::string("c:\\out.lis"));
    mf.MenuSaveList();
    EXPECT_EQ(fs.files.at("c:\\out.lis"), "");
    mf.panel.MultiPath[0] = "c:\\a 1.txt";
    mf.panel.MultiPath[9] = "c:\\b(10).txt";
    mf.MenuSaveList();  // cancelled: the list file chosen before is kept
    EXPECT_EQ(fs.files.at("c:\\out.lis"), "1   (c:\\a 1.txt)\r\n10   (c:\\b(10).txt)\r\n");
    EXPECT_EQ(ctx.editorLayout.multiFileCaption, "c:\\out.lis");
    EXPECT_EQ(op.dialogs[2].initialPath, "c:\\out.lis");
}

TEST_F(MultiFilesTest, OpeningASlotLoadsItsFileAndChecksQuickOrFull) {
    fs.files["c:\\s3.txt"] = "3\t1\t2\r\n";
    mf.panel.MultiPath[2] = "c:\\s3.txt";
    mf.OpenSlot(2);
    EXPECT_EQ(ed.CurrentSlot, 2);
    EXPECT_EQ(ed.ProgramFilePath, "c:\\s3.txt");
    EXPECT_EQ(work(), "3\t1\t2\r\n");
    EXPECT_EQ(ed.ProgBox, "3\t1\t2\r\n");
    EXPECT_EQ(checks, std::vector<int>{2});

    fs.files["c:\\s4.txt"] = "4\t1\t2\r\n";
    mf.panel.MultiPath[3] = "c:\\s4.txt";
    ed.graphVisible = true;
    ed.ModifiedFlag = true;
    mf.OpenSlot(3);
    EXPECT_EQ(checks, (std::vector<int>{2, 99}));
    EXPECT_FALSE(ed.ModifiedFlag);

    mf.OpenSlot(3);  // already open: nothing reloaded
    EXPECT_EQ(checks.size(), 2u);
}

TEST_F(MultiFilesTest, OpeningASlotWhoseFileWasDeletedEmptiesTheEditor) {
    fs.files["c:\\s1.txt"] = "1\t1\t2\r\n";
    mf.panel.MultiPath[0] = "c:\\s1.txt";
    mf.panel.MultiPath[1] = "c:\\deleted.txt";
    mf.OpenSlot(0);
    mf.OpenSlot(1);
    EXPECT_EQ(ed.ProgBox, "");
    EXPECT_EQ(ed.ProgramFilePath, "");
    EXPECT_EQ(work(), "");
    EXPECT_EQ(checks, std::vector<int>{0});
}

TEST_F(MultiFilesTest, OpeningASlotStopsWhenTheOperatorKeepsTheEdits) {
    ctx.hooks.checkModif = [](int) { return AnswerNo; };
    fs.files["c:\\s1.txt"] = "1";
    mf.panel.MultiPath[0] = "c:\\s1.txt";
    ed.ProgBox = "edited";
    mf.OpenSlot(0);
    EXPECT_EQ(ed.CurrentSlot, 0);
    EXPECT_EQ(ed.ProgBox, "edited");
    EXPECT_EQ(ed.ProgramFilePath, "");
}

TEST_F(MultiFilesTest, KeysMoveAroundTheSixteenBoxesAndCheckTheFileLeft) {
    fs.files["c:\\ok.txt"] = "";
    mf.panel.MultiPath[15] = "c:\\ok.txt";
    mf.panel.MultiPath[0] = "c:\\missing.txt";
    EXPECT_EQ(mf.MultiPathKeyDown(15, MultiFiles::Key::Enter), 0);
    EXPECT_EQ(mf.panel.MultiPathBack[15], kSlotNormal);
    EXPECT_TRUE(op.shown.empty());
    EXPECT_EQ(mf.MultiPathKeyDown(0, MultiFiles::Key::Up), 15);
    EXPECT_EQ(mf.panel.MultiPathBack[0], kSlotMissing);
    ASSERT_EQ(op.shown.size(), 1u);
    EXPECT_EQ(op.shown[0].prompt, "File not present");
    EXPECT_EQ(mf.MultiPathKeyDown(7, MultiFiles::Key::Down), 8);
    EXPECT_EQ(mf.MultiPathKeyDown(7, MultiFiles::Key::Other), 7);
    EXPECT_EQ(ed.CurrentSlot, 7);
    EXPECT_EQ(op.shown.size(), 1u);  // empty boxes are not reported
    fs.files["c:\\missing.txt"] = "";
    mf.MultiPathLeave(0);
    EXPECT_EQ(mf.panel.MultiPathBack[0], kSlotNormal);
}

TEST_F(MultiFilesTest, BrowsingASlotTakesAnExistingFileOnly) {
    ctx.model.FileExtension = "712";
    op.files.push_back(std::string("c:\\nope.712"));
    mf.MultiButt(4);
    EXPECT_EQ(op.dialogs[0].filter, "Text Files (*.712)|*.712|All Files (*.*)|*.*");
    EXPECT_EQ(mf.panel.MultiPathBack[4], kSlotMissing);
    EXPECT_EQ(mf.panel.MultiPath[4], "");
    fs.files["c:\\yes.712"] = "PRG=1\r\n";
    op.files.push_back(std::string("c:\\yes.712"));
    std::string toMain;
    mf.hooks.programPathToMain = [&](const std::string& p) { toMain = p; };
    mf.MultiButt(4);
    EXPECT_EQ(mf.panel.MultiPathBack[4], kSlotNormal);
    EXPECT_EQ(mf.panel.MultiPath[4], "c:\\yes.712");
    EXPECT_EQ(ed.ProgramFilePath, "c:\\yes.712");
    EXPECT_EQ(toMain, "c:\\yes.712");
    EXPECT_EQ(ed.ProgBox, "PRG=1\r\n");
}

TEST_F(MultiFilesTest, UntickingLeavesTheModeThroughTheModelConfiguration) {
    mf.SelezMultiReleased(true);
    EXPECT_TRUE(ctx.editorLayout.multiFilePanel);
    EXPECT_EQ(ctx.editorLayout.multiFileCaption, "Multiple Files ");
    ed.CurrentSlot = 4;
    mf.SelezMultiReleased(false);
    EXPECT_FALSE(ed.SelezMulti);
    EXPECT_EQ(ed.CurrentSlot, 16);
    EXPECT_EQ(preConfs, 1);
}

}  // namespace
}  // namespace gyrel
