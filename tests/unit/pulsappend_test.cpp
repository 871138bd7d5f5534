#include <gtest/gtest.h>

#include "editor/pulsappend.h"

namespace gyrel {
namespace {

TEST(PulsAppend, ReplacesOnlyTheBlockOfThatProgramNumber) {
    const std::string text =
        "'Program #  1 \r\n"
        "PRG=1,OUT=1,CON=5\r\n"
        "'Program #  10 \r\n"
        "PRG=10,OUT=2,CON=7\r\n"
        "PRG=1,OUT=3,COF=9\r\n";
    RowBoxes rows;
    rows.con[1] = "100";
    rows.cof[1] = "250.50";
    rows.ofs[15] = "-3x";
    std::vector<std::string> warnings;
    EXPECT_EQ(appendProgramBlock(text, "1", "Program # ", rows, &warnings),
              "'Program #  10 \r\n"
              "PRG=10,OUT=2,CON=7\r\n"
              "\r\n'Program #  1 \r\n"
              "PRG=1,OUT=2,CON=100,COF=250.5\r\n"
              "PRG=1,OUT=16,OFS=-3\r\n");
    EXPECT_TRUE(warnings.empty());
}

TEST(PulsAppend, WarnsWhenTheOffsetExceedsOnPlusOffAndStillAppends) {
    RowBoxes rows;
    rows.ofs[0] = "30";
    rows.con[0] = "10";
    rows.cof[0] = "5";
    rows.ofs[1] = "30";  // COF empty: no warning
    rows.con[1] = "10";
    std::vector<std::string> warnings;
    EXPECT_EQ(appendProgramBlock("", "2", "Programma # ", rows, &warnings),
              "\r\n'Programma #  2 \r\n"
              "PRG=2,OUT=1,OFS=30,CON=10,COF=5\r\n"
              "PRG=2,OUT=2,OFS=30,CON=10\r\n");
    EXPECT_EQ(warnings, std::vector<std::string>{"30 > 10 + 5"});
}

TEST(PulsAppend, ValReadsTheLeadingNumberOnly) {
    EXPECT_EQ(valOf("12.5abc"), 12.5);
    EXPECT_EQ(valOf("-7"), -7);
    EXPECT_EQ(valOf("abc"), 0);
    EXPECT_EQ(generalNumber(0.25), "0.25");
}

}  // namespace
}  // namespace gyrel
