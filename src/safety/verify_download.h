#pragma once
#include <vector>

#include "device/download.h"
#include "safety/compare.h"

namespace gyrel {

// "Verify after download": when the setting is on and the model can send its
// programs back, reads back what the editor's last download sent (its slot, or
// every filled slot of the multiple-files panel) and compares it with the
// prepared table. Each slot's outcome goes into the communication log; a
// difference or a failed read also shows a message box naming the slot and the
// first differing change point. Returns the comparisons made.
std::vector<SlotComparison> verifyAfterDownload(TransferEnv& editor, const DownloadCommand& download);

}  // namespace gyrel
