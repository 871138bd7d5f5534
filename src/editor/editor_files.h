#pragma once
#include <string>

#include "platform/file_system.h"

namespace gyrel {

// "lav.lav" in the working folder: the editor's text, mirrored at every change.
std::string WorkFilePath();

// The work file trio in one call: open for writing, write the text as it is, close.
void writeWorkFile(FileSystem& fs, const std::string& text);
// The same, for the mirror kept at every change: a work file that cannot be
// written leaves the text in the box and says nothing (false).
bool mirrorWorkFile(FileSystem& fs, const std::string& text);
// The work file's bytes; empty when it does not exist.
std::string readWorkFile(const FileSystem& fs);

// The program file dialog's filter for an extension ("TXT").
std::string programFileFilter(const std::string& extension);

// The unsaved-changes notices, by mode: 0 first layout, 1 before a load (LOST),
// 2 before a download (SENT), 3 when the editor closes. UTF-8 texts from the table.
struct TextSet;
std::string checkModifText(const TextSet& texts, int mode);

}  // namespace gyrel
