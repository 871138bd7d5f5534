#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/offsets_file.h"
#include "platform/std_file_system.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"

namespace gyrel {
namespace {

namespace stdfs = std::filesystem;

struct OffsetsFileTest : ::testing::Test {
    testing_doubles::TempHome temp;  // its folders do not exist yet
    std::string home_ = temp.home();
    StdFileSystem fs_;
};

const std::string kDefault =
    "0\r\n"
    "0   0   0   \r\n0   0   0   \r\n0   0   0   \r\n0   0   0   \r\n"
    "0   0   0   \r\n0   0   0   \r\n0   0   0   \r\n0   0   0   \r\n"
    "0   0   0   \r\n0   0   0   \r\n0   0   0   \r\n0   0   0   \r\n"
    "0   0   0   \r\n0   0   0   \r\n0   0   0   \r\n0   0   0   \r\n";

TEST_F(OffsetsFileTest, MissingFileIsCreatedWithItsFoldersAndTheDefaultLines) {
    ASSERT_FALSE(stdfs::exists(stdfs::path(home_).parent_path()));
    ensureOffsetsFile(fs_);
    EXPECT_EQ(OffsetsFilePath(), joinPath(home_, "Offs.lav"));
    EXPECT_EQ(fs_.readAll(OffsetsFilePath()), kDefault);

    fs_.writeAll(OffsetsFilePath(), "1\r\n");  // an existing file is left alone
    ensureOffsetsFile(fs_);
    EXPECT_EQ(fs_.readAll(OffsetsFilePath()), "1\r\n");
}

TEST_F(OffsetsFileTest, SaveWritesCheck1ThenOneTabbedLinePerOutput) {
    stdfs::create_directories(home_);
    EditorState st;
    st.Check1 = false;
    st.check2[0] = true;
    st.Text4[0] = "20";
    st.Text5[0] = "-15";
    st.Text4[15] = "7";
    SaveOffs(fs_, st);
    std::string expected = "0\r\n1\t20\t-15\t\r\n";
    for (int i = 1; i < 15; ++i) expected += "0\t\t\t\r\n";
    expected += "0\t7\t\t\r\n";
    EXPECT_EQ(fs_.readAll(OffsetsFilePath()), expected);

    st.Check1 = true;
    EXPECT_EQ(offsetsFileContent(st).substr(0, 3), "1\r\n");
}

TEST_F(OffsetsFileTest, LoadFillsTheBoxesColoursAndActiveOffsets) {
    EditorState st;
    LoadOffs(st, "0\r\n1\t20\t-15\t\r\n0\t5\t6\t\r\n1\t-1800\t1800\t\r\n");
    EXPECT_FALSE(st.Check1);
    EXPECT_EQ((std::vector<bool>{st.check2[0], st.check2[1], st.check2[2]}), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(st.Text4[1], "5");
    EXPECT_EQ(st.Text5[2], "1800");
    EXPECT_EQ(st.ActiveOffsets[0], 20);
    EXPECT_EQ(st.ActiveOffsets[16], -15);
    EXPECT_EQ(st.ActiveOffsets[1], 0);  // not ticked: not applied
    EXPECT_EQ(st.ActiveOffsets[17], 0);
    EXPECT_EQ(st.check2Back[0], 0xC0C0FFu);
    EXPECT_EQ(st.Text5Back[0], 0xC0FFFFu);
    EXPECT_EQ(st.Text4Back[1], 0x80000005u);

    stdfs::create_directories(home_);  // what is saved reads back the same
    EditorState a;
    a.Check1 = false;
    for (int i = 0; i < 16; ++i) {
        a.check2[i] = i % 3 == 0;
        a.Text4[i] = std::to_string(i * 10 - 50);
        a.Text5[i] = std::to_string(-i);
    }
    SaveOffs(fs_, a);
    EditorState b;
    LoadOffs(fs_, b);
    EXPECT_EQ(b.check2, a.check2);
    EXPECT_EQ(b.Text4, a.Text4);
    EXPECT_EQ(b.Text5, a.Text5);
    EXPECT_EQ(b.ActiveOffsets[19], -3);
}

TEST_F(OffsetsFileTest, FirstLineOneLeavesTheBoxesToTheProgramText) {
    EditorState st;
    st.Text4[0] = "7";
    st.check2[0] = true;
    st.check2Back[0] = 1234;
    LoadOffs(st, "1\r\n0\t99\t99\t\r\n");
    EXPECT_TRUE(st.Check1);
    EXPECT_EQ(st.Text4[0], "7");
    EXPECT_TRUE(st.check2[0]);
    EXPECT_EQ(st.check2Back[0], 1234u);  // no recolouring either
}

TEST_F(OffsetsFileTest, DefaultContentChangesNoBoxButRecolours) {
    EditorState st;
    st.Text5[4] = "-3";
    st.check2[4] = true;
    LoadOffs(st, kDefault);
    EXPECT_FALSE(st.Check1);
    EXPECT_TRUE(st.check2[4]);
    EXPECT_EQ(st.ActiveOffsets[20], -3);
    EXPECT_EQ(st.check2Back[4], 0xC0C0FFu);
}

TEST_F(OffsetsFileTest, CharacterRulesOfTheReader) {
    EditorState st;
    // Letters, blanks, "+" and line feeds are skipped; only "-" and digits make the text.
    LoadOffs(st, "0\r\n1\t2a0\t-3 x5+\t\r\n\n 0 \t1\t2\t\r\n");
    EXPECT_EQ(st.Text4[0] + " " + st.Text5[0] + " " + st.Text4[1] + " " + st.Text5[1], "20 -35 1 2");
    EXPECT_EQ(st.check2[0] && !st.check2[1], true);

    // A CR ends the line: fields not reached keep their boxes.
    EditorState cut;
    cut.Text4[0] = "old";
    cut.Text5[0] = "kept";
    LoadOffs(cut, "0\r\n1\t44\r\n0\t\t9\t\r\n");
    EXPECT_TRUE(cut.check2[0]);
    EXPECT_EQ(cut.Text4[0], "old");
    EXPECT_EQ(cut.Text5[0], "kept");
    EXPECT_EQ(cut.Text4[1], "");
    EXPECT_EQ(cut.Text5[1], "9");

    // A check2 field other than 1 is not ticked.
    EditorState two;
    LoadOffs(two, "0\r\n2\t1\t1\t\r\n");
    EXPECT_FALSE(two.check2[0]);
}

TEST_F(OffsetsFileTest, ReadingStopsAfterTheSixteenthLine) {
    std::string content = "0\r\n";
    for (int i = 0; i < 20; ++i) content += "1\t" + std::to_string(i) + "\t" + std::to_string(i) + "\t\r\n";
    EditorState st;
    LoadOffs(st, content);
    EXPECT_EQ(st.Text4[15], "15");
    for (bool t : st.check2) EXPECT_TRUE(t);
}

TEST_F(OffsetsFileTest, ShortOrMissingFilesAreRead) {
    for (const char* content : {"", "0"}) {
        EditorState st;
        st.Check1 = true;
        LoadOffs(st, content);
        EXPECT_FALSE(st.Check1) << content;
    }
    EditorState missing;
    missing.Check1 = true;
    LoadOffs(fs_, missing);  // no file at all
    EXPECT_FALSE(missing.Check1);
}

}  // namespace
}  // namespace gyrel
