// Hostile and mistaken input to gyrel-cli: each is refused with its exit code
// and a message saying why, nothing reaches the device and no file changes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>

#include "cli/exit_codes.h"
#include "platform/std_file_system.h"
#include "support/deskpl_writer.h"
#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

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

struct BadInput {
    const char* name;
    const char* model;
    std::function<std::vector<std::string>(clitest::CliRig&)> args;  // makes its files, gives the arguments
    int exitCode;
    const char* says;
};

std::string deskplWithAngle(float angle) {
    test::DeskplWriter w;
    w.program(0, 1).count(0, 1, 2).entry(0, 1, 0, 10.0f, 1).entry(0, 1, 1, angle, 0);
    return w.bytes();
}

const BadInput kCases[] = {
    {"program file is a folder", "NORM",
     [](clitest::CliRig& r) {
         fs::create_directory(r.home.path() + "/d");
         return std::vector<std::string>{"download", "--model", "NORM", "--port", "p", "--slot", "1",
                                         r.home.path() + "/d"};
     },
     cli::ExitRefused, "is a directory, not a program file"},
    {"program file is a device", "NORM",
     [](clitest::CliRig&) {
         return std::vector<std::string>{"download", "--model", "NORM", "--port", "p", "--slot", "1", "/dev/zero"};
     },
     cli::ExitRefused, "/dev/zero: it is not a regular file"},
    {"program file far too large", "NORM",
     [](clitest::CliRig& r) {
         return std::vector<std::string>{"download", "--model", "NORM", "--port", "p", "--slot", "1",
                                         r.file("big.txt", std::string(5u << 20, ' '))};
     },
     cli::ExitRefused, "holds 5242880 bytes; a program file holds at most 4194304"},
    {"list is a device", "NORM",
     [](clitest::CliRig&) {
         return std::vector<std::string>{"download", "--model", "NORM", "--port", "p", "--list", "/dev/zero"};
     },
     cli::ExitRefused, "not a regular file"},
    {"empty port name", "NORM",
     [](clitest::CliRig& r) {
         return std::vector<std::string>{"download", "--model", "NORM", "--port", "", "--slot", "1",
                                         r.file("p.txt", "1 100 200\r\n")};
     },
     cli::ExitUsage, "--port is empty"},
    {"Windows port name", "KMT71",
     [](clitest::CliRig&) { return std::vector<std::string>{"upload", "--model", "KMT71", "--port", "COM1", "--slot", "1"}; },
     cli::ExitUsage, "/dev/ttyS* (built-in ports), /dev/ttyUSB* (USB serial adapters), /dev/ttyACM*"},
    {"upload over a pipe", "KMT71",
     [](clitest::CliRig& r) {
         mkfifo((r.home.path() + "/fifo").c_str(), 0644);
         return std::vector<std::string>{"upload", "--model", "KMT71", "--port", "p", "--slot", "1",
                                         "--output", r.home.path() + "/fifo"};
     },
     cli::ExitRefused, "not a regular file"},
    {"upload over a read-only file", "KMT71",
     [](clitest::CliRig& r) {
         const std::string f = r.file("kept.KVX", "old\r\n");
         chmod(f.c_str(), 0444);
         return std::vector<std::string>{"upload", "--model", "KMT71", "--port", "p", "--slot", "1", "--output", f};
     },
     cli::ExitRefused, "kept.KVX: the file is read-only"},
    {"DESKPL file is a folder", "NORM",
     [](clitest::CliRig& r) {
         fs::create_directory(r.home.path() + "/d.dpl");
         return std::vector<std::string>{"import-deskpl", "--model", "NORM", "--list", r.home.path() + "/x.lis",
                                         r.home.path() + "/d.dpl"};
     },
     cli::ExitRefused, "d.dpl: it is a directory, not a DESKPL file"},
    {"DESKPL list is a folder", "NORM",
     [](clitest::CliRig& r) {
         fs::create_directory(r.home.path() + "/out");
         return std::vector<std::string>{"import-deskpl", "--model", "NORM", "--list", r.home.path() + "/out",
                                         r.file("a.dpl", deskplWithAngle(20.0f))};
     },
     cli::ExitRefused, "out: it is a directory"},
    {"DESKPL angle beyond single precision", "NORM",
     [](clitest::CliRig& r) {
         return std::vector<std::string>{"import-deskpl", "--model", "NORM", "--list", r.home.path() + "/y.lis",
                                         r.file("b.dpl", deskplWithAngle(3e38f))};
     },
     cli::ExitRefused, "record 1: output 1 entry 1 is no angle"},
    {"V712 binary program", "V712",
     [](clitest::CliRig& r) {
         return std::vector<std::string>{"download", "--model", "V712", "--port", "p", "--slot", "1",
                                         r.file("bin.712", "PRG=1\r\n\x7f" "ELF\x01\x02")};
     },
     cli::ExitRefused, "bin.712: line 2: control character 0x7F"},
    {"list naming a file with terminal controls", "NORM",
     [](clitest::CliRig& r) {
         return std::vector<std::string>{"download", "--model", "NORM", "--port", "p", "--list",
                                         r.file("m.lis", "1   (/nowhere/\x1b[2Jx)\r\n")};
     },
     cli::ExitRefused, "/nowhere/\\x1B[2Jx\nFile not present\n"},
    {"list naming a program that fails the check", "NORM",
     [](clitest::CliRig& r) {
         const std::string bad = r.file("bad.TXT", "' x\r\n1 100 200\r\n1 300 4000\r\n");
         return std::vector<std::string>{"download", "--model", "NORM", "--port", "p", "--list",
                                         r.file("c.lis", "2   (" + bad + ")\r\n")};
     },
     cli::ExitRefused, "/bad.TXT:3: Wrong value\n"},
    {"preset without a value", "Px71",
     [](clitest::CliRig&) {
         return std::vector<std::string>{"preset", "write", "--model", "Px71", "--port", "p", "--preset", "2="};
     },
     cli::ExitUsage, "--preset 2=: no value"},
};

TEST(BadInput, IsRefusedWithItsExitCodeAndNothingChanges) {
    for (const BadInput& c : kCases) {
        SCOPED_TRACE(c.name);
        clitest::CliRig r(c.model);
        r.device.setProgram(0, {{100, 1}, {200, 0}});
        const std::vector<std::string> args = c.args(r);
        const auto before = snapshot(r.home.path());
        EXPECT_EQ(r.run(args), c.exitCode) << r.err.str();
        EXPECT_NE(r.err.str().find(c.says), std::string::npos) << r.err.str();
        EXPECT_EQ((r.out.str() + r.err.str()).find('\x1b'), std::string::npos);
        EXPECT_EQ(snapshot(r.home.path()), before);
        EXPECT_TRUE(r.device.received().empty());
    }
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
}

}  // namespace
}  // namespace gyrel
