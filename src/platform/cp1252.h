#pragma once
#include <string>

namespace gyrel {

// Program files are single-byte Windows-1252 text, while the windows and the
// message boxes speak UTF-8. The bytes 0x80..0x9F are where Windows-1252 parts
// from Latin-1 (the euro sign, typographic quotes, ...); the five bytes the code
// page leaves undefined map to the C1 controls of the same value, so every byte
// string survives the trip to UTF-8 and back unchanged.

// Every byte becomes one character.
std::string cp1252ToUtf8(const std::string& bytes);

// Characters the code page cannot hold, and malformed UTF-8 sequences, become
// `replacement`.
std::string utf8ToCp1252(const std::string& utf8, char replacement = '?');

// The code point of one Windows-1252 byte.
char32_t cp1252ToCodePoint(unsigned char byte);
// The byte for a code point; false when the code page has none.
bool codePointToCp1252(char32_t cp, unsigned char& byte);

}  // namespace gyrel
