#pragma once
#include <cstdint>
#include <string>

#include "editor/editor_state.h"

namespace gyrel {

// The whole-number value of an offset box: blanks, an optional sign, digits and
// an optional fraction (rounded); anything after them is ignored and a text
// without digits is 0. Kept within the 16-bit range.
std::int16_t wholeNumber(const std::string& text);

// Gives output index i the colours of applied or not-applied offsets.
void setOffsetColours(EditorState& ed, int i, bool applied);

// Steps 1 and 2 of TabelleOffset: the offsets in force, from the program text
// (Check1 ticked: the boxes show them and outputs with a non-zero offset are
// ticked) or from the boxes of the ticked outputs.
void takeOffsets(EditorState& ed);

// ColoriOffs: offsets from the boxes from now on; each output coloured by its
// check2; ActiveOffsets loaded from the boxes, 0 for outputs not ticked.
void ColoriOffs(EditorState& ed);

}  // namespace gyrel
