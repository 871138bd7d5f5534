#include "cli/terminal_text.h"

namespace gyrel::cli {

std::string printable(const std::string& bytes, bool keepLineBreaks) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (keepLineBreaks && b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        if ((b >= 0x20 && b != 0x7F) || b == '\t' || (keepLineBreaks && b == '\n')) {
            out += bytes[i];
        } else {
            out += "\\x";
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

}  // namespace gyrel::cli
