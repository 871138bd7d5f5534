#pragma once
#include <array>
#include <string>

namespace gyrel {

// The sixteen slot paths of a list file (slot k+1 at index k; empty = no file).
using SlotPaths = std::array<std::string, 16>;

// List file text: one line per filled slot, in slot order, each "N   (path)" and
// CR LF, the local paths converted to Windows-1252. Throws UnwritableName
// (a FileError) for a path with a character the code page cannot hold.
std::string formatList(const SlotPaths& paths);

struct ListReadResult {
    bool ok = true;   // false: a slot number outside 1..16 ("Program error")
    SlotPaths paths;  // slots the file does not name stay empty
};

// Reads a list file the way earlier tools wrote and read it, one character at a
// time: an apostrophe starts a comment, text outside the parentheses after the
// number is ignored, digits inside the parentheses belong to the path. The
// paths are the file's bytes; pathToOpen (platform/file_name_text.h) makes them local.
ListReadResult parseList(const std::string& bytes);

}  // namespace gyrel
