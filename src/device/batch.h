#pragma once
#include "device/transfer_env.h"
#include "editor/multi_files.h"

namespace gyrel {

// Lets the batch download and the all-slots upload work on the multiple-files
// panel: slot paths, their colours, the program-number box, the list file.
void wireSlotPanel(SlotPanel& slots, MultiFiles& panel);

// Fills the sixteen slot boxes from a list file without a dialog (the command
// line's --list). False, with the reason in *why, when the file is missing or
// names a slot outside 1..16; the boxes then keep what they had.
bool loadListFile(MultiFiles& panel, FileSystem& fs, const std::string& listPath, std::string* why);

}  // namespace gyrel
