#include <gtest/gtest.h>

#include <memory>

#include "editor/leggi712.h"

namespace gyrel {
namespace {

// The OFS|CON|COF a header text leaves for one program and output.
TEST(Leggi712, ReadsTheHeaderValuesOfEachProgramAndOutput) {
    struct Row {
        const char* text;
        int program, output;
        const char* values;
    } const rows[] = {
        {"PRG=1,OUT=1,OFS=0,CON=100,COF=200\r\nPRG=16,OUT=16,OFS=0050,CON=3600,COF=0\r\n", 1, 1, "0|100|200"},
        {"PRG=1,OUT=1,OFS=0,CON=100,COF=200\r\nPRG=16,OUT=16,OFS=0050,CON=3600,COF=0\r\n", 16, 16, "50|3600|0"},
        // Values need program and output earlier on the same line.
        {"OFS=5,PRG=2,OUT=3,CON=6\r\nCOF=7\r\nPRG=2,COF=8\r\n", 2, 3, "|6|"},
        // Signs, points and small letters are skipped; the text's end ends a field.
        {"prg PRG = 0 5 , OUT=1, OFS=-1.5 ,CON=3", 5, 1, "15|3|"},
    };
    for (const Row& r : rows) {
        auto ed = std::make_unique<EditorState>();
        readHeaderParams("PRG=3,OUT=4,CON=9\r\n", *ed);  // emptied by the next read
        readHeaderParams(r.text, *ed);
        const auto& v = ed->HeaderParams[static_cast<std::size_t>(r.program - 1)][static_cast<std::size_t>(r.output - 1)];
        EXPECT_EQ(v[0] + "|" + v[1] + "|" + v[2], r.values) << r.text;
        EXPECT_EQ(ed->HeaderParams[2][3][1], "") << r.text;
    }
    auto ed = std::make_unique<EditorState>();
    readHeaderParams("PRG=17,OUT=1,CON=5\r\nPRG=0,OUT=1,CON=6\r\nPRG=1,OUT=99999999999999999999,CON=7\r\n", *ed);
    EXPECT_EQ(ed->HeaderParams, std::make_unique<EditorState>()->HeaderParams);  // outside 1..16: nothing stored
}

}  // namespace
}  // namespace gyrel
