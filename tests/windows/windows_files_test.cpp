// What the logic relies on from Windows itself: the working folder on drive C:,
// drive-letter and backslash paths, files read and written byte for byte, the
// save that replaces a file (never losing it), and Windows-1252 file names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editor/multi_files.h"
#include "editor/program_list.h"
#include "platform/file_name_text.h"
#include "platform/std_file_system.h"
#include "platform/working_folder.h"

namespace gyrel {
namespace {

namespace fs = std::filesystem;

class WindowsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("GYREL_HOME");
        TearDown();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all("c:\\varnel", ec);
    }
    StdFileSystem files;
};

TEST_F(WindowsFiles, TheWorkingFolderIsOnDriveCAndPathsHaveDriveLettersAndBackslashes) {
    EXPECT_EQ(workingFolderParent() + "|" + workingFolder() + "|" + inWorkingFolder("lav.lav"),
              "c:\\varnel|c:\\varnel\\gyrel|c:\\varnel\\gyrel\\lav.lav");
    files.createFolder(workingFolderParent());
    files.createFolder(workingFolder());
    EXPECT_TRUE(files.folderExists("C:\\VARNEL\\GYREL"));  // names are case-blind here
    files.writeAll(inWorkingFolder("lav.lav"), "1 100 200\r\n");
    EXPECT_EQ(files.readAll("c:/varnel/gyrel/LAV.LAV"), "1 100 200\r\n");

    EXPECT_EQ(fileNameOf("c:\\varnel\\gyrel\\p.TXT") + "|" + fileNameOf("d:p.TXT") + "|" +
                  joinPath("c:\\", "x.lis") + "|" + listBaseOf("c:\\plant.v2\\line.lis"),
              "p.TXT|d:p.TXT|c:\\x.lis|c:\\plant.v2\\line");
    const std::string list = "c:\\varnel\\gyrel\\m.lis";
    SlotPaths paths;
    paths[2] = "c:\\varnel\\gyrel\\three.TXT";
    files.replaceFile(list, formatList(paths));
    EXPECT_EQ(files.readAll(list), "3   (c:\\varnel\\gyrel\\three.TXT)\r\n");
    EXPECT_EQ(parseList(files.readAll(list)).paths, paths);
}

TEST_F(WindowsFiles, FilesKeepEveryByteAndTheSaveReplacesAFileWithoutEverLosingIt) {
    files.createFolder("c:\\varnel");
    const std::string p = "c:\\varnel\\prog.TXT";
    std::string bytes = "1\t100\t200\r\n\n\r\x1a\r\n";
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    files.writeAll(p, bytes);
    EXPECT_EQ(files.readAll(p), bytes);
    EXPECT_EQ(fs::file_size(p), bytes.size());  // no LF became CR LF, no ^Z ended the file
    files.replaceFile(p, bytes);  // the rename lands on an existing file
    EXPECT_EQ(files.readAll(p), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator("c:\\varnel"), fs::directory_iterator()), 1);  // nothing beside it
    {
        // Held open by another program (as an editor or a virus scanner may):
        // the save either replaces the file or fails; the file is never lost.
        std::ifstream held(p, std::ios::binary);
        try {
            files.replaceFile(p, "third\r\n");
            EXPECT_EQ(files.readAll(p), "third\r\n");
        } catch (const FileError&) {
            EXPECT_EQ(files.readAll(p), bytes);
        }
    }
    files.replaceFile(p, "fourth\r\n");
    EXPECT_EQ(files.readAll(p), "fourth\r\n");
}

TEST_F(WindowsFiles, Windows1252NamesInListsNameTheRightFilesAndRawOnesAreAFileError) {
    // A list written on Windows: "c:\varnel\Ablage é\Zeile ü_1.712" in Windows-1252.
    files.createFolder("c:\\varnel");
    files.createFolder(pathFromFileText("c:\\varnel\\Ablage \xE9"));
    const std::string inList = "c:\\varnel\\Ablage \xE9\\Zeile \xFC_1.712", local = pathToOpen(files, inList);
    files.writeAll(local, "1 100 200\r\n");
    EXPECT_EQ(local, "c:\\varnel\\Ablage \xC3\xA9\\Zeile \xC3\xBC_1.712");
    // The name Windows holds is the right one, character for character.
    EXPECT_TRUE(fs::exists(fs::path(L"c:\\varnel\\Ablage \u00e9\\Zeile \u00fc_1.712")));
    EXPECT_EQ(pathToOpen(files, inList), local);
    SlotPaths paths;
    paths[0] = local;
    EXPECT_EQ(formatList(paths), "1   (" + inList + ")\r\n");

    // Raw Windows-1252 bytes reaching the file layer unconverted (a name typed on
    // another system): every use is refused as a file error the caller reports.
    const std::string raw = "c:\\varnel\\Zeile \xFC.712";
    EXPECT_FALSE(files.fileExists(raw) || files.folderExists(raw));
    EXPECT_THROW(files.readAll(raw), FileError);
    EXPECT_THROW(files.replaceFile(raw, "1 100 200\r\n"), FileError);
    EXPECT_THROW(files.createFolder(raw), FileError);
}

}  // namespace
}  // namespace gyrel
