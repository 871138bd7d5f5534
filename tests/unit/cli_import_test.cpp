#include <gtest/gtest.h>

#include "support/deskpl_writer.h"
#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

using clitest::CliRig;

TEST(CliImport, WritesTheProgramFilesAndTheListAndStopsAtBadInput) {
    CliRig r("NORM");
    test::DeskplWriter w;
    w.program(0, 4).count(0, 1, 2).entry(0, 1, 0, 10.0f, 1).entry(0, 1, 1, 20.5f, 0);
    w.program(1, 12).count(1, 8, 1).entry(1, 8, 0, 359.9f, 1);
    const std::string dir = r.home.path(), dpl = r.file("plant.dpl", w.bytes()), list = dir + "/plant.lis";
    EXPECT_EQ(r.run({"import-deskpl", "--model", "V712", "--list", list, dpl}), 0) << r.err.str();
    EXPECT_EQ(r.out.str(), dir + "/plant_4.712\n" + dir + "/plant_12.712\n" + list + "\n");
    StdFileSystem fs;
    EXPECT_EQ(fs.readAll(list), "4   (" + dir + "/plant_4.712)\r\n12   (" + dir + "/plant_12.712)\r\n");
    const std::string p12 = fs.readAll(dir + "/plant_12.712");
    EXPECT_EQ(p12.substr(0, 13), "'Imported on ");
    EXPECT_NE(p12.find(" from file " + dpl + "\r\n\r\n' - - - Program # 12\r\n\r\n8\t3599\t0\r\n"), std::string::npos);

    // Bad input exits with the message and keeps what was written.
    test::DeskplWriter b;
    b.program(0, 1).count(0, 1, 2);
    b.program(1, 40).count(1, 1, 2);
    const std::string bad = r.file("bad.dpl", b.bytes()), badList = dir + "/bad.lis";
    EXPECT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", badList, bad}), 1);
    EXPECT_EQ(r.err.str(), "ERROR               \nrecord 2: program number 40 outside 1..16\n");
    EXPECT_EQ(r.out.str(), dir + "/bad_1.TXT\n");
    EXPECT_FALSE(fs.fileExists(badList));
    EXPECT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", badList, dir + "/none.dpl"}), 1);
    EXPECT_EQ(r.err.str().substr(0, 21), "ERROR               \n");
    for (const std::string& folder : {std::string(), dir + "/none/."}) {
        EXPECT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", folder, dpl}), 1) << folder;
        EXPECT_EQ(r.err.str(), "ERROR               \ncannot write " + folder + ": it names a folder, not a file\n");
    }
}

}  // namespace
}  // namespace gyrel
