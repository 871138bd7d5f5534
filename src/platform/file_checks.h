#pragma once
// Checks made on a path before it is read or replaced, shared by every reader
// of outside files and by the one save helper.
#include <cstdint>
#include <filesystem>
#include <string>

namespace gyrel {

// Size limits of the files the program reads: far beyond anything real, small
// enough that a wrong file is refused before it is read into memory.
constexpr std::uintmax_t kProgramFileLimit = 4u << 20;  // 2001 rows and their comments
constexpr std::uintmax_t kListFileLimit = 1u << 20;     // sixteen lines of paths
constexpr std::uintmax_t kDeskplFileLimit = 16u << 20;  // 16 programs of fixed records

// The system's path for a name given as UTF-8 bytes. Windows refuses bytes
// that are not UTF-8 (a name typed in another encoding): FileError "cannot use
// PATH: ..." then, so callers report it like any other file error.
std::filesystem::path localPath(const std::string& path);

// Why `path` cannot be read as a regular file of at most `limit` bytes ("" when
// it can): missing (the system's reason), a directory, a device or pipe, or
// too large (the message says the limit and what the file is).
std::string unreadableReason(const std::string& path, std::uintmax_t limit, const std::string& kind);

// Reads a file given from outside: FileError "cannot read PATH: reason" when
// unreadableReason finds one, or when reading fails.
std::string readInputFile(const std::string& path, std::uintmax_t limit, const std::string& kind);

// The file a save of `path` replaces: a symbolic link is followed to its target
// (a chain of them too), a missing file is its own target.
std::string saveTarget(const std::string& path);

// Why the file at `target` must not be replaced ("" when it may): not a regular
// file, or read-only (no write permission bit set), which a replacement by
// renaming would otherwise ignore, even for a user allowed to write anything.
std::string unwritableReason(const std::string& target);

}  // namespace gyrel
