#pragma once
#include <string>

namespace gyrel {

// The box shown when a list cannot be saved because a file name has a character
// that Windows-1252 cannot hold; the name follows on its own line. UTF-8.
const char* nameNotWritableText(const std::string& languageCode);

}  // namespace gyrel
