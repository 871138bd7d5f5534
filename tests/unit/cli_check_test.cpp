#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"

namespace gyrel {
namespace {

class CliCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/gyrel-check-XXXXXX";
        dir = mkdtemp(pattern);
        setenv("GYREL_HOME", (dir + "/home").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("GYREL_HOME");
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string program(const std::string& text) {
        const std::string path = dir + "/p.txt";
        fs.writeAll(path, text);
        return path;
    }
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        cli::Env env{out, err, clock, [](const std::string&) { return std::unique_ptr<SerialPort>(); }};
        return cli::run(args, env);
    }
    std::string dir;
    std::ostringstream out, err;
    VirtualClock clock;
    StdFileSystem fs;
};

TEST_F(CliCheckTest, CheckPassesAGoodProgramSilently) {
    const std::string p = program("' cam set 1\r\n1 100 250\r\n1 3000 50\r\n2 0 0\r\n3 1 1\r\n&\r\n1 20 -15\r\n");
    EXPECT_EQ(run({"check", "--model", "NORM", p}), 0) << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "");
}

TEST_F(CliCheckTest, CheckShowsTheParseErrorBoxInEnglishByDefault) {
    const std::string p = program("1 100 4000\r\n");
    EXPECT_EQ(run({"check", "--model", "NORM", p}), 1);
    EXPECT_EQ(err.str(), "Wrong value\nNot valid  ' 4000 '\n" + p + ":1: Wrong value\n");
    EXPECT_EQ(out.str(), "");
    // The same value is a position on a model with a longer range.
    EXPECT_EQ(run({"check", "--model", "V820AX", p}), 0) << err.str();
}

TEST_F(CliCheckTest, CheckSpeaksTheChosenLanguage) {
    const std::string p = program("1 100\r\n");
    EXPECT_EQ(run({"check", "--model", "NORM", "--lang", "IT", p}), 1);
    EXPECT_EQ(err.str(), "Manca quota OFF\nParametro errato  ' 100 '\n" + p + ":1: Manca quota OFF\n");
    EXPECT_EQ(run({"check", "--model", "NORM", "--lang", "FR", p}), 1);
    EXPECT_EQ(err.str(), "Valeur OFF nescessaire\nInvalide  ' 100 '\n" + p + ":1: Valeur OFF nescessaire\n");
    EXPECT_EQ(run({"check", "--model", "NORM", "--lang", "DE", p}), 1);
    EXPECT_EQ(err.str(), "Needed OFF value\nNot valid  ' 100 '\n" + p + ":1: Needed OFF value\n");
}

TEST_F(CliCheckTest, CheckShowsTheDataControlBoxLineByLine) {
    const std::string p = program("1 10 20\r\n1 20 30\r\n");
    EXPECT_EQ(run({"check", "--model", "NORM", p}), 1);
    EXPECT_EQ(err.str(),
              "Crossed values - Output 1 Row2\n"
              "Output 1    On 20    Off 30\n"
              "\n"
              "Output just turned on\n"
              "At row1  -- Value10\n" +
                  p + ":1: Crossed values - Output 1 Row2\n");
}

TEST_F(CliCheckTest, CheckTakesTheOffsetsFromTheText) {
    // The ON offset moves the second cam onto the first one.
    const std::string p = program("4 100 200\r\n4 300 400\r\n&\r\n4 -150 0\r\n");
    EXPECT_EQ(run({"check", "--model", "NORM", p}), 1);
    EXPECT_EQ(err.str(),
              "Crossed values - Output 4 Row2\n"
              "Output 4    On 300    Off 400\n"
              "\n"
              "Using Offsets... \n"
              "\n"
              "\n"
              "Output just turned on\n"
              "At row1  -- Value100\n" +
                  p + ":1: Crossed values - Output 4 Row2\n");
}

TEST_F(CliCheckTest, PrepareListsTheChangePoints) {
    const std::string p = program("1 100 250\r\n1 3000 50\r\n3 1 1\r\n&\r\n1 20 -15\r\n");
    EXPECT_EQ(run({"prepare", "--model", "NORM", p}), 0) << err.str();
    // Output 1: ON 120..234 and 3020..34 (offsets applied); output 3 always ON.
    EXPECT_EQ(out.str(), "CamCount 4\n35 4\n120 5\n235 4\n3020 5\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(CliCheckTest, PrepareOfAFailedCheckPrintsNothing) {
    const std::string p = program("4 7 7\r\n");
    EXPECT_EQ(run({"prepare", "--model", "NORM", p}), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "Crossed values - Output 4 Row1\n"
              "Output 4    On 7    Off 7\n"
              "\n"
              "Twice value\n"
              "At row1  -- Value7\n" +
                  p + ":1: Crossed values - Output 4 Row1\n");
}

TEST_F(CliCheckTest, PrepareWithTooManyChangePointsKeepsTheFirst120) {
    std::string text;
    for (int i = 0; i < 66; ++i) text += "1 " + std::to_string(10 + i * 50) + " " + std::to_string(30 + i * 50) + "\r\n";
    const std::string p = program(text);
    EXPECT_EQ(run({"prepare", "--model", "NORM", p}), 0);
    EXPECT_EQ(err.str(), "too much cams\nProgrammed 132 camms\nMAX NUM of CAMS = 120 !!!\n");
    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "CamCount 132");
    int n = 0;
    std::string last;
    while (std::getline(lines, line)) {
        ++n;
        last = line;
    }
    EXPECT_EQ(n, 120);
    EXPECT_EQ(last, "2980 0");  // the 60th cam's OFF
}

TEST_F(CliCheckTest, PreparesTheWholeRangeOfPx71) {
    const std::string p = program("16 4294967000 5\r\n1 0 0\r\n2 1 1\r\n2 2000000000 2000000001\r\n");
    EXPECT_EQ(run({"prepare", "--model", "Px71", p}), 0) << err.str();
    // Output 2 is always ON; the later row of output 2 acts only on its own
    // edges: its ON edge keeps it ON, its OFF edge drops it for one position.
    EXPECT_EQ(out.str(), "CamCount 4\n5 2\n2000000001 0\n2000000002 2\n4294967000 32770\n");
}

TEST_F(CliCheckTest, ALastLineWithoutLineEndCounts) {
    const std::string p = program("1 100 250");
    EXPECT_EQ(run({"prepare", "--model", "NORM", p}), 0) << err.str();
    EXPECT_EQ(out.str(), "CamCount 2\n100 1\n250 0\n");
}

TEST_F(CliCheckTest, V712TextsHaveNoTable) {
    const std::string p = program("PRG=1,OUT=1,OFS=0,CON=100,COF=200\r\n");
    EXPECT_EQ(run({"check", "--model", "V712", p}), 0);
    EXPECT_EQ(run({"prepare", "--model", "V712", p}), 0);
    EXPECT_EQ(out.str(), "CamCount 0\n");
}

TEST_F(CliCheckTest, RefusesUnknownModelsAndMissingFiles) {
    const std::string p = program("1 100 250\r\n");
    EXPECT_NE(run({"check", "--model", "norm", p}), 0);
    EXPECT_NE(run({"check", "--model", "NORM", "--lang", "ES", p}), 0);
    EXPECT_EQ(run({"check", "--model", "NORM", dir + "/missing.txt"}), 2);
    EXPECT_EQ(err.str(), "cannot read " + dir + "/missing.txt: No such file or directory\n");
}

TEST_F(CliCheckTest, LeavesTheWorkFileAlone) {
    const std::string p = program("1 100 250\r\n");
    EXPECT_EQ(run({"check", "--model", "NORM", p}), 0);
    EXPECT_FALSE(std::filesystem::exists(dir + "/home/lav.lav"));
}

}  // namespace
}  // namespace gyrel
