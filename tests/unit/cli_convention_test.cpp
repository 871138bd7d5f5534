// The conventions every gyrel-cli subcommand shares: usage errors, the exit
// codes, --help, --version, --json and the completion script.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "cli/port_name.h"
#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

using clitest::CliRig;

struct UsageCase {
    std::vector<std::string> args;
    int code;
    const char* said;  // the start of what standard error says
};

TEST(CliConvention, UsageErrorsAndBadValuesHaveOneCodeInEverySubcommand) {
    const UsageCase cases[] = {
        {{"status", "--model", "NORM", "--port", "p", "--lang", "XX"}, 64, "--lang: unknown language \"XX\""},
        {{"download", "--model", "NORM", "--port", "p", "--slot", "1", "--lang", "XX", "f"}, 64, "--lang: unknown"},
        {{"upload", "--model", "V820AX", "--port", "p", "--slot", "1", "--lang", "es"}, 64, "--lang: unknown"},
        {{"preset", "read", "--model", "Px71", "--port", "p", "--lang", "XX"}, 64, "--lang: unknown"},
        {{"import-deskpl", "--model", "NORM", "--list", "l.lis", "--language", "XX", "d"}, 64, "--lang: unknown"},
        {{"check", "--model", "KRT9", "f"}, 64, "--model: unknown model \"KRT9\" (one of NORM, OLD,"},
        {{"download", "--model", "KRT9", "--port", "p", "--slot", "1", "f"}, 64, "--model: unknown model"},
        {{"status", "--model", "KRT9", "--port", "p"}, 64, "--model: unknown model"},
        {{"stauts", "--model", "NORM"}, 64, "gyrel-cli: unknown subcommand \"stauts\" (one of import-deskpl,"},
        {{"preset", "rd"}, 64, "preset: unknown subcommand \"rd\" (one of read, write)"},
        {{"preset"}, 64, "A subcommand is required"},
        {{}, 64, "A subcommand is required"},
        {{"status", "--model", "NORM"}, 64, "--port is required"},
        {{"status", "--model", "NORM", "--port", "p", "--colour"}, 64, "The following argument"},
        {{"download", "--model", "NORM", "--port", "p", "--slot", "17", "f"}, 1, "--slot must be a program number"},
        {{"upload", "--model", "V820AX", "--port", "p", "--slot", "0"}, 1, "--slot must be a program number"},
        {{"status", "--model", "NORM", "--port", "p", "--count", "0"}, 1, "the count must be at least 1"},
        {{"upload", "--model", "V820AX", "--port", "p", "--slot", "1", "--list", "l.lis"}, 64, "--list requires --all"},
    };
    for (const UsageCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        CliRig r("NORM");
        EXPECT_EQ(r.run(c.args), c.code);
        EXPECT_EQ(r.err.str().rfind(c.said, 0), 0u) << r.err.str();
        EXPECT_TRUE(r.device.received().empty());  // nothing reached the device
    }
    // Only COM and digits is a Windows port name.
    EXPECT_EQ(cli::portNameProblem("COMx") + cli::portNameProblem("COM1x"), "");
    EXPECT_NE(cli::portNameProblem("com12"), "");
}

TEST(CliConvention, HelpNamesTheProgramAndListsTheExitCodesVersionPrintsIt) {
    CliRig r("NORM");
    EXPECT_EQ(r.run({"--help"}), 0);
    const std::string help = r.out.str();
    for (const char* said : {"Usage: gyrel-cli [OPTIONS] SUBCOMMAND", "  64  usage error", "   3  the device differs from the file"})
        EXPECT_NE(help.find(said), std::string::npos) << help;
    EXPECT_EQ(help.find("completion"), std::string::npos) << help;  // hidden
    EXPECT_EQ(r.run({"--version"}), 0);
    EXPECT_EQ(r.out.str(), std::string("gyrel-cli ") + cli::version() + "\n");
    EXPECT_EQ(r.run({"status", "--help"}), 0);
    EXPECT_NE(r.out.str().find("--json"), std::string::npos);
}

TEST(CliConvention, PrepareJsonHoldsTheSameTable) {
    CliRig r("NORM");
    const std::string p = r.file("p.txt", "1 100 250\r\n1 3000 50\r\n3 1 1\r\n&\r\n1 20 -15\r\n");
    EXPECT_EQ(r.run({"prepare", "--model", "NORM", "--json", p}), 0) << r.err.str();
    EXPECT_EQ(r.out.str(),
              "{\"camCount\":4,\"points\":[{\"position\":35,\"mask\":4},{\"position\":120,\"mask\":5},"
              "{\"position\":235,\"mask\":4},{\"position\":3020,\"mask\":5}]}\n");
}

TEST(CliConvention, StatusJsonIsOneObjectPerReply) {
    CliRig r("KMT71");
    r.device.setShaftSpeed(0, 0);
    r.device.setPosition(10000, 0);
    EXPECT_EQ(r.job("status --count 2 --json"), 0) << r.err.str();
    const std::string line =
        "{\"valid\":true,\"position\":\"10000\",\"turn\":\"2\",\"turnAt\":\"1808\",\"program\":\"1\",\"cams\":\"0\","
        "\"outputs\":\"10100101\",\"link\":4}\n";
    EXPECT_EQ(r.out.str(), "{\"query\":1," + line.substr(1) + "{\"query\":2," + line.substr(1));
}

// The completion script, sourced in bash, offers what the parser takes.
std::string complete(const std::string& script, const std::string& words, int cword) {
    const std::string path = ::testing::TempDir() + "gyrel-completion.bash";
    std::ofstream(path) << script;
    const std::string cmd = "bash -c 'source " + path + "; COMP_WORDS=(" + words + "); COMP_CWORD=" +
                            std::to_string(cword) + "; _gyrel_cli; echo \"${COMPREPLY[*]}\"'";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out;
}

TEST(CliConvention, BashCompletionOffersSubcommandsOptionsAndValues) {
    CliRig r("NORM");
    ASSERT_EQ(r.run({"completion", "bash"}), 0);
    const std::string script = r.out.str();
    EXPECT_EQ(complete(script, "gyrel-cli pr ''", 1), "prepare preset\n");
    EXPECT_EQ(complete(script, "gyrel-cli status --model NORM --j", 4), "--json\n");
    EXPECT_EQ(complete(script, "gyrel-cli download --model N", 3), "NORM\n");
    EXPECT_EQ(complete(script, "gyrel-cli check --lang ''", 3), "IT EN DE FR\n");
    EXPECT_EQ(complete(script, "gyrel-cli preset w", 2), "write\n");
}

}  // namespace
}  // namespace gyrel
