// The list file reader on any bytes: it must never crash, hang or read out of
// bounds, and whatever it accepts must survive being written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/program_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const gyrel::ListReadResult r = gyrel::parseList(bytes);
    if (!r.ok) {
        for (const auto& s : r.paths)
            if (!s.empty()) std::abort();  // a refused list applies nothing
        return 0;
    }
    // Slots holding none of the characters the format cannot carry read back unchanged.
    gyrel::SlotPaths plain;
    for (std::size_t k = 0; k < 16; ++k)
        if (r.paths[k].find_first_of("()'\n") == std::string::npos) plain[k] = r.paths[k];
    const gyrel::ListReadResult again = gyrel::parseList(gyrel::formatList(plain));
    if (!again.ok || again.paths != plain) std::abort();
    return 0;
}
