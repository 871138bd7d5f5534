#pragma once
#include <array>
#include <string>

#include "safety/compare.h"
#include "safety/job_progress.h"
#include "safety/presets_file.h"

namespace gyrel {

class SerialLink;

// What a restore does with one slot.
enum class RestoreSlotPlan { NotListed, Program, LeftAlone };

struct RestoreReport {
    enum class End {
        Verified,    // every program written, read back the same; presets confirmed
        Refused,     // the model cannot send programs back
        FileFailed,  // the list, a program or the presets file is missing or fails its check; nothing sent
        Declined,    // the operator did not confirm the plan; nothing sent
        LineError,   // a write, a preset or a read-back failed
        Cancelled,
        Differs,     // written, but a slot read back differs
    };
    End end = End::Verified;
    std::string why;
    std::array<RestoreSlotPlan, 16> plan{};
    std::array<std::string, 16> files{};
    std::array<bool, 16> written{};
    std::array<std::string, 16> writeWhy{};
    std::array<SlotComparison, 16> verified{};  // state NotListed where not read back
    bool presets = false;  // the backup's presets were to be written
    bool presetsWritten = false;
};

// Restores a backup folder (its list "backup.lis" and presets file) or any list
// file: every program is checked first; the operator sees the plan and confirms
// (a Yes/No question through the Operator); then each program goes into its
// slot, the presets and origins follow, and every written slot is read back and
// compared. Slots recorded empty are left alone; Cancel stops between slots.
RestoreReport runRestore(Context& ctx, SerialLink& link, const std::string& folderOrList, const JobHooks& hooks);

// The plan as the operator is asked about it, and the report afterwards.
std::string restorePlanText(const Context& ctx, const RestoreReport& r);
std::string restoreReportText(const Context& ctx, const RestoreReport& r);

// The list file of a backup folder, or the path itself when it names a file.
std::string listPathOf(const FileSystem& fs, const std::string& folderOrList);

}  // namespace gyrel
