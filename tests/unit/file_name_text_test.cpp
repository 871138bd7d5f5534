// Paths written into list files and program headers are Windows-1252 text and
// come back as local (UTF-8) names; names the code page cannot hold are refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_name_text.h"
#include "support/deskpl_writer.h"
#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

using ::testing::HasSubstr;

namespace fs = std::filesystem;

TEST(FileNames, ListAndHeaderHoldWindows1252ListsResolveLocallyEitherWayAndOtherNamesAreRefused) {
    clitest::CliRig r("NORM");
    const std::string folder = r.home.path() + "/Ablage \xC3\xA9";  // "Ablage é" as Linux names it
    fs::create_directory(fs::u8path(folder));
    test::DeskplWriter w;
    w.program(0, 1).count(0, 1, 2).entry(0, 1, 0, 10.0f, 1).entry(0, 1, 1, 20.0f, 0);
    const std::string deskpl = r.file("Ablage \xC3\xA9/Anlage \xC3\xBC.dpl", w.bytes());  // "Anlage ü.dpl"
    // "Ω" has no byte in the code page: refused before anything is written.
    EXPECT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", folder + "/Zeile \xCE\xA9.lis", deskpl}), 1);
    EXPECT_THAT(r.err.str(), HasSubstr("has a character that Windows-1252 cannot hold"));
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::u8path(folder)), fs::directory_iterator()), 1);

    const std::string list = folder + "/Zeile \xC3\xBC.lis", program = folder + "/Zeile \xC3\xBC_1.TXT";
    ASSERT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", list, deskpl}), 0) << r.err.str();
    const std::string inFile = r.home.path() + "/Ablage \xE9";
    EXPECT_EQ(r.fs.readAll(list), "1   (" + inFile + "/Zeile \xFC_1.TXT)\r\n");
    EXPECT_THAT(r.fs.readAll(program), HasSubstr(" from file " + inFile + "/Anlage \xFC.dpl\r\n"));
    // The list, as a Windows machine would have written it, sends the program.
    EXPECT_EQ(r.job("download --list", {list}), 0) << r.err.str();
    EXPECT_EQ(r.device.program(0), (sim::CamTable{{100, 1}, {200, 0}}));
    // A list written with the names in raw UTF-8 still loads.
    r.fs.writeAll(program, "2\t300\t400\r\n");
    EXPECT_EQ(r.job("download --list", {r.file("old.lis", "1   (" + program + ")\r\n")}), 0) << r.err.str();
    EXPECT_EQ(r.device.program(0), (sim::CamTable{{300, 2}, {400, 0}}));
    EXPECT_EQ(pathToOpen(r.fs, "1\xE9"), "1\xC3\xA9");  // missing either way: the converted name

    std::string text;
    EXPECT_FALSE(pathToFileText("a\xC3", text) || pathToFileText("\xE9", text));  // cut short, not UTF-8
    EXPECT_TRUE(pathToFileText("\xE2\x82\xAC", text));
    EXPECT_EQ(text, "\x80");  // the euro sign
}

}  // namespace
}  // namespace gyrel
