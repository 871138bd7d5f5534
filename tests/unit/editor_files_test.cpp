#include <gtest/gtest.h>

#include <filesystem>

#include "editor/editor_files.h"
#include "editor/offsets_file.h"
#include "unit/editor_test_rig.h"

namespace gyrel {
namespace {

using editortest::EditorRig;

// A program file made by an earlier tool: accented comments in Windows-1252.
const std::string kOldFile =
    "' camme \xE8 \x92prova\x92\r\n"
    "1 100 250\r\n"
    "2 3000 50 ' pi\xF9 \x80\r\n";

TEST(WorkingSheet, LoadAndSaveKeepEveryByte) {
    EditorRig rig;
    const std::string original = rig.path("old.txt");
    rig.fs.writeAll(original, kOldFile);
    rig.op.files = {original};
    rig.ed.RichiamaFoglio();
    ASSERT_EQ(rig.op.dialogs.size(), 1u);
    EXPECT_EQ(rig.op.dialogs[0].filter, "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*");
    EXPECT_EQ(rig.ed.st.ProgBox, kOldFile);
    EXPECT_EQ(rig.work(), kOldFile);
    EXPECT_EQ(rig.ed.st.ProgramFilePath, original);
    EXPECT_EQ(rig.ctx.settings.PercorsoTxt, original);
    EXPECT_EQ(rig.ed.view.Frame1Caption, original);
    EXPECT_FALSE(rig.ed.st.ModifiedFlag);

    const std::string copy = rig.path("copy.txt");
    rig.op.files = {copy};
    rig.ed.SalvaFoglio();
    EXPECT_EQ(rig.op.dialogs[1].initialPath, original);
    EXPECT_EQ(rig.fs.readAll(copy), kOldFile);
    EXPECT_EQ(rig.ed.st.ProgramFilePath, copy);
    EXPECT_EQ(rig.work(), kOldFile);
    EXPECT_EQ(rig.ed.CheckModif(1), AnswerYes);  // nothing to warn about
    EXPECT_TRUE(rig.op.shown.empty());
}

TEST(WorkingSheet, SaveReplacesTheFileWholeAndLeavesNothingBeside) {
    EditorRig rig;
    const std::string target = rig.path("prog.txt");
    rig.fs.writeAll(target, "1 1 2\r\n1 5 6\r\n1 9 10\r\n");
    rig.ed.st.ProgBox = "3 10 20\r\n";
    rig.op.files = {target};
    rig.ed.SalvaFoglio();
    EXPECT_EQ(rig.fs.readAll(target), "3 10 20\r\n");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(rig.temp.home())) {
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(name == "prog.txt" || name == "lav.lav") << name;
        ++entries;
    }
    EXPECT_EQ(entries, 2);
}

TEST(WorkingSheet, FailedSaveSaysSoAndKeepsTheOldFileAndTheModifiedMark) {
    EditorRig rig;
    const std::string good = rig.path("good.txt");
    rig.fs.writeAll(good, "1 1 2\r\n");
    rig.ed.st.ProgramFilePath = good;
    rig.ed.st.ProgBox = "1 1 3\r\n";
    rig.ed.st.ModifiedFlag = true;
    const std::string nowhere = rig.path("missing-folder/prog.txt");
    rig.op.files = {nowhere};
    rig.ed.SalvaFoglio();
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(rig.op.shown[0].title, nowhere);
    EXPECT_TRUE(rig.ed.st.ModifiedFlag);
    EXPECT_EQ(rig.ed.st.ProgramFilePath, good);
    EXPECT_EQ(rig.fs.readAll(good), "1 1 2\r\n");
    EXPECT_EQ(rig.ed.view.Frame1Caption, good + "--(Modif.)");
}

TEST(WorkingSheet, SaveOfATextWithoutLineEnd) {
    EditorRig rig;
    const std::string target = rig.path("p.txt");
    rig.ed.st.ProgBox = "1 100 250";
    rig.ed.st.ModifiedFlag = true;
    rig.op.files = {target};
    rig.ed.SalvaFoglio();
    EXPECT_EQ(rig.fs.readAll(target), "1 100 250");
    EXPECT_EQ(rig.work(), "1 100 250\r\n");
    EXPECT_EQ(rig.ed.st.ProgBox, "1 100 250\r\n");
    EXPECT_FALSE(rig.ed.st.ModifiedFlag);
    EXPECT_EQ(rig.ed.view.Frame1Caption, target);
}

TEST(WorkingSheet, CancelledDialogsChangeNothing) {
    EditorRig rig;
    rig.ed.st.ProgBox = "1 1 2\r\n";
    rig.ed.st.ProgramFilePath = "x.txt";
    rig.ed.RichiamaFoglio();
    rig.ed.SalvaFoglio();
    EXPECT_EQ(rig.op.dialogs.size(), 2u);
    EXPECT_EQ(rig.ed.st.ProgBox, "1 1 2\r\n");
    EXPECT_EQ(rig.ed.st.ProgramFilePath, "x.txt");
    EXPECT_EQ(rig.work(), "<none>");
}

TEST(WorkingSheet, EmptyNameOnLoadIsAnErrorAndTheEditorReloadsItsWorkFile) {
    EditorRig rig;
    rig.fs.writeAll(WorkFilePath(), "1 1 2\r\n");
    rig.op.files = {std::string()};
    rig.ed.RichiamaFoglio();
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].prompt, "ERROR               ");
    EXPECT_EQ(rig.op.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(rig.ed.st.ProgBox, "1 1 2\r\n");
}

TEST(WorkingSheet, LoadingAMissingFileCreatesItEmpty) {
    EditorRig rig;
    rig.ed.st.ProgBox = "1 1 2\r\n";
    const std::string fresh = rig.path("new.txt");
    rig.op.files = {fresh};
    rig.ed.RichiamaFoglio();
    EXPECT_TRUE(rig.fs.fileExists(fresh));
    EXPECT_EQ(rig.fs.readAll(fresh), "");
    EXPECT_EQ(rig.ed.st.ProgBox, "");
    EXPECT_EQ(rig.work(), "");
}

TEST(WorkingSheet, AFileThatCannotBeLoadedIsReportedAndTheTextStays) {
    EditorRig rig;
    rig.ed.st.ProgBox = "1 1 2\r\n";
    rig.ed.st.ProgramFilePath = rig.path("p.txt");
    const std::string nowhere = rig.path("no-folder/x.txt");
    rig.op.files = {nowhere};
    rig.ed.RichiamaFoglio();
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].title, nowhere);
    EXPECT_EQ(rig.op.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(rig.ed.st.ProgBox, "1 1 2\r\n");
    EXPECT_EQ(rig.ed.st.ProgramFilePath, rig.path("p.txt"));
}

// An editor whose text differs from its program file.
struct ModifiedRig : EditorRig {
    ModifiedRig() {
        fs.writeAll(path("p.txt"), "1 1 2\r\n");
        ed.st.ProgramFilePath = path("p.txt");
        ed.st.ProgBox = "1 1 3\r\n";
    }
};

TEST(CheckModif, EachModeShowsItsNoticeAndReturnsTheButton) {
    struct Case {
        int mode;
        int pressed;
        const char* says;  // what the operator is warned of
        MsgButtons buttons;
        MsgIcon icon;
        bool modifiedAfter;
    };
    const Case cases[] = {
        {0, AnswerOk, "modified !", MsgButtons::Ok, MsgIcon::None, true},
        {1, AnswerYes, "WILL BE LOST!\r\n     Continue?", MsgButtons::YesNo, MsgIcon::Question, false},
        {1, AnswerNo, "WILL BE LOST!", MsgButtons::YesNo, MsgIcon::Question, true},
        {2, AnswerYes, "WILL BE SENT!\r\n     Continue?", MsgButtons::YesNo, MsgIcon::Question, true},
        {2, AnswerNo, "WILL BE SENT!", MsgButtons::YesNo, MsgIcon::Question, true},
        {3, AnswerOk, "WILL BE temporary saved!", MsgButtons::Ok, MsgIcon::None, true},
    };
    for (const Case& c : cases) {
        ModifiedRig rig;
        rig.op.answers = {c.pressed};
        const double before = rig.clock.nowMs();
        EXPECT_EQ(rig.ed.CheckModif(c.mode), c.pressed) << c.mode;
        EXPECT_EQ(rig.clock.nowMs() - before, 300);
        ASSERT_EQ(rig.op.shown.size(), 1u);
        EXPECT_NE(rig.op.shown[0].prompt.find(c.says), std::string::npos) << rig.op.shown[0].prompt;
        EXPECT_EQ(rig.op.shown[0].buttons, c.buttons);
        EXPECT_EQ(rig.op.shown[0].icon, c.icon);
        EXPECT_EQ(rig.op.shown[0].title, rig.path("p.txt"));
        EXPECT_EQ(rig.op.beeps, 1);
        EXPECT_EQ(rig.ed.st.ModifiedFlag, c.modifiedAfter) << c.mode << " " << c.pressed;
        EXPECT_EQ(rig.work(), "1 1 3\r\n");  // the text waits in the work file whatever the answer
        EXPECT_EQ(rig.ed.st.ProgBox, "1 1 3\r\n");
        EXPECT_EQ(rig.ed.view.Frame1Caption, rig.path("p.txt") + (c.modifiedAfter ? "--(Modif.)" : ""));
        EXPECT_EQ(rig.ed.view.Frame1Colour, c.modifiedAfter ? (Rgb{255, 255, 0}) : (Rgb{0, 0, 0}));
    }
}

TEST(CheckModif, NothingToWarnAbout) {
    {
        ModifiedRig same;
        same.ed.st.ProgBox = "1 1 2\r\n";
        same.ed.st.ModifiedFlag = true;
        for (int mode = 0; mode < 4; ++mode) EXPECT_EQ(same.ed.CheckModif(mode), AnswerYes);
        EXPECT_TRUE(same.op.shown.empty());
        EXPECT_FALSE(same.ed.st.ModifiedFlag);
    }
    {
        ModifiedRig empty;
        empty.ed.st.ProgBox.clear();
        EXPECT_EQ(empty.ed.CheckModif(1), AnswerYes);
        EXPECT_TRUE(empty.op.shown.empty());
    }
    {
        ModifiedRig missing;
        missing.ed.st.ProgramFilePath = missing.path("gone.txt");
        EXPECT_EQ(missing.ed.CheckModif(2), AnswerYes);
        EXPECT_EQ(missing.clock.nowMs(), 0);
        ModifiedRig none;
        none.ed.st.ProgramFilePath.clear();
        EXPECT_EQ(none.ed.CheckModif(2), AnswerYes);
        EXPECT_TRUE(missing.op.shown.empty());
        EXPECT_TRUE(none.op.shown.empty());
    }
}

TEST(WorkingSheet, LoadMenuStopsOnNoAndLoadsOnYes) {
    ModifiedRig rig;
    rig.op.answers = {AnswerNo};
    rig.ed.MenuLoadProgram();
    EXPECT_TRUE(rig.op.dialogs.empty());
    EXPECT_EQ(rig.ed.st.ProgBox, "1 1 3\r\n");

    const std::string other = rig.path("other.txt");
    rig.fs.writeAll(other, "2 10 20\r\n3 1 1\r\n");
    rig.op.answers = {AnswerYes};
    rig.op.files = {other};
    rig.ed.st.Check1 = false;
    rig.ed.MenuLoadProgram();
    EXPECT_EQ(rig.ed.st.ProgBox, "2 10 20\r\n3 1 1\r\n");
    EXPECT_TRUE(rig.ed.st.Check1);
    EXPECT_EQ(rig.ed.st.CamRowCount, 2);  // checked at once
    EXPECT_EQ(rig.ctx.model.ModelType, "NORM");
}

TEST(WorkingSheet, LoadMenuOnPx71KeepsTheModel) {
    EditorRig rig;
    rig.ctx.model.ModelType = "Px71";
    const std::string prog = rig.path("px.txt");
    rig.fs.writeAll(prog, "1 10 20\r\n");
    rig.op.files = {prog};
    rig.ed.MenuLoadProgram();
    EXPECT_EQ(rig.ctx.model.ModelType, "Px71");
    EXPECT_EQ(rig.ed.st.ProgBox, "1 10 20\r\n");
    EXPECT_TRUE(rig.op.shown.empty());
}

TEST(WorkingSheet, ClosingSavesOffsetsWarnsAndReleasesThePort) {
    ModifiedRig rig;
    rig.ctx.EditorBusy = true;
    rig.ed.st.graphVisible = true;
    rig.ed.st.check2[1] = true;
    rig.ed.st.Text4[1] = "12";
    rig.ed.queryUnload();
    EXPECT_FALSE(rig.ctx.EditorBusy);
    EXPECT_FALSE(rig.ed.st.graphVisible);
    EXPECT_EQ(rig.fs.readAll(OffsetsFilePath()), offsetsFileContent(rig.ed.st));
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].prompt, "Work file has been modified ! \r\nAll modifies WILL BE temporary saved!");
    EXPECT_EQ(rig.ctx.settings.PercorsoTxt, rig.path("p.txt"));
    EXPECT_EQ(rig.released, std::vector<int>{8});
    EXPECT_EQ(rig.work(), "1 1 3\r\n");
}

}  // namespace
}  // namespace gyrel
