#pragma once
#include <string>

#include "editor/editor_state.h"

namespace gyrel {

// Reads the V712 header lines "PRG=n,OUT=n,OFS=v,CON=v,COF=v" of a text into
// HeaderParams (emptied first). Capitals make the keyword, digits the number;
// "," and CR end a field, as does the end of the text; a line feed starts a new
// line. OFS, CON and COF are stored (as the number's decimal text, leading zeros
// dropped) only when the same line gave PRG and OUT before them, both 1..16; a
// PRG or OUT outside 1..16 counts as not given, so its line stores nothing.
void readHeaderParams(const std::string& text, EditorState& ed);

}  // namespace gyrel
