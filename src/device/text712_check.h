#pragma once
// A V712 program is typed to the device line by line; a file of binary bytes
// would be typed for minutes. It is refused before anything is sent.
#include <cstddef>
#include <string>

namespace gyrel {

// The index of the first control character other than CR, LF and TAB, or
// std::string::npos when the text holds none.
std::size_t firstControlCharacter(const std::string& text);

// "" for a sendable text, else where and what the first bad byte is, as
// "line N: control character 0xNN".
std::string text712Problem(const std::string& text);

}  // namespace gyrel
