#include <gtest/gtest.h>

#include <memory>

#include "editor/offsets.h"

namespace gyrel {
namespace {

TEST(Offsets, WholeNumbersOfTheBoxes) {
    EXPECT_EQ(wholeNumber("20"), 20);
    EXPECT_EQ(wholeNumber(" -15"), -15);
    EXPECT_EQ(wholeNumber("12.6"), 13);
    EXPECT_EQ(wholeNumber("7abc"), 7);
    EXPECT_EQ(wholeNumber(""), 0);
    EXPECT_EQ(wholeNumber("abc"), 0);
    EXPECT_EQ(wholeNumber("99999999"), 32767);
    EXPECT_EQ(wholeNumber("-99999999"), -32768);
}

TEST(Offsets, FromTheTextTheBoxesFollowAndNonZeroOutputsAreTicked) {
    auto ed = std::make_unique<EditorState>();
    ed->Check1 = true;
    ed->TextOffsets[0][0] = 20;
    ed->TextOffsets[1][0] = -15;
    ed->TextOffsets[1][5] = 3;
    ed->check2[9] = true;
    takeOffsets(*ed);
    EXPECT_EQ(ed->ActiveOffsets[0], 20);
    EXPECT_EQ(ed->ActiveOffsets[16], -15);
    EXPECT_EQ(ed->ActiveOffsets[21], 3);
    EXPECT_EQ(ed->Text4[0], "20");
    EXPECT_EQ(ed->Text5[0], "-15");
    EXPECT_EQ(ed->Text4[9], "0");
    EXPECT_TRUE(ed->check2[0]);
    EXPECT_TRUE(ed->check2[5]);
    EXPECT_FALSE(ed->check2[9]);
    EXPECT_EQ(ed->check2Back[5], kOffsetAppliedBack);
    EXPECT_EQ(ed->Text4Back[5], kOffsetAppliedBox);
    EXPECT_EQ(ed->check2Back[9], kOffsetOffBack);
    EXPECT_EQ(ed->Text5Back[9], kSystemWindowBack);
}

TEST(Offsets, FromTheBoxesOnlyTickedOutputsAreTaken) {
    auto ed = std::make_unique<EditorState>();
    ed->Check1 = false;
    ed->ActiveOffsets[1] = 44;
    ed->Text4[0] = "12";
    ed->Text5[0] = "-8";
    ed->Text4[1] = "99";
    ed->check2[0] = true;
    takeOffsets(*ed);
    EXPECT_EQ(ed->ActiveOffsets[0], 12);
    EXPECT_EQ(ed->ActiveOffsets[16], -8);
    EXPECT_EQ(ed->ActiveOffsets[1], 44);  // not ticked: kept, and not applied
}

TEST(Offsets, ColoriOffsSwitchesToTheBoxes) {
    auto ed = std::make_unique<EditorState>();
    ed->Check1 = true;
    ed->Text4[2] = "5";
    ed->Text5[2] = "6";
    ed->Text4[3] = "7";
    ed->check2[2] = true;
    ed->ActiveOffsets[3] = 9;
    ColoriOffs(*ed);
    EXPECT_FALSE(ed->Check1);
    EXPECT_EQ(ed->ActiveOffsets[2], 5);
    EXPECT_EQ(ed->ActiveOffsets[18], 6);
    EXPECT_EQ(ed->ActiveOffsets[3], 0);
    EXPECT_EQ(ed->check2Back[2], kOffsetAppliedBack);
    EXPECT_EQ(ed->check2Back[3], kOffsetOffBack);
}

}  // namespace
}  // namespace gyrel
