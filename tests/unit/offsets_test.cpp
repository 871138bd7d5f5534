#include <gtest/gtest.h>

#include <memory>

#include "editor/offsets.h"

namespace gyrel {
namespace {

TEST(Offsets, WholeNumbersOfTheBoxes) {
    const std::pair<const char*, int> rows[] = {{" -15", -15}, {"12.6", 13},        {"7abc", 7},
                                                {"abc", 0},    {"99999999", 32767}, {"-99999999", -32768}};
    for (const auto& [text, value] : rows) EXPECT_EQ(wholeNumber(text), value) << text;
}

TEST(Offsets, FromTheTextTheBoxesFollowAndNonZeroOutputsAreTicked) {
    auto ed = std::make_unique<EditorState>();
    ed->Check1 = true;
    ed->TextOffsets[0][0] = 20;
    ed->TextOffsets[1][0] = -15;
    ed->TextOffsets[1][5] = 3;
    ed->check2[9] = true;
    takeOffsets(*ed);
    EXPECT_EQ(ed->ActiveOffsets[16], -15);
    EXPECT_EQ(ed->ActiveOffsets[21], 3);
    EXPECT_EQ(ed->Text5[0] + " " + ed->Text4[9], "-15 0");
    EXPECT_EQ(ed->check2[5] && !ed->check2[9], true);
    EXPECT_EQ(ed->Text4Back[5], kOffsetAppliedBox);
    EXPECT_EQ(ed->check2Back[9], kOffsetOffBack);
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
    EXPECT_EQ(ed->ActiveOffsets[18], 6);
    EXPECT_EQ(ed->ActiveOffsets[3], 0);
    EXPECT_EQ(ed->check2Back[2], kOffsetAppliedBack);
}

}  // namespace
}  // namespace gyrel
