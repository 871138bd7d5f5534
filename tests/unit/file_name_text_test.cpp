// Paths written into list files and program headers are Windows-1252 text and
// come back as local (UTF-8) names; names the code page cannot hold are refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "unit/cli_rig_fixture.h"
#include "platform/file_name_text.h"
#include "support/deskpl_writer.h"

namespace gyrel {
namespace {

using clitest::CliRig;

namespace fs = std::filesystem;

struct FileNames : ::testing::Test {
    FileNames() : r("NORM") {
        folder = r.home.path() + "/Ablage \xC3\xA9";  // "Ablage é" as Linux names it
        fs::create_directory(fs::u8path(folder));
        test::DeskplWriter w;
        w.program(0, 1).count(0, 1, 2).entry(0, 1, 0, 10.0f, 1).entry(0, 1, 1, 20.0f, 0);
        deskpl = folder + "/Anlage \xC3\xBC.dpl";  // "Anlage ü.dpl"
        StdFileSystem().writeAll(deskpl, w.bytes());
    }
    CliRig r;
    std::string folder, deskpl;
};

TEST_F(FileNames, ListAndHeaderHoldWindows1252AndListsResolveLocallyEitherWay) {
    const std::string list = folder + "/Zeile \xC3\xBC.lis";
    ASSERT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", list, deskpl}), 0) << r.err.str();
    const std::string program = folder + "/Zeile \xC3\xBC_1.TXT";
    StdFileSystem files;
    ASSERT_TRUE(files.fileExists(program));
    const std::string inFile = r.home.path() + "/Ablage \xE9";
    EXPECT_EQ(files.readAll(list), "1   (" + inFile + "/Zeile \xFC_1.TXT)\r\n");
    EXPECT_NE(files.readAll(program).find(" from file " + inFile + "/Anlage \xFC.dpl\r\n"), std::string::npos);
    // The list, as a Windows machine would have written it, sends the program.
    EXPECT_EQ(r.run({"download", "--model", "NORM", "--port", "p", "--list", list}), 0) << r.err.str();
    EXPECT_EQ(r.device.program(0), (sim::CamTable{{100, 1}, {200, 0}}));
    // A list written with the names in raw UTF-8 still loads.
    files.writeAll(program, "2\t300\t400\r\n");
    const std::string raw = r.file("old.lis", "1   (" + program + ")\r\n");
    EXPECT_EQ(r.run({"download", "--model", "NORM", "--port", "p", "--list", raw}), 0) << r.err.str();
    EXPECT_EQ(r.device.program(0), (sim::CamTable{{300, 2}, {400, 0}}));
    EXPECT_EQ(pathToOpen(files, "1\xE9"), "1\xC3\xA9");  // missing either way: the converted name
}

TEST_F(FileNames, ANameTheCodePageCannotHoldIsRefusedBeforeAnythingIsWritten) {
    const std::string list = folder + "/Zeile \xCE\xA9.lis";  // "Ω"
    EXPECT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", list, deskpl}), 1);
    EXPECT_NE(r.err.str().find("has a character that Windows-1252 cannot hold"), std::string::npos) << r.err.str();
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(fs::u8path(folder))) ++entries;
    EXPECT_EQ(entries, 1);  // the DESKPL file alone

    std::string text;
    EXPECT_FALSE(pathToFileText("a\xC3", text) || pathToFileText("\xE9", text));  // cut short, not UTF-8
    EXPECT_TRUE(pathToFileText("\xE2\x82\xAC", text));
    EXPECT_EQ(text, "\x80");  // the euro sign
}

}  // namespace
}  // namespace gyrel
