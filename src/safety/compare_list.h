#pragma once
#include <array>
#include <string>

#include "safety/compare.h"
#include "safety/job_progress.h"

namespace gyrel {

class SerialLink;

struct CompareReport {
    bool refused = false;  // the model cannot send programs back, or the list cannot be read
    bool cancelled = false;
    std::string why;
    std::string listPath;
    std::array<SlotComparison, 16> bySlot{};

    bool anyDifference() const;
    bool anyReadFailed() const;
};

// For each slot of a list (or of a backup folder's list): the prepared table
// of its file against the table read back from the device. Slots the list
// records empty are read to see that they are; bySlot it does not name are not read.
CompareReport runCompare(Context& ctx, SerialLink& link, const std::string& folderOrList, const JobHooks& hooks);

// The report as plain text, one line per slot "SLOT STATE [detail]", CR LF.
std::string compareReportText(const CompareReport& r);

}  // namespace gyrel
