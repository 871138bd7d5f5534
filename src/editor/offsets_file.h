#pragma once
#include <string>

#include "editor/editor_state.h"
#include "editor/offsets.h"  // ColoriOffs, wholeNumber
#include "platform/file_system.h"

namespace gyrel {

// "Offs.lav" in the working folder: the offsets panel kept from one run to the next.
std::string OffsetsFilePath();

// The content written when the file is missing: "0" and sixteen lines of three
// zeros each followed by three blanks (no TAB, so reading it changes no box).
std::string defaultOffsetsContent();
// Creates the working folders and the default offsets file when missing.
void ensureOffsetsFile(FileSystem& fs);

// The file's bytes for the panel as it stands (Check1, then per output check2,
// TAB, Text4, TAB, Text5, TAB, each line ended by CR LF).
std::string offsetsFileContent(const EditorState& st);
void SaveOffs(FileSystem& fs, const EditorState& st);

// Reads an offsets file's bytes into the panel. A first character "1" means the
// offsets come from the program text and nothing else is read; otherwise the
// boxes are filled and ColoriOffs runs.
void LoadOffs(EditorState& st, const std::string& content);
void LoadOffs(FileSystem& fs, EditorState& st);  // a missing file reads as empty

}  // namespace gyrel
