// Folder-level steps: renaming a finished folder into place, removing one that
// was left unfinished.
#include <filesystem>

#include "platform/file_checks.h"
#include "platform/std_file_system.h"

namespace gyrel {

namespace fs = std::filesystem;

void FileSystem::renameNew(const std::string& from, const std::string&) {
    throw FileError("cannot rename " + from + ": not supported here");
}

void FileSystem::removeTree(const std::string& path) {
    throw FileError("cannot remove " + path + ": not supported here");
}

void StdFileSystem::renameNew(const std::string& from, const std::string& to) {
    std::error_code ec;
    // A rename would replace an empty folder or a file silently; the target must be free.
    if (fs::exists(fs::symlink_status(localPath(to), ec))) throw FileError(to + " already exists");
    fs::rename(localPath(from), localPath(to), ec);
    if (ec) throw FileError("cannot rename " + from + " to " + to + ": " + ec.message());
}

void StdFileSystem::removeTree(const std::string& path) {
    std::error_code ec;
    fs::remove_all(localPath(path), ec);
    if (ec) throw FileError("cannot remove " + path + ": " + ec.message());
}

}  // namespace gyrel
