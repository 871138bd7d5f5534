#include <gtest/gtest.h>

#include "unit/editor_test_rig.h"

namespace gyrel {
namespace {

using editortest::EditorRig;

struct AppendRig : EditorRig {
    AppendRig() {
        ctx.model.ModelType = "V712";
        ed.load();
        ed.st.ProgBox = "'Program #  10 \r\nPRG=10,OUT=2,CON=7\r\nPRG=1,OUT=3,COF=9\r\n";
    }
};

TEST(EditorAppend, RowBoxesBecomeTheBlockOfTheProgramInText1) {
    AppendRig rig;
    rig.ed.view.Text1 = "1";
    rig.ed.view.TxtOFS[0] = "30";
    rig.ed.view.TxtCON[0] = "10";
    rig.ed.view.TxtCOF[0] = "5";
    rig.ed.view.TxtCON[2] = "7";
    rig.ed.PulsAppend(0);
    const std::string expected =
        "'Program #  10 \r\nPRG=10,OUT=2,CON=7\r\n"
        "\r\n'Program #  1 \r\n"
        "PRG=1,OUT=1,OFS=30,CON=10,COF=5\r\n"
        "PRG=1,OUT=3,CON=7\r\n";
    EXPECT_EQ(rig.ed.st.ProgBox, expected);
    EXPECT_EQ(rig.work(), expected);  // the box is reloaded from the work file
    ASSERT_EQ(rig.op.shown.size(), 1u);
    EXPECT_EQ(rig.op.shown[0].prompt, "30 > 10 + 5");
}

TEST(EditorAppend, ReadBackFillsTheRowBoxesOfTheProgramInText1AndNeedsANumber) {
    AppendRig rig;
    const std::string before = rig.ed.st.ProgBox;
    rig.ed.view.Text1 = "";
    rig.ed.view.TxtCON[0] = "10";
    rig.ed.PulsAppend(0);
    EXPECT_EQ(rig.ed.st.ProgBox, before);
    EXPECT_TRUE(rig.op.shown.empty());
    rig.ed.view.Text1 = "10";
    rig.ed.view.TxtCON[1] = "";
    rig.ed.PulsAppend(1);
    EXPECT_EQ(rig.ed.view.TxtCON[1], "7");
    EXPECT_EQ(rig.ed.view.TxtOFS[1], "");
}

}  // namespace
}  // namespace gyrel
