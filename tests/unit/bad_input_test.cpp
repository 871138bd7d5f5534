// The conventions every gyrel-cli subcommand shares (usage errors, the exit codes,
// --help, --version, --json, the completion script), and hostile or mistaken input:
// each is refused with its exit code and a message saying why, nothing reaches the
// device and no file changes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "cli/exit_codes.h"
#include "cli/port_name.h"
#include "platform/std_file_system.h"
#include "support/deskpl_writer.h"
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

namespace fs = std::filesystem;

// Every entry below a folder: its kind, mode, link target and contents.
std::map<std::string, std::string> snapshot(const std::string& dir) {
    std::map<std::string, std::string> seen;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const fs::file_status st = e.symlink_status();
        std::string what = std::to_string(static_cast<int>(st.type())) + " " +
                           std::to_string(static_cast<unsigned>(st.permissions()));
        if (fs::is_symlink(st)) what += " -> " + fs::read_symlink(e.path()).string();
        else if (fs::is_regular_file(st)) what += " " + StdFileSystem().readAll(e.path().string());
        seen[e.path().string()] = what;
    }
    return seen;
}

std::string deskplWithAngle(float angle) {
    test::DeskplWriter w;
    w.program(0, 1).count(0, 1, 2).entry(0, 1, 0, 10.0f, 1).entry(0, 1, 1, angle, 0);
    return w.bytes();
}

// Each row makes its files, then runs the words of args with its model and port "p";
// "@x" stands for the file x of the working folder.
struct BadInput {
    const char* model;
    std::function<void(clitest::CliRig&)> make;
    const char* args;
    int exitCode;
    const char* says;
};

void folder(clitest::CliRig& r, const char* name) { fs::create_directory(r.home.path() + "/" + name); }

const BadInput kCases[] = {
    {"NORM", [](auto& r) { folder(r, "d"); }, "download --slot 1 @d", cli::ExitRefused, "is a directory, not a program file"},
    {"NORM", nullptr, "download --slot 1 /dev/zero", cli::ExitRefused, "/dev/zero: it is not a regular file"},
    {"NORM", [](auto& r) { r.file("big.txt", std::string(5u << 20, ' ')); }, "download --slot 1 @big.txt",
     cli::ExitRefused, "holds 5242880 bytes; a program file holds at most 4194304"},
    {"NORM", nullptr, "download --list /dev/zero", cli::ExitRefused, "not a regular file"},
    {"KMT71", nullptr, "upload --port COM1 --slot 1", cli::ExitUsage,
     "/dev/ttyS* (built-in ports), /dev/ttyUSB* (USB serial adapters), /dev/ttyACM*"},
    {"KMT71", [](auto& r) { mkfifo((r.home.path() + "/fifo").c_str(), 0644); }, "upload --slot 1 --output @fifo",
     cli::ExitRefused, "not a regular file"},
    {"KMT71", [](auto& r) { chmod(r.file("kept.KVX", "old\r\n").c_str(), 0444); }, "upload --slot 1 --output @kept.KVX",
     cli::ExitRefused, "kept.KVX: the file is read-only"},
    {"NORM", [](auto& r) { folder(r, "d.dpl"); }, "import-deskpl --list @x.lis @d.dpl", cli::ExitRefused,
     "d.dpl: it is a directory, not a DESKPL file"},
    {"NORM", [](auto& r) { folder(r, "out"), r.file("a.dpl", deskplWithAngle(20.0f)); }, "import-deskpl --list @out @a.dpl",
     cli::ExitRefused, "out: it is a directory"},
    {"NORM", [](auto& r) { r.file("b.dpl", deskplWithAngle(3e38f)); }, "import-deskpl --list @y.lis @b.dpl",
     cli::ExitRefused, "record 1: output 1 entry 1 is no angle"},
    {"V712", [](auto& r) { r.file("bin.712", "PRG=1\r\n\x7f" "ELF\x01\x02"); }, "download --slot 1 @bin.712",
     cli::ExitRefused, "bin.712: line 2: control character 0x7F"},
    {"NORM", [](auto& r) { r.file("m.lis", "1   (/nowhere/\x1b[2Jx)\r\n"); }, "download --list @m.lis", cli::ExitRefused,
     "/nowhere/\\x1B[2Jx\nFile not present\n"},
    {"NORM", [](auto& r) { r.file("c.lis", "2   (" + r.file("bad.TXT", "' x\r\n1 100 200\r\n1 300 4000\r\n") + ")\r\n"); },
     "download --list @c.lis", cli::ExitRefused, "/bad.TXT:3: Wrong value\n"},
    {"Px71", nullptr, "preset write --preset 2=", cli::ExitUsage, "--preset 2=: no value"},
    {"V712", nullptr, "backup @x", cli::ExitRefused, "cannot send its programs back"},
    {"V712", nullptr, "restore @x", cli::ExitRefused, "cannot send its programs back"},
    {"V712", nullptr, "compare @x", cli::ExitRefused, "cannot send its programs back"},
};

TEST(BadInput, IsRefusedWithItsExitCodeAndNothingChanges) {
    for (const BadInput& c : kCases) {
        SCOPED_TRACE(c.args);
        clitest::CliRig r(c.model);
        r.device.setProgram(0, {{100, 1}, {200, 0}});
        if (c.make) c.make(r);
        std::vector<std::string> args = clitest::words(c.args);
        for (std::string& w : args) w = w[0] == '@' ? r.home.path() + "/" + w.substr(1) : w;
        const bool port = args[0] != "import-deskpl" && std::find(args.begin(), args.end(), "--port") == args.end();
        args.insert(args.begin() + (args[0] == "preset" ? 2 : 1), {"--model", c.model});
        if (port) args.insert(args.begin() + (args[0] == "preset" ? 4 : 3), {"--port", "p"});
        const auto before = snapshot(r.home.path());
        EXPECT_EQ(r.run(args), c.exitCode) << r.err.str();
        EXPECT_NE(r.err.str().find(c.says), std::string::npos) << r.err.str();
        EXPECT_EQ((r.out.str() + r.err.str()).find('\x1b'), std::string::npos);
        EXPECT_EQ(snapshot(r.home.path()), before);
        EXPECT_TRUE(r.device.received().empty());
    }
    clitest::CliRig r("NORM");  // an empty port name
    EXPECT_EQ(r.run({"download", "--model", "NORM", "--port", "", "--slot", "1", r.file("p.txt", "1 100 200\r\n")}),
              cli::ExitUsage);
    EXPECT_EQ(r.err.str().rfind("--port is empty", 0), 0u) << r.err.str();
}

// The one save helper: a link is followed, the mode kept, and neither the
// link nor the file's other attributes change.
TEST(BadInput, SavingThroughALinkReplacesItsTargetAndKeepsTheMode) {
    clitest::CliRig r("KMT71");
    r.device.setProgram(4, {{100, 1}, {2000, 0}});
    const std::string target = r.file("real.KVX", "old\r\n");
    chmod(target.c_str(), 0640);
    const std::string link = r.home.path() + "/link.KVX";
    fs::create_symlink("real.KVX", link);
    ASSERT_EQ(r.run({"upload", "--model", "KMT71", "--port", "p", "--slot", "5", "--output", link}), 0) << r.err.str();
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_NE(StdFileSystem().readAll(target).find("1\t100\t2000\r\n"), std::string::npos);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_FALSE(fs::exists(target + ".tmp~"));

    // Nothing can be written beside it: the message names the file the operator
    // chose, which keeps its bytes, and what stood beside is left alone.
    const std::string before = StdFileSystem().readAll(target);
    fs::create_directories(target + ".tmp~/in-use");
    try {
        StdFileSystem().replaceFile(link, "new\r\n");
        ADD_FAILURE() << "saved with no room beside it";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "cannot write " + link + ": Is a directory");
    }
    EXPECT_EQ(StdFileSystem().readAll(target), before);
    EXPECT_TRUE(fs::exists(target + ".tmp~/in-use"));
}

}  // namespace
}  // namespace gyrel
