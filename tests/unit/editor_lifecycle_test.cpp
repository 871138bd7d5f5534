#include <gtest/gtest.h>

#include <functional>

#include "editor/offsets_file.h"
#include "unit/editor_test_rig.h"

namespace gyrel {
namespace {

using editortest::EditorRig;

TEST(EditorLoad, FirstStartCreatesTheFilesAndForgetsAMissingProgram) {
    EditorRig rig;
    rig.ctx.settings.PercorsoTxt = rig.path("deleted.txt");
    rig.ed.load();
    EXPECT_EQ(rig.fs.readAll(OffsetsFilePath()), defaultOffsetsContent());
    EXPECT_EQ(rig.work(), "");
    EXPECT_EQ(rig.ed.st.ProgramFilePath, "");
    EXPECT_EQ(rig.ed.view.Frame1Caption, "");
    EXPECT_EQ(rig.ed.view.Text1, "1");
    EXPECT_EQ(rig.ed.ProgramIndex, 0);
    EXPECT_FALSE(rig.ed.st.Check1);  // the default offsets file hands the panel to the boxes
    EXPECT_TRUE(rig.op.shown.empty());
}

TEST(EditorLoad, TheWorkFileComesBackAndTheFirstResizeWarnsOnce) {
    EditorRig rig;
    rig.fs.writeAll(rig.path("p.txt"), "1 10 20\r\n");
    rig.fs.writeAll(WorkFilePath(), "1 10 30\r\n");
    rig.fs.writeAll(OffsetsFilePath(), "1\r\n");
    rig.ctx.settings.PercorsoTxt = rig.path("p.txt");
    rig.ed.load();
    EXPECT_EQ(rig.ed.st.ProgBox, "1 10 30\r\n");
    EXPECT_EQ(rig.ed.view.Frame1Caption, rig.path("p.txt"));
    EXPECT_TRUE(rig.ed.st.Check1);
    rig.ed.firstResize();
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].prompt, "Work file has been modified !");
    EXPECT_EQ(rig.ed.st.ResizeSeen, 1);
    EXPECT_EQ(rig.ed.view.Frame1Caption, rig.path("p.txt") + "--(Modif.)");
    rig.ed.firstResize();
    EXPECT_EQ(rig.op.shown.size(), 1u);
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
    ASSERT_TRUE(e.ed.st.CheckArmed);
    e.type("1 100 250\r\n1 100 4000\r\n");
    EXPECT_EQ(e.work(), "1 100 250\r\n1 100 4000\r\n");
    EXPECT_EQ(e.ed.view.Frame1Caption, "--(Modif.)");
    EXPECT_EQ(e.ed.view.Frame1Colour, (Rgb{255, 255, 0}));
    e.ed.progBoxKeyUp(KeyEnter);
    ASSERT_EQ(e.op.shown.size(), 1u);
    EXPECT_EQ(e.op.shown[0].prompt, "Not valid  ' 4000 '");
    EXPECT_EQ(e.ed.st.SelStart, 17);
    EXPECT_FALSE(e.ed.st.CheckArmed);

    e.ed.progBoxChange("1 100 250\r\n1 300 400\r\n");  // the correction is not mirrored yet
    EXPECT_EQ(e.work(), "1 100 250\r\n1 100 4000\r\n");
    e.ed.progBoxKeyUp(KeyEnter);  // re-arms only
    EXPECT_EQ(e.op.shown.size(), 1u);
    EXPECT_TRUE(e.ed.st.CheckArmed);
    e.ed.progBoxKeyUp(KeyEnter);  // checks
    EXPECT_EQ(e.op.shown.size(), 1u);
    EXPECT_EQ(e.ed.st.CamRowCount, 2);
    EXPECT_TRUE(e.ed.st.ParseOk);
    EXPECT_EQ(e.work(), "1 100 250\r\n1 300 400\r\n");
}

TEST(ProgBoxKeys, ArrowsCheckOnlyAfterAnEditAndMovingKeysEditNothing) {
    OpenEditor e;
    e.ed.st.ProgBox = "1 100 250\r\n1 100 4000\r\n";
    e.ed.progBoxKeyDown(37, 3);  // left arrow
    e.ed.progBoxKeyDown(16, 3);  // shift
    EXPECT_FALSE(e.ed.st.EditedSinceCheck);
    EXPECT_EQ(e.ed.view.Frame1Caption, "");
    e.ed.progBoxKeyUp(KeyDown);
    EXPECT_TRUE(e.op.shown.empty());
    e.ed.progBoxKeyDown(65, 3);
    EXPECT_EQ(e.ed.st.CaretPosition, 3);
    e.ed.progBoxKeyUp(KeyUp);
    ASSERT_EQ(e.op.shown.size(), 1u);
    EXPECT_FALSE(e.ed.st.EditedSinceCheck);
    e.ed.progBoxKeyUp(KeyUp);  // nothing edited since
    EXPECT_EQ(e.op.shown.size(), 1u);
}

TEST(OffsetsPanel, OutOfRangeOffsetKeepsTheFocus) {
    OpenEditor e;
    e.ed.st.Check1 = true;
    e.ed.st.check2[2] = true;
    e.ed.st.check2Back[2] = kOffsetAppliedBack;
    e.ed.st.Text4[2] = "1801";
    e.ed.st.Text4[0] = "15";
    e.ed.offsetKey(0, 2, KeyEnter);
    ASSERT_EQ(e.op.shown.size(), 1u);
    EXPECT_EQ(e.op.shown[0].prompt, "Too high Offset  1801\r\nmax. 1800, min -1800");
    EXPECT_EQ(e.op.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(e.ed.view.focusIndex, 2);
    EXPECT_FALSE(e.ed.st.ParseOk);
    EXPECT_FALSE(e.ed.st.Check1);
    EXPECT_FALSE(e.ed.st.check2[2]);
    EXPECT_EQ(e.ed.st.check2Back[2], kOffsetOffBack);
    EXPECT_EQ(e.ed.st.ActiveOffsets[0], 15);
    EXPECT_EQ(e.ed.st.ActiveOffsets[2], 1801);

    e.ed.st.Text4[2] = "-1800";
    e.ed.offsetKey(0, 2, KeyDown);
    EXPECT_EQ(e.ed.view.focusIndex, 3);
    e.ed.st.Text5[15] = "1800";
    e.ed.offsetKey(1, 15, KeyEnter);
    EXPECT_EQ(e.ed.view.focusColumn, 1);
    EXPECT_EQ(e.ed.view.focusIndex, 0);
    e.ed.offsetKey(1, 0, KeyUp);
    EXPECT_EQ(e.ed.view.focusIndex, 15);
    e.ed.offsetKey(1, 7, '5');  // any other key moves nothing
    EXPECT_EQ(e.ed.view.focusIndex, 15);
    EXPECT_EQ(e.op.shown.size(), 1u);

    e.ed.st.Text5[4] = "-2000";
    EXPECT_FALSE(e.ed.offsetLostFocus(1, 4));
    EXPECT_EQ(e.op.shown.back().prompt, "Too high Offset  -2000\r\nmax. 1800, min -1800");
    EXPECT_EQ(e.ed.view.focusIndex, 4);
}

TEST(OffsetsPanel, SelectAllAndDeselectAllRecolourAndCheckAgain) {
    OpenEditor e;
    e.ed.st.ProgBox = "1 100 250\r\n";
    e.ed.st.Text4[0] = "20";
    e.ed.Option1Click();
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(e.ed.st.check2[i]);
        EXPECT_EQ(e.ed.st.check2Back[i], 0xC0C0FFu);
        EXPECT_EQ(e.ed.st.Text4Back[i], 0xC0FFFFu);
    }
    EXPECT_TRUE(e.ed.st.Option1);
    EXPECT_FALSE(e.ed.st.Check1);
    EXPECT_EQ(e.ed.st.CamRowCount, 1);
    e.ed.Option2Click();
    for (int i = 0; i < 16; ++i) {
        EXPECT_FALSE(e.ed.st.check2[i]);
        EXPECT_EQ(e.ed.st.check2Back[i], 12632256u);
        EXPECT_EQ(e.ed.st.Text5Back[i], 0x80000005u);
    }
    EXPECT_TRUE(e.ed.st.Option2);
    EXPECT_FALSE(e.ed.st.Option1);

    e.ed.check2MouseUp(0, true);
    EXPECT_FALSE(e.ed.st.Option2);
    EXPECT_EQ(e.ed.st.ActiveOffsets[0], 20);
    EXPECT_EQ(e.ed.st.check2Back[0], 0xC0C0FFu);
}

TEST(ProgramSelector, TheNumberBoxGivesTheSlot) {
    OpenEditor e;
    e.ed.VScroll1Change(5);
    EXPECT_EQ(e.ed.view.Text1, "5");
    EXPECT_EQ(e.ed.ProgramIndex, 4);
    e.ed.Text1Change("12");
    EXPECT_EQ(e.ed.ProgramIndex, 11);
}

TEST(Grid712, MovingTheSelectorStoresTheGridShowsTheNextAndRedrawsTwice) {
    OpenEditor e;
    e.ctx.model.ModelType = "V712";
    e.ed.st.graphVisible = true;
    e.ed.st.HeaderParams[1][0] = {"5", "10", "20"};
    e.ed.view.TxtOFS[0] = "100";
    e.ed.view.TxtCON[0] = "200";
    e.ed.Puls1(3);
    EXPECT_EQ(e.ed.view.TxtCON[3], "3600");
    EXPECT_EQ(e.ed.view.TxtCOF[3], "0");
    const int before = e.ed.graph.redraws;
    const double t0 = e.clock.nowMs();
    e.ed.VScroll1Change(2);
    EXPECT_EQ(e.ed.graph.redraws - before, 2);
    EXPECT_EQ(e.clock.nowMs() - t0, 100);
    EXPECT_EQ(e.ed.st.HeaderParams[0][0][0], "100");
    EXPECT_EQ(e.ed.st.HeaderParams[0][0][1], "200");
    EXPECT_EQ(e.ed.st.HeaderParams[0][0][2], "");
    EXPECT_EQ(e.ed.st.HeaderParams[0][3][1], "3600");
    EXPECT_EQ(e.ed.view.TxtOFS[0], "5");
    EXPECT_EQ(e.ed.view.TxtCOF[0], "20");
    EXPECT_EQ(e.ed.view.TxtCON[3], "");
    EXPECT_EQ(e.ed.ProgramIndex, 1);
}

TEST(Grid712, AStoreOfOneRowLeavesTheOthers) {
    OpenEditor e;
    e.ctx.model.ModelType = "V712";
    e.ed.view.TxtOFS[0] = "1";
    e.ed.view.TxtOFS[4] = "4";
    e.ed.Puls0(4);
    e.ed.AggTab(4);  // output index 4 alone
    EXPECT_EQ(e.ed.st.HeaderParams[0][0][0], "");
    EXPECT_EQ(e.ed.st.HeaderParams[0][4][0], "0");
    EXPECT_EQ(e.ed.st.HeaderParams[0][4][2], "3600");
    e.ed.Text1Change("17");  // no such program: the grid is neither stored nor filled
    e.ed.AggTab(0);
    e.ed.AggFrame();
    EXPECT_EQ(e.ed.view.TxtOFS[0], "1");
}

TEST(GraphWindow, MenuShowsTheGraphAndThePitchEntryRedrawsFromTheCamTable) {
    OpenEditor e;
    e.ed.progBoxChange("1 100 250\r\n");
    e.ed.MenEnableGraphic();
    EXPECT_TRUE(e.ed.view.MenEnableGraphicChecked);
    EXPECT_TRUE(e.ed.st.graphVisible);
    ASSERT_GE(e.ed.graph.redraws, 1);
    EXPECT_EQ(e.ed.st.camTable.CamCount, 2);
    const auto steps = [&] {
        int n = 0;
        for (const auto& l : e.ed.graph.drawing.lines)
            if (l.colour == kGraphTraceColour && l.x1 == l.x2 && l.y1 != l.y2) ++n;
        return n;
    };
    EXPECT_EQ(steps(), 2);
    EXPECT_EQ(e.ed.graph.drawing.title, "Graph --- ");

    e.ed.graphClick();
    EXPECT_TRUE(e.ed.graph.Frame1Visible);
    EXPECT_EQ(e.ed.graph.pitchText, "45");
    EXPECT_EQ(e.ed.graph.scaleText, "2");
    e.ed.graph.pitchText = "360";
    e.ed.graph.scaleText = "0";
    e.ed.graphKeyPress(0, 'x');
    EXPECT_TRUE(e.ed.graph.Frame1Visible);
    e.ed.graphKeyPress(0, KeyEnter);
    EXPECT_FALSE(e.ed.graph.Frame1Visible);
    EXPECT_EQ(e.ctx.settings.GraphPitch, 359);
    EXPECT_EQ(e.ctx.settings.GraphScale, 1);
    EXPECT_EQ(e.ed.graph.drawing.width, 4050);
    EXPECT_EQ(steps(), 2);  // the same program drawn again

    e.ed.MenEnableGraphic();
    EXPECT_FALSE(e.ed.st.graphVisible);
}

TEST(GraphWindow, MultiTurnModelsHaveNoGraph) {
    OpenEditor e;
    e.ctx.model.ModelType = "KMT71";
    e.ed.MenEnableGraphic();
    EXPECT_FALSE(e.ed.view.MenEnableGraphicChecked);
    EXPECT_FALSE(e.ed.st.graphVisible);
    e.ed.graphClick();
    EXPECT_FALSE(e.ed.graph.Frame1Visible);
}

TEST(EditorHooks, TheModelConfigurationAndMainWindowReachTheEditor) {
    OpenEditor e;
    e.ed.st.ProgBox = "1 1 2\r\n";
    e.ed.st.ProgramFilePath = "x";
    e.ctx.hooks.emptyEditor();
    EXPECT_EQ(e.ed.st.ProgBox, "");
    EXPECT_EQ(e.ed.st.ProgramFilePath, "");
    EXPECT_EQ(e.work(), "");
    EXPECT_EQ(e.ctx.hooks.checkModif(1), AnswerYes);
    e.ed.view.visible = true;
    EXPECT_TRUE(e.ctx.hooks.editorVisible());
    EXPECT_FALSE(e.ctx.hooks.graphVisible());
    e.ctx.hooks.editorQueryUnload();
    EXPECT_EQ(e.released, std::vector<int>{8});
}

// The window draws the editor's state again only when told; every step that
// changes it from outside a key or click handler must tell it.
TEST(EditorHooks, TheWindowIsToldToRedrawAfterEachStepFromOutside) {
    EditorRig rig;
    int redraws = 0;
    rig.ed.refresh = [&] { ++redraws; };
    const auto redrawn = [&](const std::function<void()>& step) {
        const int before = redraws;
        step();
        return redraws > before;
    };
    EXPECT_TRUE(redrawn([&] { rig.ed.load(); }));
    EXPECT_TRUE(redrawn([&] { rig.ed.firstResize(); }));
    EXPECT_TRUE(redrawn([&] { rig.ed.leggiLav(16); }));
    EXPECT_TRUE(redrawn([&] { rig.ctx.hooks.emptyEditor(); }));
}

}  // namespace
}  // namespace gyrel
