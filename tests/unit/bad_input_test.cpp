// The conventions every gyrel-cli subcommand shares (usage errors, the exit codes,
// --help, --version, --json, the completion script), and hostile or mistaken input:
// each is refused with its exit code and a message saying why, nothing reaches the
// device and no file changes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <tuple>

#include "cli/exit_codes.h"
#include "cli/port_name.h"
#include "platform/std_file_system.h"
#include "support/deskpl_writer.h"
#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

using ::testing::HasSubstr;

using clitest::CliRig;

// The completion script, sourced in bash, offers what the parser takes.
std::string complete(const std::string& script, const std::string& words, int cword) {
    const std::string path = ::testing::TempDir() + "gyrel-completion.bash";
    std::ofstream(path) << script;
    const std::string cmd = "bash -c 'source " + path + "; COMP_WORDS=(" + words + "); COMP_CWORD=" +
                            std::to_string(cword) + "; _gyrel_cli; echo \"${COMPREPLY[*]}\"' > " + path + ".out";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return StdFileSystem().readAll(path + ".out");
}

// --help lists the exit codes but not the hidden completion job; --version prints the version.
TEST(CliConvention, HelpVersionAndTheBashCompletionOfSubcommandsOptionsAndValues) {
    CliRig r("NORM");
    EXPECT_EQ(r.run({"--help"}), 0);
    for (const char* said : {"Usage: gyrel-cli [OPTIONS] SUBCOMMAND", "  64  usage error", "   3  the device differs from the file"})
        EXPECT_THAT(r.out.str(), HasSubstr(said));
    EXPECT_EQ(r.out.str().find("completion"), std::string::npos) << r.out.str();
    EXPECT_EQ(r.run({"--version"}), 0);
    EXPECT_EQ(r.out.str(), std::string("gyrel-cli ") + cli::version() + "\n");
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

void folder(clitest::CliRig& r, const char* name) { fs::create_directory(r.home.path() + "/" + name); }

// Each row (model, files to make, args, exit code, what standard error says) makes its
// files, then runs the words of args on a rig of its model; "%" stands for "--model" with
// that model and "--port p", "@x" for the file x of the working folder, "''" for an empty word.
const std::tuple<const char*, std::function<void(clitest::CliRig&)>, const char*, int, const char*> kCases[] = {
    // Usage errors and bad values have one code in every subcommand.
    {"NORM", nullptr, "status % --lang XX", cli::ExitUsage, "--lang: unknown language \"XX\""},
    {"NORM", nullptr, "download % --slot 1 --lang XX f", cli::ExitUsage, "--lang: unknown"},
    {"V820AX", nullptr, "upload % --slot 1 --lang es", cli::ExitUsage, "--lang: unknown"},
    {"Px71", nullptr, "preset read % --lang XX", cli::ExitUsage, "--lang: unknown"},
    {"NORM", nullptr, "import-deskpl --model NORM --list l.lis --language XX d", cli::ExitUsage, "--lang: unknown"},
    {"NORM", nullptr, "check --model KRT9 f", cli::ExitUsage, "--model: unknown model \"KRT9\" (one of NORM, OLD,"},
    {"NORM", nullptr, "download --model KRT9 --port p --slot 1 f", cli::ExitUsage, "--model: unknown model"},
    {"NORM", nullptr, "status --model KRT9 --port p", cli::ExitUsage, "--model: unknown model"},
    {"NORM", nullptr, "stauts --model NORM", cli::ExitUsage,
     "gyrel-cli: unknown subcommand \"stauts\" (one of import-deskpl,"},
    {"NORM", nullptr, "preset rd", cli::ExitUsage, "preset: unknown subcommand \"rd\" (one of read, write)"},
    {"NORM", nullptr, "preset", cli::ExitUsage, "A subcommand is required"},
    {"NORM", nullptr, "", cli::ExitUsage, "A subcommand is required"},
    {"NORM", nullptr, "status --model NORM", cli::ExitUsage, "--port is required"},
    {"NORM", nullptr, "status % --colour", cli::ExitUsage, "The following argument"},
    {"NORM", nullptr, "download % --slot 17 f", cli::ExitRefused, "--slot must be a program number"},
    {"V820AX", nullptr, "upload % --slot 0", cli::ExitRefused, "--slot must be a program number"},
    {"NORM", nullptr, "status % --count 0", cli::ExitRefused, "the count must be at least 1"},
    {"V820AX", nullptr, "upload % --slot 1 --list l.lis", cli::ExitUsage, "--list requires --all"},
    {"NORM", [](auto& r) { r.file("p.txt", "1 100 200\r\n"); }, "download --model NORM --port '' --slot 1 @p.txt",
     cli::ExitUsage, "--port is empty"},
    {"KMT71", nullptr, "upload --model KMT71 --port COM1 --slot 1", cli::ExitUsage,
     "/dev/ttyS* (built-in ports), /dev/ttyUSB* (USB serial adapters), /dev/ttyACM*"},
    {"Px71", nullptr, "preset write % --preset 2=", cli::ExitUsage, "--preset 2=: no value"},
    // Hostile or mistaken files.
    {"NORM", [](auto& r) { folder(r, "d"); }, "download % --slot 1 @d", cli::ExitRefused,
     "is a directory, not a program file"},
    {"NORM", nullptr, "download % --slot 1 /dev/zero", cli::ExitRefused, "/dev/zero: it is not a regular file"},
    {"NORM", [](auto& r) { r.file("big.txt", std::string(5u << 20, ' ')); }, "download % --slot 1 @big.txt",
     cli::ExitRefused, "holds 5242880 bytes; a program file holds at most 4194304"},
    {"NORM", nullptr, "download % --list /dev/zero", cli::ExitRefused, "not a regular file"},
    {"KMT71", [](auto& r) { mkfifo((r.home.path() + "/fifo").c_str(), 0644); }, "upload % --slot 1 --output @fifo",
     cli::ExitRefused, "not a regular file"},
    {"KMT71", [](auto& r) { chmod(r.file("kept.KVX", "old\r\n").c_str(), 0444); },
     "upload % --slot 1 --output @kept.KVX", cli::ExitRefused, "kept.KVX: the file is read-only"},
    {"NORM", [](auto& r) { folder(r, "d.dpl"); }, "import-deskpl --model NORM --list @x.lis @d.dpl",
     cli::ExitRefused, "d.dpl: it is a directory, not a DESKPL file"},
    {"NORM", [](auto& r) { folder(r, "out"), r.file("a.dpl", deskplWithAngle(20.0f)); },
     "import-deskpl --model NORM --list @out @a.dpl", cli::ExitRefused, "out: it is a directory"},
    {"NORM", [](auto& r) { r.file("b.dpl", deskplWithAngle(3e38f)); }, "import-deskpl --model NORM --list @y.lis @b.dpl",
     cli::ExitRefused, "record 1: output 1 entry 1 is no angle"},
    {"V712", [](auto& r) { r.file("bin.712", "PRG=1\r\n\x7f" "ELF\x01\x02"); }, "download % --slot 1 @bin.712",
     cli::ExitRefused, "bin.712: line 2: control character 0x7F"},
    {"NORM", [](auto& r) { r.file("m.lis", "1   (/nowhere/\x1b[2Jx)\r\n"); }, "download % --list @m.lis",
     cli::ExitRefused, "/nowhere/\\x1B[2Jx\nFile not present\n"},
    {"NORM", [](auto& r) { r.file("c.lis", "2   (" + r.file("bad.TXT", "' x\r\n1 100 200\r\n1 300 4000\r\n") + ")\r\n"); },
     "download % --list @c.lis", cli::ExitRefused, "/bad.TXT:3: Wrong value\n"},
    {"V712", nullptr, "backup % @x", cli::ExitRefused, "cannot send its programs back"},
    {"V712", nullptr, "restore % @x", cli::ExitRefused, "cannot send its programs back"},
    {"V712", nullptr, "compare % @x", cli::ExitRefused, "cannot send its programs back"},
    // What the simulator cannot serve.
    {"NORM", nullptr, "simulate --model krt71", cli::ExitUsage,
     "--model: unknown model \"krt71\" (one of NORM, OLD, V712, V820AX, V820HX, KMT71, Px71)\n"},
    {"NORM", nullptr, "simulate --model NORM --fault silent --fault late:x", cli::ExitRefused,
     "unknown fault \"late:x\" (known: silent, late:MS,"},
    {"NORM", nullptr, "simulate --model NORM --slot 17", cli::ExitRefused, "the slot must be 1..16\n"},
    {"NORM", nullptr, "simulate", cli::ExitUsage, "--model is required"},
};

// Each is refused with its exit code and a message saying why; nothing reaches the
// device, no file changes, and no escape sequence reaches the terminal.
TEST(BadInput, IsRefusedWithItsExitCodeAndNothingChanges) {
    for (const auto& [model, make, job, exitCode, says] : kCases) {
        SCOPED_TRACE(job);
        clitest::CliRig r(model);
        r.device.setProgram(0, {{100, 1}, {200, 0}});
        if (make) make(r);
        std::vector<std::string> args;
        for (const std::string& w : clitest::words(job)) {
            if (w == "%") args.insert(args.end(), {"--model", model, "--port", "p"});
            else args.push_back(w == "''" ? "" : w[0] == '@' ? r.home.path() + "/" + w.substr(1) : w);
        }
        const auto before = snapshot(r.home.path());
        EXPECT_EQ(r.run(args), exitCode) << r.err.str();
        EXPECT_THAT(r.err.str(), HasSubstr(says));
        EXPECT_EQ((r.out.str() + r.err.str()).find('\x1b'), std::string::npos);
        EXPECT_EQ(snapshot(r.home.path()), before);
        EXPECT_TRUE(r.device.received().empty());
    }
    // Only COM and digits is a Windows port name.
    EXPECT_EQ(cli::portNameProblem("COMx") + cli::portNameProblem("COM1x"), "");
    EXPECT_NE(cli::portNameProblem("com12"), "");
}

}  // namespace
}  // namespace gyrel
