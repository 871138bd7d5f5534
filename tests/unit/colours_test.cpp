#include <gtest/gtest.h>

#include <memory>

#include "editor/colours.h"

namespace gyrel {
namespace {

StyledRange range(int start, int length, Rgb colour, int size) {
    StyledRange r;
    r.start = start;
    r.length = length;
    r.colour = colour;
    r.fontSize = size;
    return r;
}

const Rgb kBlack{0, 0, 0};
const Rgb kBlue{0, 0, 255};

TEST(Colours, ProgramBlackCommentsBlueAtSize8) {
    auto ed = std::make_unique<EditorState>();
    ed->ProgBox = "' head\r\n1 2 3 ' tail\r\n4 5 6\r\n";
    ed->FullRecolour = 1;
    AggColori(*ed, 1, 11);
    EXPECT_EQ(ed->ProgBoxStyles, (std::vector<StyledRange>{range(0, 7, kBlue, 8), range(7, 7, kBlack, 11),
                                                           range(14, 7, kBlue, 8), range(21, 8, kBlack, 11)}));
    EXPECT_EQ(ed->FullRecolour, 0);
}

TEST(Colours, OneLineIsRecolouredAtTheCaret) {
    auto ed = std::make_unique<EditorState>();
    ed->ProgBox = "1 2 3\r\n4 5 6\r\n";
    AggColori(*ed, 1, 9);
    ed->ProgBox = "1 2 3\r\n4 '5\r\n";
    ed->CaretPosition = 10;
    AggColori(*ed, 0, 9);
    EXPECT_EQ(ed->ProgBoxStyles,
              (std::vector<StyledRange>{range(0, 7, kBlack, 9), range(7, 2, kBlack, 9), range(9, 3, kBlue, 8),
                                        range(12, 2, kBlack, 9)}));
}

TEST(Colours, PaintingCutsWhatItCovers) {
    std::vector<StyledRange> list{range(0, 10, kBlack, 11), range(10, 5, kBlue, 8)};
    paintRange(list, range(8, 4, {255, 0, 0}, 12));
    EXPECT_EQ(list, (std::vector<StyledRange>{range(0, 8, kBlack, 11), range(8, 4, {255, 0, 0}, 12),
                                              range(12, 3, kBlue, 8)}));
    paintRange(list, range(20, 2, kBlack, 11));
    EXPECT_EQ(list.back(), range(20, 2, kBlack, 11));
    paintRange(list, range(2, 0, kBlue, 8));  // nothing to paint
    EXPECT_EQ(list.size(), 4u);
}

}  // namespace
}  // namespace gyrel
