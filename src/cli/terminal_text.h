#pragma once
// Bytes that come from a file or from the device, made safe to show on a
// terminal: control characters can move the cursor, clear the screen or set
// the window title, so none of them is written as it stands.
#include <string>

namespace gyrel::cli {

// The text with every control character but TAB (and, with keepLineBreaks, the
// line breaks: CR LF or LF become one "\n") written as \xNN. Other bytes stay
// as they are: messages are UTF-8, names of files are the system's own.
std::string printable(const std::string& bytes, bool keepLineBreaks = false);

}  // namespace gyrel::cli
