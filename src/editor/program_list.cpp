#include "editor/program_list.h"

#include "platform/file_name_text.h"

namespace gyrel {

std::string formatList(const SlotPaths& paths) {
    std::string out;
    for (std::size_t k = 0; k < paths.size(); ++k) {
        if (paths[k].empty()) continue;
        std::string text;
        if (!pathToFileText(paths[k], text)) throw UnwritableName(paths[k]);
        out += std::to_string(k + 1) + "   (" + text + ")\r\n";
    }
    return out;
}

namespace {
// The buffer only ever holds digits while a slot number is read, and reading
// stops as soon as its value passes 16, so this never overflows.
int wholeValue(const std::string& digits) {
    int v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') break;
        v = v * 10 + (c - '0');
        if (v > 100) break;
    }
    return v;
}
}  // namespace

ListReadResult parseList(const std::string& bytes) {
    ListReadResult result;
    // The start of the file counts as the start of a line.
    bool lineActive = true, readingNumber = true, inParens = false;
    int slot = 0;
    std::string buffer;
    for (char c : bytes) {
        if (c >= '0' && c <= '9') {
            if (!lineActive) continue;
            buffer += c;
            if (readingNumber) {
                const int v = wholeValue(buffer);
                if (v < 1 || v > 16) {
                    result.ok = false;
                    result.paths = SlotPaths{};
                    return result;
                }
            }
        } else if (c == '\'') {
            lineActive = readingNumber = inParens = false;
        } else if (c == '\n') {
            inParens = false;
            readingNumber = lineActive = true;
            slot = 0;
            buffer.clear();
        } else if (c == '(') {
            readingNumber = false;
            if (!inParens) buffer.clear();
            if (lineActive) inParens = true;
        } else if (c == ')') {
            // A path before any slot number (slot 0) names no slot.
            if (!readingNumber && inParens && slot >= 1 && slot <= 16)
                result.paths[static_cast<std::size_t>(slot - 1)] = buffer;
            inParens = false;
        } else {
            if (readingNumber) {
                slot = wholeValue(buffer);
                readingNumber = false;
            }
            if (inParens) buffer += c;
        }
    }
    return result;
}

}  // namespace gyrel
