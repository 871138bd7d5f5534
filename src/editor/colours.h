#pragma once
#include <string>
#include <vector>

#include "editor/editor_state.h"

namespace gyrel {

// The look of program text and comments: black at the model's size, comments
// blue at size 8, no emphasis.
StyledRange programStyle(int start, int length, int fontSize);
StyledRange commentStyle(int start, int length);

// Paints one range over the list: what it covers takes its style, the rest is
// kept (cut where needed). The list stays sorted and free of overlaps.
void paintRange(std::vector<StyledRange>& ranges, const StyledRange& r);

// The styles of text[from, to): program stretches up to each "'", comment
// stretches from it to the end of its line.
std::vector<StyledRange> colourStretch(const std::string& text, int from, int to, int programFontSize);

// AggColori: the whole text (full != 0) or the line holding caret. Keeps the
// caret where it was and clears FullRecolour.
void AggColori(EditorState& ed, int full, int programFontSize);

}  // namespace gyrel
