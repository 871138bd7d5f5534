#pragma once
// Paths inside program, list and DESKPL-converted files are Windows-1252 text,
// as the tools on Windows write them; the paths the program opens are in the
// local file-name encoding, which is UTF-8 here (std::filesystem::u8path), on
// Linux and on Windows alike. These convert between the two at the file's edge.
#include <string>

#include "platform/file_system.h"

namespace gyrel {

// A local path as file text; false when it holds a character Windows-1252 has
// no byte for (or is not UTF-8), so that it is never written garbled.
bool pathToFileText(const std::string& local, std::string& text);

// A path written in a file, as a local path.
std::string pathFromFileText(const std::string& text);

// The local path to open for a path read from a file. Files written before
// paths were converted hold a Linux name's UTF-8 bytes as they were: those
// bytes are kept when they name an existing file and the converted name does not.
std::string pathToOpen(const FileSystem& fs, const std::string& text);

// A path that cannot be written into a Windows-1252 file.
class UnwritableName : public FileError {
public:
    explicit UnwritableName(const std::string& path)
        : FileError("the name " + path + " has a character that Windows-1252 cannot hold"), path_(path) {}
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace gyrel
