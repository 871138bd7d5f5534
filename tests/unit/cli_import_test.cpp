#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"
#include "support/deskpl_writer.h"

namespace gyrel {
namespace {

class CliImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/gyrel-import-XXXXXX";
        dir = mkdtemp(pattern);
        setenv("GYREL_HOME", (dir + "/home").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("GYREL_HOME");
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    int run(std::vector<std::string> args) {
        cli::Env env{out, err, clock, [](const std::string&) { return std::unique_ptr<SerialPort>(); }};
        return cli::run(args, env);
    }
    std::string dir;
    std::ostringstream out, err;
    VirtualClock clock;
    StdFileSystem fs;
};

TEST_F(CliImportTest, WritesTheProgramFilesAndTheListAndNamesThem) {
    test::DeskplWriter w;
    w.program(0, 4).count(0, 1, 2).entry(0, 1, 0, 10.0f, 1).entry(0, 1, 1, 20.5f, 0);
    w.program(1, 12).count(1, 8, 1).entry(1, 8, 0, 359.9f, 1);
    fs.writeAll(dir + "/plant.dpl", w.bytes());
    const std::string list = dir + "/plant.lis";
    EXPECT_EQ(run({"import-deskpl", "--model", "V712", "--list", list, dir + "/plant.dpl"}), 0) << err.str();
    EXPECT_EQ(out.str(), dir + "/plant_4.712\n" + dir + "/plant_12.712\n" + list + "\n");
    EXPECT_EQ(fs.readAll(list), "4   (" + dir + "/plant_4.712)\r\n12   (" + dir + "/plant_12.712)\r\n");
    const std::string p12 = fs.readAll(dir + "/plant_12.712");
    EXPECT_EQ(p12.substr(0, 13), "'Imported on ");
    EXPECT_NE(p12.find(" from file " + dir + "/plant.dpl\r\n\r\n' - - - Program # 12\r\n\r\n8\t3599\t0\r\n"),
              std::string::npos);
}

TEST_F(CliImportTest, BadInputExitsWithTheMessageAndKeepsWhatWasWritten) {
    test::DeskplWriter w;
    w.program(0, 1).count(0, 1, 2);
    w.program(1, 40).count(1, 1, 2);
    fs.writeAll(dir + "/bad.dpl", w.bytes());
    const std::string list = dir + "/bad.lis";
    EXPECT_EQ(run({"import-deskpl", "--model", "NORM", "--list", list, dir + "/bad.dpl"}), 1);
    EXPECT_EQ(err.str(), "ERROR               \nrecord 2: program number 40 outside 1..16\n");
    EXPECT_EQ(out.str(), dir + "/bad_1.TXT\n");
    EXPECT_FALSE(fs.fileExists(list));

    err.str("");
    EXPECT_EQ(run({"import-deskpl", "--model", "NORM", "--list", list, dir + "/none.dpl"}), 1);
    EXPECT_EQ(err.str().substr(0, 21), "ERROR               \n");
    EXPECT_EQ(run({"import-deskpl", "--model", "XYZ", "--list", list, dir + "/bad.dpl"}), 64);
}

}  // namespace
}  // namespace gyrel
