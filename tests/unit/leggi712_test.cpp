#include <gtest/gtest.h>

#include <memory>

#include "editor/leggi712.h"

namespace gyrel {
namespace {

struct Leggi712Test : ::testing::Test {
    const std::string& at(int program, int output, int entry) const {
        return ed->HeaderParams[static_cast<std::size_t>(program - 1)][static_cast<std::size_t>(output - 1)]
                               [static_cast<std::size_t>(entry)];
    }
    std::unique_ptr<EditorState> ed = std::make_unique<EditorState>();
};

TEST_F(Leggi712Test, ReadsTheHeaderLinesAfterEmptyingEverything) {
    readHeaderParams("PRG=3,OUT=4,CON=9\r\n", *ed);
    readHeaderParams("PRG=1,OUT=1,OFS=0,CON=100,COF=200\r\nPRG=16,OUT=16,OFS=0050,CON=3600,COF=0\r\n", *ed);
    EXPECT_EQ(at(1, 1, 0) + " " + at(1, 1, 1) + " " + at(1, 1, 2), "0 100 200");
    EXPECT_EQ(at(16, 16, 0) + " " + at(16, 16, 1) + " " + at(16, 16, 2), "50 3600 0");
    EXPECT_EQ(at(3, 4, 1), "");
}

TEST_F(Leggi712Test, ValuesNeedProgramAndOutputEarlierOnTheSameLine) {
    readHeaderParams("OFS=5,PRG=2,OUT=3,CON=6\r\nCOF=7\r\nPRG=2,COF=8\r\n", *ed);
    EXPECT_EQ(at(2, 3, 0) + "|" + at(2, 3, 1) + "|" + at(2, 3, 2), "|6|");
}

TEST_F(Leggi712Test, ProgramsAndOutputsOutside1To16StoreNothing) {
    readHeaderParams("PRG=17,OUT=1,CON=5\r\nPRG=0,OUT=1,CON=6\r\nPRG=1,OUT=99999999999999999999,CON=7\r\n", *ed);
    EXPECT_EQ(ed->HeaderParams, std::make_unique<EditorState>()->HeaderParams);
}

TEST_F(Leggi712Test, IgnoresOtherCharactersAndEndsTheLastField) {
    // Signs, points and small letters are skipped; the text's end ends a field.
    readHeaderParams("prg PRG = 0 5 , OUT=1, OFS=-1.5 ,CON=3", *ed);
    EXPECT_EQ(at(5, 1, 0), "15");
    EXPECT_EQ(at(5, 1, 1), "3");
}

}  // namespace
}  // namespace gyrel
