#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "editor/check.h"
#include "editor/parse.h"

namespace gyrel {
namespace {

class ParseTest : public ::testing::Test {
protected:
    ParseResult parse(const std::string& text, double max = 3599) { return parseCamText(text, max, *ed); }
    std::vector<CamRow> rows() const { return {ed->CamRows.begin(), ed->CamRows.begin() + ed->CamRowCount}; }
    std::unique_ptr<EditorState> ed = std::make_unique<EditorState>();
};

TEST_F(ParseTest, ReadsCamRowsCommentsAndTheOffsetsSection) {
    const ParseResult r = parse("' cam set 1\r\n1 100 250\r\n1 3000 50\r\n2 0 0\r\n3 1 1\r\n&\r\n1 20 -15\r\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(rows(), (std::vector<CamRow>{{1, 100, 250}, {1, 3000, 50}, {2, 0, 0}, {3, 1, 1}}));
    EXPECT_EQ((std::vector<int>{ed->TextOffsets[0][0], ed->TextOffsets[1][0]}), (std::vector<int>{20, -15}));
    // Where each number stands, for the marks.
    EXPECT_EQ(ed->CamRowSpans[1].start, (std::array<int, 3>{24, 26, 31}));
    EXPECT_EQ(ed->CamRowSpans[1].length, (std::array<int, 3>{1, 4, 2}));
}

// Texts that pass: the rows counted (a last line without line feed is checked, not counted).
TEST_F(ParseTest, SeparatorsSignsPointsAndLineEnds) {
    const std::pair<const char*, std::vector<CamRow>> cases[] = {
        {"", {}},
        {"' nothing 1 2 3\r\n\r\n   ' more\r\n", {}},
        {"1\t10-20\r\n2,30.40\r\n3 x5y 6\r\n", {{1, 10, 20}, {2, 30, 40}, {3, 5, 6}}},
        // A number needs no blank after it: an apostrophe, "&", a line feed or the end completes it.
        {"1 100 250' first\r\n2 5 6\n3 7 8&4 10 -10", {{1, 100, 250}, {2, 5, 6}, {3, 7, 8}}},
        {"1 100 200\r\n2 300 400", {{1, 100, 200}}},
    };
    for (const auto& [text, want] : cases) {
        ASSERT_TRUE(parse("1 5 6\r\n2 9 9\r\n3 1 1\r\n4 1 2\r\n&\r\n3 7 8\r\n").ok);
        ASSERT_TRUE(parse(text).ok) << text;
        EXPECT_EQ(rows(), want) << text;  // nothing left of the earlier parse
        EXPECT_EQ(ed->CamRows[3], (CamRow{0, 0, 0})) << text;
        EXPECT_EQ(ed->TextOffsets[0][2], 0) << text;
    }
    EXPECT_EQ(ed->CamRows[1], (CamRow{2, 300, 400}));
    ASSERT_TRUE(parse("1 100 250' first\r\n2 5 6\n3 7 8&4 10 -10").ok);
    EXPECT_EQ(ed->TextOffsets[1][3], -10);
    EXPECT_TRUE(parse("1 0 4294967295\r\n", 4294967295.0).ok);
    EXPECT_EQ(ed->CamRows[0][2], 4294967295.0);
}

// The first refused token: its error word, its text and where it starts.
TEST_F(ParseTest, EachRefusalNamesTheFirstBadToken) {
    struct Row {
        const char* text;
        int word;
        const char* token;
        int start;  // -1: not checked
        int rowsBefore;
    };
    const Row rows[] = {
        {"1 10--20\r\n", 5, "-20", 5, 0},  // a sign only starts a number
        {"1 100 3600\r\n", 5, "3600", 6, 0},
        {"1 -5 10\r\n", 5, "-5", 2, 0},
        {"1 100 200\r\n  7\r\n", 2, "7", 13, 1},  // Needed ON value
        {"7 100 ' no OFF\r\n", 3, "100", 2, 0},   // Needed OFF value
        {"1 100&\r\n", 3, "100", 2, 0},           // "&" ends the cam line it stands on
        {"7 100 200 300\r\n", 6, "300", -1, 0},   // Too much parameters
        {"17 100 200\r\n", 4, "17", -1, 0},       // Output does not exist
        {"0 100 200\r\n", 4, "0", -1, 0},
        {"- 100 200\r\n", 4, "-", -1, 0},  // a lone sign reads as 0
        {"1 100 200\r\n2 300 4000", 5, "4000", 17, 1},
        {"1 1 2\r\n1 3600 2\r\n99 1 1\r\n", 5, "3600", -1, 1},  // stops at the first error
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        const ParseResult p = parse(r.text);
        ASSERT_FALSE(p.ok);
        EXPECT_EQ(p.error.word, r.word);
        EXPECT_EQ(p.error.token, r.token);
        if (r.start >= 0) {
            EXPECT_EQ(p.error.tokenStart, r.start);
        }
        EXPECT_FALSE(p.error.inOffsets);
        EXPECT_EQ(ed->CamRowCount, r.rowsBefore);
    }
}

TEST_F(ParseTest, OffsetsComeInGroupsOfThree) {
    ASSERT_TRUE(parse("&\r\n1 5 6 2 -7 8\r\n3 9\r\n4 10 11 16 -1800 1800\r\n").ok);
    const auto& on = ed->TextOffsets[0];
    const auto& off = ed->TextOffsets[1];
    // A short group sets the ON offset only.
    EXPECT_EQ((std::vector<int>{on[0], off[0], on[1], off[1], on[2], off[2], on[15], off[15]}),
              (std::vector<int>{5, 6, -7, 8, 9, 0, -1800, 1800}));
    ParseResult r = parse("1 1 2\r\n&\r\n2 0 1801\r\n");
    EXPECT_EQ(std::make_tuple(r.error.word, r.error.token, r.error.inOffsets),
              std::make_tuple(7, std::string("1801"), true));
    r = parse("&\r\n17 0 0\r\n");
    EXPECT_EQ(std::make_pair(r.error.word, r.error.inOffsets), std::make_pair(4, true));
}

TEST_F(ParseTest, TheTableHolds2001RowsAndSaysSoAtTheNext) {
    std::string text;
    for (int i = 0; i < 2001; ++i) text += "1 " + std::to_string(i) + " " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(parse(text).ok);
    EXPECT_EQ(ed->CamRowCount, 2001);
    const ParseResult r = parse(text + "16 1 2\r\n");
    ASSERT_FALSE(r.ok);
    EXPECT_TRUE(r.error.tooManyRows);
    EXPECT_EQ(std::make_tuple(r.error.word, r.error.token, r.error.tokenStart, ed->CamRowCount),
              std::make_tuple(6, std::string("16"), static_cast<int>(text.size()), 2001));
}

}  // namespace
}  // namespace gyrel
