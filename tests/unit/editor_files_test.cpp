#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>

#include "editor/graph_geometry.h"
#include "editor/offsets_file.h"
#include "editor/pulsappend.h"
#include "support/cam_table_of.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

using editortest::EditorRig;

// Loading and saving keep every byte and leave nothing beside; cancelled, failed, empty or missing
// names keep the old file and the text.
TEST(WorkingSheet, LoadAndSaveKeepEveryByteAndFailuresKeepTheOldFileAndTheText) {
    EditorRig rig;
    rig.ed.st.ProgBox = "1 1 3\r\n";
    rig.ed.st.ProgramFilePath = "x.txt";
    rig.ed.RichiamaFoglio();
    rig.ed.SalvaFoglio();
    EXPECT_EQ(rig.ed.st.ProgramFilePath + rig.work(), "x.txt<none>");

    // A program file made by an earlier tool: accented comments in Windows-1252.
    const std::string oldFile = "' camme \xE8 \x92prova\x92\r\n1 100 250\r\n2 3000 50 ' pi\xF9 \x80\r\n";
    const std::string original = rig.path("old.txt"), good = rig.path("good.txt");
    rig.fs.writeAll(original, oldFile);
    rig.fs.writeAll(good, "1 1 2\r\n1 5 6\r\n1 9 10\r\n");  // replaced whole
    rig.op.files = {original, good};
    rig.ed.RichiamaFoglio();
    EXPECT_EQ(rig.op.dialogs.back().filter, "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*");
    EXPECT_EQ(rig.ed.st.ProgBox + rig.work() + rig.ctx.settings.PercorsoTxt, oldFile + oldFile + original);
    rig.ed.SalvaFoglio();
    EXPECT_EQ(rig.fs.readAll(good) + rig.ed.st.ProgramFilePath, oldFile + good);
    EXPECT_TRUE(rig.op.shown.empty());
    const std::filesystem::directory_iterator files(rig.temp.home());
    EXPECT_EQ(std::distance(files, {}), 3);  // old, good, work

    const std::string nowhere = rig.path("missing-folder/prog.txt");
    rig.fs.writeAll(good, "1 1 2\r\n");
    rig.ed.st.ProgBox = "1 1 3\r\n";
    rig.ed.st.ModifiedFlag = true;
    rig.op.files = {nowhere, nowhere};
    rig.ed.SalvaFoglio();
    rig.ed.RichiamaFoglio();
    ASSERT_EQ(rig.op.shown.size(), 2u);
    for (const auto& s : rig.op.shown)
        EXPECT_EQ(std::make_pair(s.icon, s.title), std::make_pair(MsgIcon::Exclamation, nowhere));
    EXPECT_EQ(rig.ed.view.Frame1Caption + "|" + rig.ed.st.ProgBox + "|" + rig.fs.readAll(good) + "|" +
                  std::to_string(rig.ed.st.ModifiedFlag),
              good + "--(Modif.)|1 1 3\r\n|1 1 2\r\n|1");

    // A text without line end is saved as it stands; the box and the work file get one.
    rig.ed.st.ProgBox = "1 100 250";
    rig.op.files = {good};
    rig.ed.SalvaFoglio();
    EXPECT_EQ(rig.fs.readAll(good) + "|" + rig.work() + "|" + rig.ed.st.ProgBox,
              "1 100 250|1 100 250\r\n|1 100 250\r\n");
    EXPECT_FALSE(rig.ed.st.ModifiedFlag);

    rig.fs.writeAll(WorkFilePath(), "1 1 3\r\n");
    rig.op.files = {std::string()};
    rig.ed.RichiamaFoglio();  // an error, and the editor reloads its work file
    EXPECT_EQ(rig.op.shown.back().prompt + rig.ed.st.ProgBox, "ERROR               1 1 3\r\n");
    const std::string fresh = rig.path("new.txt");
    rig.op.files = {fresh};
    rig.ed.RichiamaFoglio();  // a missing file is created empty
    EXPECT_EQ(rig.fs.readAll(fresh) + rig.ed.st.ProgBox + rig.work() + std::to_string(rig.op.shown.size()), "3");
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
    // mode, button pressed, what the operator is warned of, buttons offered, still modified after
    const std::tuple<int, int, const char*, MsgButtons, bool> cases[] = {
        {0, AnswerOk, "modified !", MsgButtons::Ok, true},
        {1, AnswerYes, "WILL BE LOST!\r\n     Continue?", MsgButtons::YesNo, false},
        {1, AnswerNo, "WILL BE LOST!", MsgButtons::YesNo, true},
        {2, AnswerYes, "WILL BE SENT!\r\n     Continue?", MsgButtons::YesNo, true},
        {3, AnswerOk, "WILL BE temporary saved!", MsgButtons::Ok, true},
    };
    for (const auto& [mode, pressed, says, buttons, modifiedAfter] : cases) {
        SCOPED_TRACE(says);
        ModifiedRig rig;
        rig.op.answers = {pressed};
        EXPECT_EQ(rig.ed.CheckModif(mode), pressed);
        EXPECT_EQ(rig.clock.nowMs(), 300);
        ASSERT_EQ(rig.op.shown.size(), 1u);
        const listtest::Shown& s = rig.op.shown[0];
        EXPECT_NE(s.prompt.find(says), std::string::npos) << s.prompt;
        EXPECT_EQ(std::make_tuple(s.buttons, s.title, rig.op.beeps, rig.ed.st.ModifiedFlag),
                  std::make_tuple(buttons, rig.path("p.txt"), 1, modifiedAfter));
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

TEST(WorkingSheet, FirstResizeWarnsOnceLoadMenuStopsOnNoLoadsOnYesAndClosingSavesOffsetsAndReleasesThePort) {
    ModifiedRig rig;
    rig.ed.firstResize();  // the first resize warns once that the text differs from its program file
    rig.ed.firstResize();
    EXPECT_EQ(rig.op.shown.at(0).prompt, "Work file has been modified !");
    rig.op.answers = {AnswerNo};
    rig.ed.MenuLoadProgram();
    EXPECT_EQ(rig.ed.st.ProgBox + std::to_string(rig.op.dialogs.size()), "1 1 3\r\n0");  // no file asked for

    const std::string other = rig.path("other.txt");
    rig.fs.writeAll(other, "2 10 20\r\n3 1 1\r\n");
    rig.op.files = {other};
    rig.ctx.model.ModelType = "Px71";
    rig.ed.MenuLoadProgram();
    EXPECT_EQ(rig.ed.st.ProgBox + rig.ctx.model.ModelType, "2 10 20\r\n3 1 1\r\nPx71");
    EXPECT_EQ(rig.ed.st.CamRowCount, 2);  // checked at once

    rig.fs.writeAll(other, "PRG=2,OUT=3,CON=200\r\n");  // a V712 file: its header values are read
    rig.op.files = {other};
    rig.ctx.model.ModelType = "V712";
    rig.ed.MenuLoadProgram();
    EXPECT_EQ(rig.ed.st.HeaderParams[1][2][1], "200");

    // Closing saves the offsets, warns of the edited text and releases the port.
    rig.ed.st.ProgBox = "1 1 3\r\n";
    rig.ctx.EditorBusy = true;
    rig.ed.st.check2[1] = true;
    rig.ed.st.Text4[1] = "12";
    rig.ctx.hooks.editorQueryUnload();  // as the main window closes the editor
    EXPECT_EQ(rig.fs.readAll(OffsetsFilePath()), offsetsFileContent(rig.ed.st));
    ASSERT_EQ(rig.op.shown.size(), 5u);
    EXPECT_EQ(rig.op.shown[4].prompt, "Work file has been modified ! \r\nAll modifies WILL BE temporary saved!");
    EXPECT_EQ(std::make_tuple(rig.ctx.EditorBusy, rig.ctx.settings.PercorsoTxt, rig.released),
              std::make_tuple(false, other, std::vector<int>{8}));
}

// A first start creates the files, forgets a missing program and empties the box when told.
TEST(EditorLoad, FirstStartCreatesTheFilesAndForgetsAMissingProgram) {
    EditorRig rig;
    rig.ctx.settings.PercorsoTxt = rig.path("deleted.txt");
    rig.ed.load();
    EXPECT_EQ(rig.fs.readAll(OffsetsFilePath()), defaultOffsetsContent());
    EXPECT_EQ(rig.work() + rig.ed.st.ProgramFilePath, "");
    EXPECT_FALSE(rig.ed.st.Check1);  // the default offsets file hands the panel to the boxes
    rig.ed.st.ProgBox = "1 1 2\r\n";
    rig.ctx.hooks.emptyEditor();  // from the model configuration
    EXPECT_EQ(rig.ed.st.ProgBox + rig.work() + std::to_string(rig.op.shown.size()), "0");
}

// The trace strokes whose y lies within one trace's band, or those of every trace.
std::vector<GraphLine> traceOf(const GraphDrawing& d, double low = -1e9, double high = 1e9) {
    std::vector<GraphLine> out;
    for (const auto& l : d.lines)
        if (l.colour == kGraphTraceColour && std::min(l.y1, l.y2) >= low && std::max(l.y1, l.y2) <= high)
            out.push_back(l);
    return out;
}

// An editor laid out and armed, as after it has been opened.
struct OpenEditor : EditorRig {
    OpenEditor() {
        ed.load();
        ed.firstResize();
        ed.leggiLav(16);  // the check the opening runs
    }
};

TEST(OpenEditor, OutOfRangeOffsetKeepsTheFocusTheGraphMenuDrawsAndTheV712SelectorStoresTheGrid) {
    OpenEditor e;
    e.ed.st.Check1 = e.ed.st.check2[2] = true;
    e.ed.st.Text4[2] = "1801";
    e.ed.st.Text4[0] = "15";
    e.ed.offsetKey(0, 2, KeyEnter);
    EXPECT_EQ(e.op.shown.at(0).prompt, "Too high Offset  1801\r\nmax. 1800, min -1800");
    EXPECT_EQ(std::make_tuple(e.ed.view.focusIndex, e.ed.st.Check1, e.ed.st.check2[2], e.ed.st.ActiveOffsets[0]),
              std::make_tuple(2, false, false, 15));
    e.ed.st.Text4[2] = "-1800";
    e.ed.offsetKey(0, 2, KeyDown);
    EXPECT_EQ(e.ed.view.focusIndex, 3);
    e.ed.st.Text5[15] = "1800";
    e.ed.offsetKey(1, 15, KeyEnter);
    EXPECT_EQ(std::make_pair(e.ed.view.focusIndex, e.op.shown.size()), std::make_pair(0, std::size_t{1}));
    e.ed.st.Text5[4] = "-2000";
    EXPECT_FALSE(e.ed.offsetLostFocus(1, 4));
    EXPECT_EQ(e.ed.view.focusIndex, 4);

    // The graph menu shows the graph drawn from the cam table, and hides it again.
    e.ed.progBoxChange("1 100 250\r\n");
    e.ed.MenEnableGraphic();
    EXPECT_TRUE(e.ed.st.graphVisible);
    const auto steps = [&] {
        const auto t = traceOf(e.ed.graph.drawing);
        return std::count_if(t.begin(), t.end(), [](const GraphLine& l) { return l.x1 == l.x2 && l.y1 != l.y2; });
    };
    EXPECT_EQ(steps(), 2);
    e.ed.MenEnableGraphic();
    EXPECT_FALSE(e.ed.st.graphVisible);
    e.ctx.model.ModelType = "KMT71";  // multi-turn models have no graph
    e.ed.MenEnableGraphic();
    EXPECT_FALSE(e.ed.st.graphVisible);

    // Moving the V712 selector stores the grid, shows the next program's and redraws twice.
    e.ctx.model.ModelType = "V712";
    e.ed.st.graphVisible = true;
    e.ed.st.HeaderParams[1][0] = {"5", "10", "20"};
    e.ed.view.TxtOFS[0] = "100";
    e.ed.view.TxtCON[0] = "200";
    e.ed.Puls1(3);
    const int before = e.ed.graph.redraws;
    const double t0 = e.clock.nowMs();
    e.ed.VScroll1Change(2);
    EXPECT_EQ(std::make_pair(e.ed.graph.redraws - before, e.clock.nowMs() - t0), std::make_pair(2, 100.0));
    EXPECT_EQ(e.ed.st.HeaderParams[0][0], (std::array<std::string, 3>{"100", "200", ""}));
    EXPECT_EQ(e.ed.st.HeaderParams[0][3][1] + "|" + e.ed.view.TxtOFS[0] + "|" + e.ed.view.TxtCON[3], "3600|5|");
    EXPECT_EQ(e.ed.ProgramIndex, 1);
}

// The V712 row boxes become the block of the program in Text1 (none without a number), replacing only
// that program's lines, with a warning for each offset beyond ON + OFF; and read back.
TEST(EditorAppend, RowBoxesBecomeTheBlockOfTheProgramInText1AndReadBack) {
    EditorRig rig;
    rig.ctx.model.ModelType = "V712";
    rig.ed.load();
    const std::string before =
        "'Program #  1 \r\nPRG=1,OUT=1,CON=5\r\n'Program #  10 \r\nPRG=10,OUT=2,CON=7\r\nPRG=1,OUT=3,COF=9\r\n";
    rig.ed.st.ProgBox = before;
    EditorView& v = rig.ed.view;
    v.TxtOFS[0] = "30", v.TxtCON[0] = "10", v.TxtCOF[0] = "5";
    v.TxtOFS[1] = "30", v.TxtCON[1] = "100", v.TxtCOF[1] = "250.50";
    v.TxtOFS[2] = "300", v.TxtCON[2] = "10";  // no OFF: no warning
    v.TxtOFS[15] = "-3x";
    v.Text1 = "";
    rig.ed.PulsAppend(0);
    EXPECT_EQ(rig.ed.st.ProgBox + std::to_string(rig.op.shown.size()), before + "0");
    v.Text1 = "1";
    rig.ed.PulsAppend(0);
    const std::string expected =
        "'Program #  10 \r\nPRG=10,OUT=2,CON=7\r\n\r\n'Program #  1 \r\nPRG=1,OUT=1,OFS=30,CON=10,COF=5\r\n"
        "PRG=1,OUT=2,OFS=30,CON=100,COF=250.5\r\nPRG=1,OUT=3,OFS=300,CON=10\r\nPRG=1,OUT=16,OFS=-3\r\n";
    EXPECT_EQ(rig.ed.st.ProgBox + rig.work(), expected + expected);  // the box is reloaded from the work file
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].prompt, "30 > 10 + 5");  // the row of output 1 only
    v.Text1 = "10";
    rig.ed.PulsAppend(1);
    EXPECT_EQ(v.TxtCON[1] + "|" + v.TxtOFS[1], "7|");
    EXPECT_EQ(std::make_tuple(valOf("12.5abc"), valOf(" \t-709"), valOf("abc"), generalNumber(0.25)),
              std::make_tuple(12.5, -709.0, 0.0, std::string("0.25")));
}

// The runs of positions below limit where one output of a profile is ON, as " from-to".
std::string runs(const std::vector<std::uint32_t>& p, int output, int limit) {
    const auto on = [&](int k) { return k >= 0 && k < limit && (p[k] >> (output - 1) & 1u); };
    std::string out;
    for (int k = 0; k < limit; ++k) {
        if (on(k) && !on(k - 1)) out += " " + std::to_string(k);
        if (on(k) && !on(k + 1)) out += "-" + std::to_string(k);
    }
    return out;
}

TEST(GraphProfile, TheCamTableIsReadCyclicallyOneCamDrawsAStepUpAStepDownAndARunAndV712CamsRepeat) {
    const auto wrap = profileFromCamTable(test::camTableOf({50, 3000}, {0, 1}), 3599);
    ASSERT_EQ(wrap.size(), 3600u);
    EXPECT_EQ(runs(wrap, 1, 3600), " 0-49 3000-3599");
    EXPECT_EQ(profileFromCamTable(CamTable{}, 3599), std::vector<std::uint32_t>(3600, 0));

    // One cam: a step up, a step down and a run to the end.
    GraphDrawing d;
    int scale = 2, pitch = 45;
    BarreGraf(d, profileFromCamTable(test::camTableOf({100, 250}, {1, 0}), 3599), scale, pitch, "c:\\p.txt", 12000);
    // Output 1: baseline (160*0+133)*2 = 266, high 266-188 = 78.
    // ON at 100: x = 300 + 2*100; OFF at 250; on to the last position 3599.
    const Rgb c = kGraphTraceColour;
    const std::vector<GraphLine> expected = {{300, 266, 300, 266, c, true},     {300, 266, 500, 266, c, false},
                                             {500, 266, 500, 78, c, false},     {500, 78, 800, 78, c, false},
                                             {800, 78, 800, 266, c, false},     {800, 266, 7498, 266, c, false},
                                             {7498, 266, 7498, 266, c, false}};
    EXPECT_EQ(traceOf(d, 70, 270), expected);
    EXPECT_EQ(traceOf(d).size(), expected.size() + 15 * 3);  // sixteen traces, no more

    // V712 outputs 1..10: OFS CON COF; 7 has its phase beyond the period, 9 a period of no length.
    EditorState st;
    st.HeaderParams[2] = {{{"0", "10", "20"}, {"5", "10", "20"}, {"25", "10", "20"}, {"100", "200", ""}, {"0", "0", "3600"},
                           {"0", "3600", "0"}, {"31", "10", "20"}, {"0", "0", ""}, {"0", "-5", "5"}, {"-3", "10", "20"}}};
    const auto v = profile712(st, 2, 3599);
    EXPECT_EQ(runs(v, 1, 70) + runs(v, 2, 70) + runs(v, 3, 70), " 0-9 30-39 60-69 5-14 35-44 65-69 0-4 25-34 55-64");
    EXPECT_EQ(runs(v, 4, 3600) + runs(v, 6, 3600), " 100-299 0-3599");  // one cam; a cam longer than the turn
    for (int output : {5, 7, 8, 9, 10, 16}) EXPECT_EQ(runs(v, output, 3600), "") << output;
    // A program outside 1..16 draws nothing.
    EXPECT_EQ(profile712(st, 16, 3599), std::vector<std::uint32_t>(3600, 0));
}

}  // namespace
}  // namespace gyrel
