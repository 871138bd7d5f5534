#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

using clitest::CliRig;

// What check and prepare print for a program file, with their exit codes.
TEST(CliCheck, ChecksAndPreparesAProgramFile) {
    struct Row {
        const char* args;  // the file's path follows
        const char* text;
        int code;
        const char* out;
        std::string err;  // "@" stands for the file's path
    };
    const Row rows[] = {
        {"check --model NORM", "' c\r\n1 100 250\r\n1 3000 50\r\n2 0 0\r\n3 1 1\r\n&\r\n1 20 -15\r\n", 0, "", ""},
        {"check --model NORM", "1 100 4000\r\n", 1, "", "Wrong value\nNot valid  ' 4000 '\n@:1: Wrong value\n"},
        {"check --model V820AX", "1 100 4000\r\n", 0, "", ""},  // a longer range
        {"check --model NORM --language it", "1 100\r\n", 1, "",
         "Manca quota OFF\nParametro errato  ' 100 '\n@:1: Manca quota OFF\n"},
        // The ON offset moves the second cam onto the first one.
        {"check --model NORM", "4 100 200\r\n4 300 400\r\n&\r\n4 -150 0\r\n", 1, "",
         "Crossed values - Output 4 Row2\nOutput 4    On 300    Off 400\n\nUsing Offsets... \n\n\n"
         "Output just turned on\nAt row1  -- Value100\n@:1: Crossed values - Output 4 Row2\n"},
        // Output 1: ON 120..234 and 3020..34 (offsets applied); output 3 always ON.
        {"prepare --model NORM", "1 100 250\r\n1 3000 50\r\n3 1 1\r\n&\r\n1 20 -15\r\n", 0,
         "CamCount 4\n35 4\n120 5\n235 4\n3020 5\n", ""},
        {"prepare --model NORM", "4 7 7\r\n", 1, "",
         "Crossed values - Output 4 Row1\nOutput 4    On 7    Off 7\n\nTwice value\nAt row1  -- Value7\n"
         "@:1: Crossed values - Output 4 Row1\n"},
        // Output 2 is always ON; the later row of output 2 acts only on its own
        // edges: its ON edge keeps it ON, its OFF edge drops it for one position.
        {"prepare --model Px71", "16 4294967000 5\r\n1 0 0\r\n2 1 1\r\n2 2000000000 2000000001\r\n", 0,
         "CamCount 4\n5 2\n2000000001 0\n2000000002 2\n4294967000 32770\n", ""},
        {"prepare --model V712", "PRG=1,OUT=1,OFS=0,CON=100,COF=200\r\n", 0, "CamCount 0\n", ""},
        {"check --model NORM", nullptr, 1, "", "cannot read @: No such file or directory\n"},  // no such file
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        CliRig rig("NORM");
        const std::string path = r.text ? rig.file("p.txt", r.text) : rig.home.path() + "/missing.txt";
        std::istringstream words(r.args);
        std::vector<std::string> args;
        for (std::string w; words >> w;) args.push_back(w);
        args.push_back(path);
        EXPECT_EQ(rig.run(args), r.code);
        EXPECT_EQ(rig.out.str(), r.out);
        std::string err = r.err;
        if (const auto at = err.find('@'); at != std::string::npos) err.replace(at, 1, path);
        EXPECT_EQ(rig.err.str(), err);
        EXPECT_FALSE(std::filesystem::exists(rig.home.path() + "/lav.lav"));  // the work file is left alone
    }
}

TEST(CliCheck, PrepareWithTooManyChangePointsKeepsTheFirst120) {
    std::string text;
    for (int i = 0; i < 66; ++i)
        text += "1 " + std::to_string(10 + i * 50) + " " + std::to_string(30 + i * 50) + "\r\n";
    CliRig r("NORM");
    EXPECT_EQ(r.run({"prepare", "--model", "NORM", r.file("p.txt", text)}), 0);
    EXPECT_EQ(r.err.str(), "too much cams\nProgrammed 132 camms\nMAX NUM of CAMS = 120 !!!\n");
    std::istringstream lines(r.out.str());
    std::string line, last;
    std::getline(lines, line);
    EXPECT_EQ(line, "CamCount 132");
    int n = 0;
    for (; std::getline(lines, line); ++n) last = line;
    EXPECT_EQ(n, 120);
    EXPECT_EQ(last, "2980 0");  // the 60th cam's OFF
}

}  // namespace
}  // namespace gyrel
