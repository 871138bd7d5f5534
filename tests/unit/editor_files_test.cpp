#include <gtest/gtest.h>

#include <filesystem>

#include "editor/editor_files.h"
#include "editor/offsets_file.h"
#include "unit/editor_test_rig.h"

namespace gyrel {
namespace {

using editortest::EditorRig;

TEST(WorkingSheet, LoadAndSaveKeepEveryByteAndLeaveNothingBeside) {
    // A program file made by an earlier tool: accented comments in Windows-1252.
    const std::string oldFile = "' camme \xE8 \x92prova\x92\r\n1 100 250\r\n2 3000 50 ' pi\xF9 \x80\r\n";
    EditorRig rig;
    const std::string original = rig.path("old.txt"), copy = rig.path("copy.txt");
    rig.fs.writeAll(original, oldFile);
    rig.fs.writeAll(copy, "1 1 2\r\n1 5 6\r\n1 9 10\r\n");  // replaced whole
    rig.op.files = {original, copy};
    rig.ed.RichiamaFoglio();
    EXPECT_EQ(rig.op.dialogs[0].filter, "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*");
    EXPECT_EQ(rig.ed.st.ProgBox + rig.work(), oldFile + oldFile);
    EXPECT_EQ(rig.ctx.settings.PercorsoTxt, original);
    rig.ed.SalvaFoglio();
    EXPECT_EQ(rig.fs.readAll(copy), oldFile);
    EXPECT_EQ(rig.ed.st.ProgramFilePath, copy);
    EXPECT_TRUE(rig.op.shown.empty());
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(rig.temp.home())) ++entries;
    EXPECT_EQ(entries, 3);  // old.txt, copy.txt, the work file
}

TEST(WorkingSheet, CancelledFailedEmptyOrMissingNamesKeepTheOldFileAndTheText) {
    EditorRig rig;
    rig.ed.st.ProgBox = "1 1 3\r\n";
    rig.ed.st.ProgramFilePath = "x.txt";
    rig.ed.RichiamaFoglio();
    rig.ed.SalvaFoglio();
    EXPECT_EQ(rig.op.dialogs.size(), 2u);
    EXPECT_EQ(rig.ed.st.ProgramFilePath + rig.work(), "x.txt<none>");

    const std::string good = rig.path("good.txt");
    rig.fs.writeAll(good, "1 1 2\r\n");
    rig.ed.st.ProgramFilePath = good;
    rig.ed.st.ModifiedFlag = true;
    const std::string nowhere = rig.path("missing-folder/prog.txt");
    rig.op.files = {nowhere, nowhere};
    rig.ed.SalvaFoglio();
    rig.ed.RichiamaFoglio();
    ASSERT_EQ(rig.op.shown.size(), 2u);
    for (const auto& s : rig.op.shown) {
        EXPECT_EQ(s.icon, MsgIcon::Exclamation);
        EXPECT_EQ(s.title, nowhere);
    }
    EXPECT_TRUE(rig.ed.st.ModifiedFlag);
    EXPECT_EQ(rig.ed.st.ProgramFilePath + "|" + rig.ed.st.ProgBox + "|" + rig.fs.readAll(good),
              good + "|1 1 3\r\n|1 1 2\r\n");
    EXPECT_EQ(rig.ed.view.Frame1Caption, good + "--(Modif.)");

    // A text without line end is saved as it stands; the box and the work file get one.
    rig.ed.st.ProgBox = "1 100 250";
    rig.op.files = {good};
    rig.ed.SalvaFoglio();
    EXPECT_EQ(rig.fs.readAll(good) + "|" + rig.work() + "|" + rig.ed.st.ProgBox,
              "1 100 250|1 100 250\r\n|1 100 250\r\n");
    EXPECT_FALSE(rig.ed.st.ModifiedFlag);

    rig.op.shown.clear();
    rig.fs.writeAll(WorkFilePath(), "1 1 3\r\n");
    rig.op.files = {std::string()};
    rig.ed.RichiamaFoglio();  // an error, and the editor reloads its work file
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].prompt, "ERROR               ");
    EXPECT_EQ(rig.ed.st.ProgBox, "1 1 3\r\n");
    const std::string fresh = rig.path("new.txt");
    rig.op.files = {fresh};
    rig.ed.RichiamaFoglio();  // a missing file is created empty
    EXPECT_EQ(rig.fs.readAll(fresh) + rig.ed.st.ProgBox + rig.work(), "");
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
        bool modifiedAfter;
    };
    const Case cases[] = {
        {0, AnswerOk, "modified !", MsgButtons::Ok, true},
        {1, AnswerYes, "WILL BE LOST!\r\n     Continue?", MsgButtons::YesNo, false},
        {1, AnswerNo, "WILL BE LOST!", MsgButtons::YesNo, true},
        {2, AnswerYes, "WILL BE SENT!\r\n     Continue?", MsgButtons::YesNo, true},
        {3, AnswerOk, "WILL BE temporary saved!", MsgButtons::Ok, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        ModifiedRig rig;
        rig.op.answers = {c.pressed};
        EXPECT_EQ(rig.ed.CheckModif(c.mode), c.pressed);
        EXPECT_EQ(rig.clock.nowMs(), 300);
        ASSERT_EQ(rig.op.shown.size(), 1u);
        EXPECT_NE(rig.op.shown[0].prompt.find(c.says), std::string::npos) << rig.op.shown[0].prompt;
        EXPECT_EQ(rig.op.shown[0].buttons, c.buttons);
        EXPECT_EQ(rig.op.shown[0].title, rig.path("p.txt"));
        EXPECT_EQ(rig.op.beeps, 1);
        EXPECT_EQ(rig.ed.st.ModifiedFlag, c.modifiedAfter);
        EXPECT_EQ(rig.work(), "1 1 3\r\n");  // the text waits in the work file whatever the answer
    }
    // Nothing to warn about: the same text, no text, a program file gone or none.
    const std::pair<const char*, const char*> quiet[] = {
        {"1 1 2\r\n", "p.txt"}, {"", "p.txt"}, {"1 1 3\r\n", "gone.txt"}, {"1 1 3\r\n", ""}};
    for (const auto& [box, file] : quiet) {
        ModifiedRig rig;
        rig.ed.st.ProgBox = box;
        rig.ed.st.ProgramFilePath = *file ? rig.path(file) : "";
        for (int mode = 0; mode < 4; ++mode) EXPECT_EQ(rig.ed.CheckModif(mode), AnswerYes) << box << file;
        EXPECT_TRUE(rig.op.shown.empty());
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
    rig.ctx.model.ModelType = "Px71";
    rig.ed.MenuLoadProgram();
    EXPECT_EQ(rig.ed.st.ProgBox, "2 10 20\r\n3 1 1\r\n");
    EXPECT_EQ(rig.ed.st.CamRowCount, 2);  // checked at once
    EXPECT_EQ(rig.ctx.model.ModelType, "Px71");

    rig.fs.writeAll(other, "PRG=2,OUT=3,CON=200\r\n");  // a V712 file: its header values are read
    rig.op.files = {other};
    rig.ctx.model.ModelType = "V712";
    rig.ed.MenuLoadProgram();
    EXPECT_EQ(rig.ed.st.HeaderParams[1][2][1], "200");
}

TEST(WorkingSheet, ClosingSavesOffsetsWarnsAndReleasesThePort) {
    ModifiedRig rig;
    rig.ctx.EditorBusy = true;
    rig.ed.st.check2[1] = true;
    rig.ed.st.Text4[1] = "12";
    rig.ed.queryUnload();
    EXPECT_FALSE(rig.ctx.EditorBusy);
    EXPECT_EQ(rig.fs.readAll(OffsetsFilePath()), offsetsFileContent(rig.ed.st));
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].prompt, "Work file has been modified ! \r\nAll modifies WILL BE temporary saved!");
    EXPECT_EQ(rig.ctx.settings.PercorsoTxt, rig.path("p.txt"));
    EXPECT_EQ(rig.released, std::vector<int>{8});
}

}  // namespace
}  // namespace gyrel
