#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/offsets.h"
#include "editor/offsets_file.h"
#include "platform/std_file_system.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

struct OffsetsFileTest : ::testing::Test {
    testing_doubles::TempHome temp;  // its folders do not exist yet
    StdFileSystem fs_;
    std::unique_ptr<EditorState> st = std::make_unique<EditorState>();
};

std::string defaultContent() {
    std::string text = "0\r\n";
    for (int i = 0; i < 16; ++i) text += "0   0   0   \r\n";
    return text;
}

TEST_F(OffsetsFileTest, MissingFileIsCreatedWithItsFoldersAndTheDefaultLines) {
    ASSERT_FALSE(std::filesystem::exists(std::filesystem::path(temp.home()).parent_path()));
    ensureOffsetsFile(fs_);
    EXPECT_EQ(OffsetsFilePath(), joinPath(temp.home(), "Offs.lav"));
    EXPECT_EQ(fs_.readAll(OffsetsFilePath()), defaultContent());
    fs_.writeAll(OffsetsFilePath(), "1\r\n");  // an existing file is left alone
    ensureOffsetsFile(fs_);
    EXPECT_EQ(fs_.readAll(OffsetsFilePath()), "1\r\n");
}

TEST_F(OffsetsFileTest, SaveWritesCheck1ThenOneTabbedLinePerOutputThatReadsBackTheSame) {
    temp.create();
    st->Check1 = false;
    std::string expected = "0\r\n";
    for (int i = 0; i < 16; ++i) {
        st->check2[i] = i % 3 == 0;
        st->Text4[i] = std::to_string(i * 10 - 50);
        st->Text5[i] = i == 1 ? "" : std::to_string(-i);
        expected += (i % 3 == 0 ? "1\t" : "0\t") + st->Text4[i] + "\t" + st->Text5[i] + "\t\r\n";
    }
    SaveOffs(fs_, *st);
    EXPECT_EQ(fs_.readAll(OffsetsFilePath()), expected);
    auto b = std::make_unique<EditorState>();
    LoadOffs(fs_, *b);
    EXPECT_EQ(b->check2, st->check2);
    EXPECT_EQ(b->Text4, st->Text4);
    EXPECT_EQ(b->Text5, st->Text5);
    EXPECT_EQ(b->ActiveOffsets[19], -3);
    st->Check1 = true;
    EXPECT_EQ(offsetsFileContent(*st).substr(0, 3), "1\r\n");
}

TEST_F(OffsetsFileTest, LoadFillsTheBoxesColoursAndActiveOffsets) {
    LoadOffs(*st, "0\r\n1\t20\t-15\t\r\n0\t5\t6\t\r\n1\t-1800\t1800\t\r\n");
    EXPECT_FALSE(st->Check1);
    EXPECT_EQ((std::vector<bool>{st->check2[0], st->check2[1], st->check2[2]}), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(st->Text4[1] + " " + st->Text5[2], "5 1800");
    // Not ticked: not applied.
    EXPECT_EQ(
        (std::vector<int>{st->ActiveOffsets[0], st->ActiveOffsets[16], st->ActiveOffsets[1], st->ActiveOffsets[17]}),
        (std::vector<int>{20, -15, 0, 0}));
    EXPECT_EQ(std::make_tuple(st->check2Back[0], st->Text5Back[0], st->Text4Back[1]),
              std::make_tuple(kOffsetAppliedBack, kOffsetAppliedBox, 0x80000005u));
}

// A first line 1 leaves the boxes to the program text (no recolouring either);
// the default content changes no box but recolours; short files read as 0.
TEST_F(OffsetsFileTest, FirstLineDecidesWhetherTheBoxesAreRead) {
    st->Text4[0] = "7";
    st->check2[0] = true;
    st->check2Back[0] = 1234;
    LoadOffs(*st, "1\r\n0\t99\t99\t\r\n");
    EXPECT_TRUE(st->Check1 && st->check2[0]);
    EXPECT_EQ(st->Text4[0] + "|" + std::to_string(st->check2Back[0]), "7|1234");

    auto d = std::make_unique<EditorState>();
    d->Text5[4] = "-3";
    d->check2[4] = true;
    LoadOffs(*d, defaultContent());
    EXPECT_TRUE(!d->Check1 && d->check2[4]);
    EXPECT_EQ(d->ActiveOffsets[20], -3);
    EXPECT_EQ(d->check2Back[4], kOffsetAppliedBack);

    for (const char* content : {"", "0"}) {
        st->Check1 = true;
        LoadOffs(*st, content);
        EXPECT_FALSE(st->Check1) << content;
    }
    st->Check1 = true;
    LoadOffs(fs_, *st);  // no file at all
    EXPECT_FALSE(st->Check1);
}

TEST_F(OffsetsFileTest, CharacterRulesOfTheReader) {
    // Letters, blanks, "+" and line feeds are skipped; only "-" and digits make the text.
    LoadOffs(*st, "0\r\n1\t2a0\t-3 x5+\t\r\n\n 0 \t1\t2\t\r\n");
    EXPECT_EQ(st->Text4[0] + " " + st->Text5[0] + " " + st->Text4[1] + " " + st->Text5[1], "20 -35 1 2");
    EXPECT_TRUE(st->check2[0] && !st->check2[1]);

    // A CR ends the line: fields not reached keep their boxes.
    auto cut = std::make_unique<EditorState>();
    cut->Text4[0] = "old";
    cut->Text5[0] = "kept";
    LoadOffs(*cut, "0\r\n1\t44\r\n0\t\t9\t\r\n");
    EXPECT_TRUE(cut->check2[0]);
    EXPECT_EQ(cut->Text4[0] + "|" + cut->Text5[0] + "|" + cut->Text4[1] + "|" + cut->Text5[1], "old|kept||9");

    // A check2 field other than 1 is not ticked; reading stops after the sixteenth line.
    LoadOffs(*cut, "0\r\n2\t1\t1\t\r\n");
    EXPECT_FALSE(cut->check2[0]);
    std::string content = "0\r\n";
    for (int i = 0; i < 20; ++i) content += "1\t" + std::to_string(i) + "\t" + std::to_string(i) + "\t\r\n";
    LoadOffs(*st, content);
    EXPECT_EQ(st->Text4[15], "15");
    for (bool t : st->check2) EXPECT_TRUE(t);
}

TEST(Offsets, WholeNumbersOfTheBoxes) {
    const std::pair<const char*, int> rows[] = {{" -15", -15}, {"12.6", 13},        {"7abc", 7},
                                                {"abc", 0},    {"99999999", 32767}, {"-99999999", -32768},
                                                {"-32769", -32768}};
    for (const auto& [text, value] : rows) EXPECT_EQ(wholeNumber(text), value) << text;
}

// From the text the boxes follow and non-zero outputs are ticked; from the boxes only ticked
// outputs are taken; ColoriOffs switches to the boxes.
TEST(Offsets, TakenFromTheTextOrFromTheTickedBoxes) {
    auto ed = std::make_unique<EditorState>();
    ed->Check1 = true;
    ed->TextOffsets[0][0] = 20;
    ed->TextOffsets[1][0] = -15;
    ed->TextOffsets[1][5] = 3;
    ed->check2[9] = true;
    takeOffsets(*ed);
    EXPECT_EQ((std::vector<int>{ed->ActiveOffsets[16], ed->ActiveOffsets[21]}), (std::vector<int>{-15, 3}));
    EXPECT_EQ(ed->Text5[0] + " " + ed->Text4[9], "-15 0");
    EXPECT_TRUE(ed->check2[5] && !ed->check2[9]);
    EXPECT_EQ(ed->Text4Back[5], kOffsetAppliedBox);
    EXPECT_EQ(ed->check2Back[9], kOffsetOffBack);

    ed->Check1 = false;
    ed->ActiveOffsets[1] = 44;
    ed->Text4[0] = "12";
    ed->Text5[0] = "-8";
    ed->Text4[1] = "99";
    ed->check2[1] = false;
    takeOffsets(*ed);
    EXPECT_EQ((std::vector<int>{ed->ActiveOffsets[0], ed->ActiveOffsets[16], ed->ActiveOffsets[1]}),
              (std::vector<int>{12, -8, 44}));  // not ticked: kept, and not applied

    ed->Check1 = true;
    ed->Text5[5] = "6";
    ed->check2[0] = false;
    ColoriOffs(*ed);
    EXPECT_FALSE(ed->Check1);
    EXPECT_EQ((std::vector<int>{ed->ActiveOffsets[21], ed->ActiveOffsets[0]}), (std::vector<int>{6, 0}));
    EXPECT_EQ(ed->check2Back[5], kOffsetAppliedBack);
}

}  // namespace
}  // namespace gyrel
