#include <gtest/gtest.h>

#include <memory>

#include "editor/colours.h"

namespace gyrel {
namespace {

using Ranges = std::vector<StyledRange>;
const Rgb kBlack{0, 0, 0}, kBlue{0, 0, 255}, kRed{255, 0, 0};

TEST(Colours, ProgramBlackCommentsBlueAtSize8AndOneLineIsRecolouredAtTheCaret) {
    auto ed = std::make_unique<EditorState>();
    ed->ProgBox = "' head\r\n1 2 3 ' tail\r\n4 5 6\r\n";
    ed->FullRecolour = 1;
    AggColori(*ed, 1, 11);
    EXPECT_EQ(ed->ProgBoxStyles, (Ranges{{0, 7, kBlue, 8}, {7, 7, kBlack, 11}, {14, 7, kBlue, 8}, {21, 8, kBlack, 11}}));
    EXPECT_EQ(ed->FullRecolour, 0);

    ed->ProgBox = "1 2 3\r\n4 5 6\r\n";
    AggColori(*ed, 1, 9);
    ed->ProgBox = "1 2 3\r\n4 '5\r\n";
    ed->CaretPosition = 10;
    AggColori(*ed, 0, 9);
    EXPECT_EQ(ed->ProgBoxStyles, (Ranges{{0, 7, kBlack, 9}, {7, 2, kBlack, 9}, {9, 3, kBlue, 8}, {12, 2, kBlack, 9}}));
}

TEST(Colours, PaintingCutsWhatItCovers) {
    Ranges list{{0, 10, kBlack, 11}, {10, 5, kBlue, 8}};
    paintRange(list, {8, 4, kRed, 12});
    EXPECT_EQ(list, (Ranges{{0, 8, kBlack, 11}, {8, 4, kRed, 12}, {12, 3, kBlue, 8}}));
    paintRange(list, {20, 2, kBlack, 11});
    EXPECT_EQ(list.back(), (StyledRange{20, 2, kBlack, 11}));
    paintRange(list, {2, 0, kBlue, 8});  // nothing to paint
    EXPECT_EQ(list.size(), 4u);
}

}  // namespace
}  // namespace gyrel
