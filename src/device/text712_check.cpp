#include "device/text712_check.h"

namespace gyrel {

std::size_t firstControlCharacter(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b < 0x20 || b == 0x7F) && b != '\r' && b != '\n' && b != '\t') return i;
    }
    return std::string::npos;
}

std::string text712Problem(const std::string& text) {
    const std::size_t at = firstControlCharacter(text);
    if (at == std::string::npos) return {};
    int line = 1;
    for (std::size_t i = 0; i < at; ++i)
        if (text[i] == '\n') ++line;
    static const char* const hex = "0123456789ABCDEF";
    const auto b = static_cast<unsigned char>(text[at]);
    return "line " + std::to_string(line) + ": control character 0x" + hex[b >> 4] + hex[b & 15] +
           "; a V712 program is text";
}

}  // namespace gyrel
