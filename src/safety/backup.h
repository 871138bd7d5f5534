#pragma once
#include <array>
#include <string>

#include "safety/job_progress.h"
#include "safety/presets_file.h"

namespace gyrel {

class SerialLink;

// How one slot of a backup ended.
enum class BackupSlotEnd { NotRead, Program, Empty, Failed };

struct BackupReport {
    bool refused = false;   // nothing was sent (model without upload, folder exists)
    bool complete = false;  // the folder was written whole and renamed into place
    bool cancelled = false;
    bool lineError = false;  // a slot or a preset could not be read
    std::string why;         // refused, or the folder could not be written
    std::array<BackupSlotEnd, 16> ends{};
    std::array<std::string, 16> files{};  // file names inside the folder
    std::array<std::string, 16> slotWhy{};
    bool presets = false;  // the model keeps presets and origins
    bool presetsTried = false;
    std::array<bool, 16> presetRead{};
    std::string folder;
};

// Reads every slot (and, where the model has them, every preset and origin)
// and writes them into a new folder: the programs, a list file naming them
// (an empty slot as a comment "'N   empty") and the presets file. The folder
// is filled beside its final name and renamed into place only when every read
// succeeded, so it appears whole or not at all.
BackupReport runBackup(Context& ctx, SerialLink& link, const std::string& folder, const JobHooks& hooks);

// One line per slot and the outcome, in the language of the texts.
std::string backupReportText(const Context& ctx, const BackupReport& r);

}  // namespace gyrel
