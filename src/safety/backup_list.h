#pragma once
#include <array>
#include <string>

#include "editor/program_list.h"

namespace gyrel {

// A list file as a backup writes it: the usual "N   (path)" line for every slot
// that holds a program, and a comment line "'N   empty" for a slot the device
// held empty (earlier tools read it as a comment and leave the slot empty).
std::string formatBackupList(const SlotPaths& paths, const std::array<bool, 16>& empty);

struct BackupListRead {
    bool ok = true;  // false: a slot number outside 1..16
    SlotPaths paths;
    std::array<bool, 16> empty{};  // recorded empty (and naming no file)
};

// Reads a list file (any list, not only a backup's). Paths that are not
// absolute are taken from the list's own folder, so a backup folder can be
// moved or copied whole.
BackupListRead readBackupList(const std::string& bytes, const std::string& listPath);

// The names a backup folder holds.
constexpr const char* kBackupListName = "backup.lis";
constexpr const char* kBackupPresetsName = "presets.txt";
// A program file of the backup, named as the upload of all slots names it:
// the list name without its extension, "_", the program number, ".", the extension.
std::string backupProgramName(int slot, int programNumberOffset, const std::string& extension);

}  // namespace gyrel
