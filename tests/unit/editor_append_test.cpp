#include <gtest/gtest.h>

#include "editor/pulsappend.h"
#include "unit/editor_test_rig.h"

namespace gyrel {
namespace {

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

struct AppendRig : editortest::EditorRig {
    AppendRig() {
        ctx.model.ModelType = "V712";
        ed.load();
        ed.st.ProgBox = "'Program #  10 \r\nPRG=10,OUT=2,CON=7\r\nPRG=1,OUT=3,COF=9\r\n";
    }
};

TEST(EditorAppend, RowBoxesBecomeTheBlockOfTheProgramInText1) {
    AppendRig rig;
    rig.ed.view.Text1 = "1";
    rig.ed.view.TxtOFS[0] = "30", rig.ed.view.TxtCON[0] = "10", rig.ed.view.TxtCOF[0] = "5";
    rig.ed.view.TxtCON[2] = "7";
    rig.ed.PulsAppend(0);
    const std::string expected =
        "'Program #  10 \r\nPRG=10,OUT=2,CON=7\r\n\r\n'Program #  1 \r\nPRG=1,OUT=1,OFS=30,CON=10,COF=5\r\n"
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
    rig.ed.PulsAppend(1);
    EXPECT_EQ(rig.ed.view.TxtCON[1] + "|" + rig.ed.view.TxtOFS[1], "7|");
}

}  // namespace
}  // namespace gyrel
