#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "editor/offsets_file.h"
#include "editor/pulsappend.h"
#include "unit/editor_test_rig.h"

namespace gyrel {
namespace {

using editortest::EditorRig;

// A first start creates the files and forgets a missing program; later the work file comes back
// and the first resize warns once that it differs from the program file.
TEST(EditorLoad, FirstStartCreatesTheFilesThenTheWorkFileComesBack) {
    EditorRig rig;
    // The window draws the editor's state again only when told: every step from outside tells it.
    int redraws = 0;
    rig.ed.refresh = [&] { ++redraws; };
    const auto told = [&] { return std::exchange(redraws, 0) > 0; };
    rig.ctx.settings.PercorsoTxt = rig.path("deleted.txt");
    rig.ed.load();
    EXPECT_TRUE(told());
    EXPECT_EQ(rig.fs.readAll(OffsetsFilePath()), defaultOffsetsContent());
    EXPECT_EQ(rig.work() + rig.ed.st.ProgramFilePath, "");
    EXPECT_FALSE(rig.ed.st.Check1);  // the default offsets file hands the panel to the boxes
    rig.ed.firstResize();
    EXPECT_TRUE(told());
    rig.ed.leggiLav(16);
    EXPECT_TRUE(told());
    EXPECT_TRUE(rig.op.shown.empty());
    // The model configuration and the main window reach the editor.
    rig.ed.st.ProgBox = "1 1 2\r\n";
    rig.ctx.hooks.emptyEditor();
    EXPECT_TRUE(told());
    EXPECT_EQ(rig.ed.st.ProgBox + rig.work(), "");
    rig.ctx.hooks.editorQueryUnload();
    EXPECT_EQ(rig.released, std::vector<int>{8});

    EditorRig again;
    again.fs.writeAll(again.path("p.txt"), "1 10 20\r\n");
    again.fs.writeAll(WorkFilePath(), "1 10 30\r\n");
    again.fs.writeAll(OffsetsFilePath(), "1\r\n");
    again.ctx.settings.PercorsoTxt = again.path("p.txt");
    again.ed.load();
    EXPECT_EQ(again.ed.st.ProgBox, "1 10 30\r\n");
    EXPECT_TRUE(again.ed.st.Check1);
    again.ed.firstResize();
    again.ed.firstResize();
    ASSERT_EQ(again.op.shown.size(), 1u);
    EXPECT_EQ(again.op.shown[0].prompt, "Work file has been modified !");
    EXPECT_EQ(again.ed.view.Frame1Caption, again.path("p.txt") + "--(Modif.)");
}

// An editor laid out and armed, as after it has been opened.
struct OpenEditor : EditorRig {
    OpenEditor() {
        ed.load();
        ed.firstResize();
        ed.leggiLav(16);  // the check the opening runs
    }
    void type(const std::string& text) {
        ed.progBoxKeyDown('1', static_cast<int>(text.size()));
        ed.progBoxChange(text);
    }
};

TEST(ProgBoxKeys, EnterShowsTheErrorSelectsTheTokenAndThenOnlyReArms) {
    OpenEditor e;
    e.type("1 100 250\r\n1 100 4000\r\n");
    EXPECT_EQ(e.work(), "1 100 250\r\n1 100 4000\r\n");
    EXPECT_EQ(e.ed.view.Frame1Caption, "--(Modif.)");
    e.ed.progBoxKeyUp(KeyEnter);  // the check's refusal is shown
    EXPECT_EQ(e.op.shown.size(), 1u);

    e.ed.progBoxChange("1 100 250\r\n1 300 400\r\n");  // the correction is not mirrored yet
    EXPECT_EQ(e.work(), "1 100 250\r\n1 100 4000\r\n");
    e.ed.progBoxKeyUp(KeyEnter);  // re-arms only
    e.ed.progBoxKeyUp(KeyEnter);  // checks
    EXPECT_EQ(e.op.shown.size(), 1u);
    EXPECT_EQ(e.ed.st.CamRowCount, 2);
    EXPECT_EQ(e.work(), "1 100 250\r\n1 300 400\r\n");
}

TEST(OffsetsPanel, OutOfRangeOffsetKeepsTheFocus) {
    OpenEditor e;
    e.ed.st.Check1 = true;
    e.ed.st.check2[2] = true;
    e.ed.st.Text4[2] = "1801";
    e.ed.st.Text4[0] = "15";
    e.ed.offsetKey(0, 2, KeyEnter);
    ASSERT_EQ(e.op.shown.size(), 1u);
    EXPECT_EQ(e.op.shown[0].prompt, "Too high Offset  1801\r\nmax. 1800, min -1800");
    EXPECT_EQ(std::make_tuple(e.ed.view.focusIndex, e.ed.st.Check1, e.ed.st.check2[2], e.ed.st.ActiveOffsets[0]),
              std::make_tuple(2, false, false, 15));

    e.ed.st.Text4[2] = "-1800";
    e.ed.offsetKey(0, 2, KeyDown);
    EXPECT_EQ(e.ed.view.focusIndex, 3);
    e.ed.st.Text5[15] = "1800";
    e.ed.offsetKey(1, 15, KeyEnter);
    EXPECT_EQ(e.ed.view.focusIndex, 0);
    EXPECT_EQ(e.op.shown.size(), 1u);

    e.ed.st.Text5[4] = "-2000";
    EXPECT_FALSE(e.ed.offsetLostFocus(1, 4));
    EXPECT_EQ(e.ed.view.focusIndex, 4);
}

TEST(Grid712, MovingTheSelectorStoresTheGridShowsTheNextAndRedrawsTwice) {
    OpenEditor e;
    e.ctx.model.ModelType = "V712";
    e.ed.st.graphVisible = true;
    e.ed.st.HeaderParams[1][0] = {"5", "10", "20"};
    e.ed.view.TxtOFS[0] = "100";
    e.ed.view.TxtCON[0] = "200";
    e.ed.Puls1(3);
    const int before = e.ed.graph.redraws;
    const double t0 = e.clock.nowMs();
    e.ed.VScroll1Change(2);
    EXPECT_EQ(e.ed.graph.redraws - before, 2);
    EXPECT_EQ(e.clock.nowMs() - t0, 100);
    EXPECT_EQ(e.ed.st.HeaderParams[0][0], (std::array<std::string, 3>{"100", "200", ""}));
    EXPECT_EQ(e.ed.st.HeaderParams[0][3][1] + "|" + e.ed.view.TxtOFS[0] + "|" + e.ed.view.TxtCON[3], "3600|5|");
    EXPECT_EQ(e.ed.ProgramIndex, 1);
    e.ed.Text1Change("12");
    EXPECT_EQ(e.ed.ProgramIndex, 11);
}

TEST(GraphWindow, MenuShowsTheGraphAndThePitchEntryRedrawsFromTheCamTable) {
    OpenEditor e;
    e.ed.progBoxChange("1 100 250\r\n");
    e.ed.MenEnableGraphic();
    EXPECT_TRUE(e.ed.st.graphVisible);
    const auto steps = [&] {
        int n = 0;
        for (const auto& l : e.ed.graph.drawing.lines)
            if (l.colour == kGraphTraceColour && l.x1 == l.x2 && l.y1 != l.y2) ++n;
        return n;
    };
    EXPECT_EQ(steps(), 2);

    e.ed.graphClick();
    e.ed.graph.pitchText = "360";
    e.ed.graph.scaleText = "0";
    e.ed.graphKeyPress(0, 'x');
    EXPECT_TRUE(e.ed.graph.Frame1Visible);
    e.ed.graphKeyPress(0, KeyEnter);
    EXPECT_FALSE(e.ed.graph.Frame1Visible);
    EXPECT_EQ(std::make_tuple(e.ctx.settings.GraphPitch, e.ctx.settings.GraphScale, e.ed.graph.drawing.width),
              std::make_tuple(359, 1, 4050.0));
    EXPECT_EQ(steps(), 2);  // the same program drawn again
    e.ed.graphClick();
    e.ed.graph.scaleText = "9";
    e.ed.graphKeyPress(0, KeyEnter);
    EXPECT_EQ(std::make_tuple(e.ctx.settings.GraphScale, e.ed.graph.pitchSelected), std::make_tuple(4, false));

    e.ed.MenEnableGraphic();
    EXPECT_FALSE(e.ed.st.graphVisible);
    e.ctx.model.ModelType = "KMT71";  // multi-turn models have no graph
    e.ed.MenEnableGraphic();
    EXPECT_FALSE(e.ed.st.graphVisible);
}

TEST(PulsAppend, ReplacesOnlyTheBlockOfThatProgramNumberAndWarnsOfOffsetsBeyondOnPlusOff) {
    RowBoxes rows;
    rows.ofs[0] = "30", rows.con[0] = "10", rows.cof[0] = "5";
    rows.ofs[1] = "30", rows.con[1] = "100", rows.cof[1] = "250.50";
    rows.ofs[2] = "300", rows.con[2] = "10";  // no OFF: no warning
    rows.ofs[15] = "-3x";
    std::vector<std::string> warnings;
    EXPECT_EQ(appendProgramBlock("'Program #  1 \r\nPRG=1,OUT=1,CON=5\r\n'Program #  10 \r\nPRG=10,OUT=2,CON=7\r\n"
                                 "PRG=1,OUT=3,COF=9\r\n",
                                 "1", "Program # ", rows, &warnings),
              "'Program #  10 \r\nPRG=10,OUT=2,CON=7\r\n\r\n'Program #  1 \r\nPRG=1,OUT=1,OFS=30,CON=10,COF=5\r\n"
              "PRG=1,OUT=2,OFS=30,CON=100,COF=250.5\r\nPRG=1,OUT=3,OFS=300,CON=10\r\nPRG=1,OUT=16,OFS=-3\r\n");
    EXPECT_EQ(warnings, std::vector<std::string>{"30 > 10 + 5"});
    EXPECT_EQ(std::make_tuple(valOf("12.5abc"), valOf(" \t-709"), valOf("abc"), generalNumber(0.25)),
              std::make_tuple(12.5, -709.0, 0.0, std::string("0.25")));
}

// The row boxes become the block of the program in Text1 (none without a number), and read back.
TEST(EditorAppend, RowBoxesBecomeTheBlockOfTheProgramInText1AndReadBack) {
    EditorRig rig;
    rig.ctx.model.ModelType = "V712";
    rig.ed.load();
    const std::string before = "'Program #  10 \r\nPRG=10,OUT=2,CON=7\r\nPRG=1,OUT=3,COF=9\r\n";
    rig.ed.st.ProgBox = before;
    rig.ed.view.TxtOFS[0] = "30", rig.ed.view.TxtCON[0] = "10", rig.ed.view.TxtCOF[0] = "5";
    rig.ed.view.TxtCON[2] = "7";
    rig.ed.view.Text1 = "";
    rig.ed.PulsAppend(0);
    EXPECT_EQ(rig.ed.st.ProgBox, before);
    EXPECT_TRUE(rig.op.shown.empty());
    rig.ed.view.Text1 = "1";
    rig.ed.PulsAppend(0);
    const std::string expected =
        "'Program #  10 \r\nPRG=10,OUT=2,CON=7\r\n\r\n'Program #  1 \r\nPRG=1,OUT=1,OFS=30,CON=10,COF=5\r\n"
        "PRG=1,OUT=3,CON=7\r\n";
    EXPECT_EQ(rig.ed.st.ProgBox + rig.work(), expected + expected);  // the box is reloaded from the work file
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].prompt, "30 > 10 + 5");
    rig.ed.view.Text1 = "10";
    rig.ed.PulsAppend(1);
    EXPECT_EQ(rig.ed.view.TxtCON[1] + "|" + rig.ed.view.TxtOFS[1], "7|");
}

}  // namespace
}  // namespace gyrel
