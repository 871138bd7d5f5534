#pragma once
#include <string>

#include "editor/editor_state.h"

namespace gyrel {

// The first error of a parse: the MsgText index of its title, the number last
// read (as written) and where that number starts in the text.
struct ParseError {
    int word = 0;              // 2..7
    std::string token;
    int tokenStart = 0;
    bool inOffsets = false;    // found after "&"
    bool tooManyRows = false;  // a cam row beyond the 2001 the table holds
};

struct ParseResult {
    bool ok = true;
    ParseError error;
};

// Reads the cam section and the offsets section of a program text into
// CamRows, CamRowCount, TextOffsets and CamRowSpans (all cleared first), up to
// the first error.
//
// A number ends at any character that is not a digit (a "-" ends it too), so a
// number written directly before "'", "&", a line feed or the end of the text
// counts as completed there. "&" also ends the cam line it stands on, as a line
// feed would. At the end of the text a pending number is completed and checked,
// but a cam line without its line feed is not counted (the editor appends the
// line end and the next check counts it).
ParseResult parseCamText(const std::string& text, double maxPosition, EditorState& ed);

// The value of a number as written: digits with an optional leading "-"; a
// lone "-" is 0.
double numberValue(const std::string& token);

}  // namespace gyrel
