// The list file reader on any bytes: it must never crash, hang or read out of
// bounds, and whatever it accepts must survive being written and read again;
// the conversion of names between the file and the local encoding on any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/program_list.h"
#include "platform/file_name_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const gyrel::ListReadResult r = gyrel::parseList(bytes);
    if (!r.ok) {
        for (const auto& s : r.paths)
            if (!s.empty()) std::abort();  // a refused list applies nothing
        return 0;
    }
    // Slots holding none of the characters the format cannot carry read back
    // unchanged, through their local (UTF-8) names and back to Windows-1252.
    gyrel::SlotPaths plain, local;
    for (std::size_t k = 0; k < 16; ++k) {
        if (r.paths[k].find_first_of("()'\n") != std::string::npos) continue;
        plain[k] = r.paths[k];
        local[k] = gyrel::pathFromFileText(r.paths[k]);
    }
    const gyrel::ListReadResult again = gyrel::parseList(gyrel::formatList(local));
    if (!again.ok || again.paths != plain) std::abort();
    // A name that is not UTF-8 or has no Windows-1252 byte is refused, never written.
    std::string text;
    if (gyrel::pathToFileText(bytes, text) && gyrel::pathFromFileText(text) != bytes) std::abort();
    return 0;
}
