#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace gyrel {

using Bytes = std::vector<std::uint8_t>;

// Program text, file contents and port text are single-byte Windows-1252
// strings; one char is one character of the text.
inline Bytes toBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }
inline std::string toString(const Bytes& b) { return std::string(b.begin(), b.end()); }

}  // namespace gyrel
