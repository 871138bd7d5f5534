#include <gtest/gtest.h>

#include <memory>

#include "editor/leggi712.h"

namespace gyrel {
namespace {

// Every program and output a header text leaves values for, as "program.output=OFS|CON|COF ".
std::string headerValues(const std::string& text) {
    auto ed = std::make_unique<EditorState>();
    readHeaderParams("PRG=3,OUT=4,CON=9\r\n", *ed);  // emptied by the next read
    readHeaderParams(text, *ed);
    std::string out;
    for (std::size_t p = 0; p < 16; ++p)
        for (std::size_t o = 0; o < 16; ++o) {
            const auto& v = ed->HeaderParams[p][o];
            if (v[0].empty() && v[1].empty() && v[2].empty()) continue;
            out += std::to_string(p + 1) + "." + std::to_string(o + 1) + "=" + v[0] + "|" + v[1] + "|" + v[2] + " ";
        }
    return out;
}

TEST(Leggi712, ReadsTheHeaderValuesOfEachProgramAndOutput) {
    EXPECT_EQ(headerValues("PRG=1,OUT=1,OFS=0,CON=100,COF=200\r\nPRG=16,OUT=16,OFS=0050,CON=3600,COF=0\r\n"),
              "1.1=0|100|200 16.16=50|3600|0 ");
    // Values need program and output earlier on the same line.
    EXPECT_EQ(headerValues("OFS=5,PRG=2,OUT=3,CON=6\r\nCOF=7\r\nPRG=2,COF=8\r\n"), "2.3=|6| ");
    // Signs, points and small letters are skipped; the text's end ends a field.
    EXPECT_EQ(headerValues("prg PRG = 0 5 , OUT=1, OFS=-1.5 ,CON=3"), "5.1=15|3| ");
    // Outside 1..16: nothing stored.
    EXPECT_EQ(headerValues("PRG=17,OUT=1,CON=5\r\nPRG=0,OUT=1,CON=6\r\nPRG=1,OUT=99999999999999999999,CON=7\r\n"), "");
}

}  // namespace
}  // namespace gyrel
