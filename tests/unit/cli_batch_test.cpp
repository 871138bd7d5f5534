// gyrel-cli download --list and upload --all --list, in-process against the
// simulated encoder on the virtual clock (a list sent whole: CliPty).
#include <gtest/gtest.h>

#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

using clitest::CliRig;

TEST(CliBatch, DownloadStopsAtAMissingFileOrASilentDevice) {
    CliRig r("NORM");
    const std::string dir = r.home.path();
    const std::string one = r.file("one.TXT", "1\t100\t200\r\n");
    const std::string three = r.file("three.TXT", "3\t0\t1800\r\n");
    const std::string list = r.file("m.lis", "1   (" + one + ")\r\n2   (" + dir + "/gone.TXT)\r\n3   (" + three + ")\r\n");
    EXPECT_EQ(r.job("download --list", {list}), 1);
    EXPECT_NE(r.err.str().find(dir + "/gone.TXT\nFile not present\n"), std::string::npos) << r.err.str();
    EXPECT_EQ(r.out.str(), "1   sent      " + one + "\n2   failed    " + dir + "/gone.TXT\n3   skipped   " + three +
                               "\n1 of 3 programs sent; program 2 failed; 1 not tried\n");
    EXPECT_EQ(r.job("download --list", {dir + "/none.lis"}), 1);
    EXPECT_EQ(r.job("download --list", {r.file("bad.lis", "0   (x)\r\n")}), 1);
    EXPECT_NE(r.err.str().find("bad.lis: a slot number outside 1..16\n"), std::string::npos) << r.err.str();
    EXPECT_EQ(r.job("download --list", {r.file("e.lis", "' none\r\n")}), 0);
    EXPECT_EQ(r.out.str(), "nothing to send: " + dir + "/e.lis names no program\n");

    CliRig quiet("NORM");
    quiet.device.faults().muteAfterReplies = 3;
    const std::string two = quiet.file("two.TXT", "2\t5\t6\r\n");
    const std::string list2 = quiet.file("q.lis", "1   (" + one + ")\r\n2   (" + two + ")\r\n");
    EXPECT_EQ(quiet.job("download --list", {list2}), 2);
    EXPECT_TRUE(quiet.device.program(0).has_value() && !quiet.device.program(1).has_value());
    EXPECT_EQ(quiet.out.str(), "1   sent      " + one + "\n2   failed    " + two + "\n1 of 2 programs sent; program 2 failed\n");
}

TEST(CliBatch, UploadReadsTheWholeDeviceIntoFilesAndAList) {
    CliRig r("V820HX");
    StdFileSystem fs;
    const std::string dir = r.home.path();
    r.device.setProgram(0, {{100, 1}, {200, 0}});
    const std::string list = dir + "/backup.lis";
    EXPECT_EQ(r.job("upload --all --list", {list}), 0) << r.err.str();
    std::string names, listed;
    for (int k = 0; k < 16; ++k) {
        const std::string f = dir + "/backup_" + std::to_string(k + 1) + ".820";
        names += f + "\n";
        listed += std::to_string(k + 1) + "   (" + f + ")\r\n";
    }
    EXPECT_EQ(r.out.str(), names + list + "\n");
    EXPECT_EQ(fs.readAll(list), listed);
    const std::string p1 = fs.readAll(dir + "/backup_1.820");
    EXPECT_EQ(p1.substr(p1.find("\r\n") + 2), "'Program # 1\r\n\r\n1\t100\t200\r\n");
    EXPECT_TRUE(fs.fileExists(dir + "/backup_16.820"));

    EXPECT_EQ(r.job("upload --all --list", {dir + "/nodot"}), 1);
    EXPECT_EQ(r.run({"upload", "--model", "NORM", "--port", "sim", "--all", "--list", list}), 1);
}

}  // namespace
}  // namespace gyrel
