#include "platform/file_name_text.h"

#include "platform/cp1252.h"

namespace gyrel {

namespace {

// One UTF-8 sequence from s[i]; false when malformed (overlong, surrogate, cut short).
bool nextCodePoint(const std::string& s, std::size_t& i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra = 0;
    if (b0 < 0x80) {
        cp = b0;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        cp = b0 & 0x1F;
        extra = 1;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        cp = b0 & 0x0F;
        extra = 2;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        cp = b0 & 0x07;
        extra = 3;
    } else {
        return false;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (b & 0x3F);
    }
    static const char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(extra) + 1;
    return true;
}

bool isAscii(const std::string& s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool isUtf8(const std::string& s) {
    char32_t cp = 0;
    for (std::size_t i = 0; i < s.size();)
        if (!nextCodePoint(s, i, cp)) return false;
    return true;
}

}  // namespace

bool pathToFileText(const std::string& local, std::string& text) {
    std::string out;
    out.reserve(local.size());
    for (std::size_t i = 0; i < local.size();) {
        char32_t cp = 0;
        unsigned char byte = 0;
        if (!nextCodePoint(local, i, cp) || !codePointToCp1252(cp, byte)) return false;
        out += static_cast<char>(byte);
    }
    text = std::move(out);
    return true;
}

std::string pathFromFileText(const std::string& text) { return cp1252ToUtf8(text); }

std::string pathToOpen(const FileSystem& fs, const std::string& text) {
    if (isAscii(text)) return text;
    const std::string converted = pathFromFileText(text);
    // Only UTF-8 bytes can be such an older name (and only those make a name on Windows).
    if (isUtf8(text) && !fs.fileExists(converted) && fs.fileExists(text)) return text;
    return converted;
}

}  // namespace gyrel
