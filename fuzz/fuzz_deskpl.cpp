// The DESKPL reader on any bytes. The input is laid over an empty file of the
// smallest valid size from record 1 on (so counts, kinds, angles and offsets are
// all reached), and is also read as a whole file of its own length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/deskpl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gyrel;
    if (size == 0) return 0;
    static const double kTurns[] = {3599, 16383, 1048575, 4294967295.0};
    DeskplOptions opt;
    opt.deskplPath = "f.dpl";
    opt.listBase = "f";
    opt.extension = "TXT";
    opt.maxPosition = kTurns[data[0] % 4];

    std::string raw(reinterpret_cast<const char*>(data), size);
    std::string file(deskpl::kMinFileSize, '\0');
    const std::size_t n = size - 1 < file.size() - deskpl::kHeaderSize ? size - 1 : file.size() - deskpl::kHeaderSize;
    file.replace(deskpl::kHeaderSize, n, raw.substr(1, n));

    for (const std::string* f : {&raw, &file}) {
        for (int k = 0; k < 16; ++k) {
            bool inUse = false;
            int program = 0;
            std::string text, why;
            if (!convertDeskplRecord(*f, k, opt, inUse, program, text, why)) break;
            if (inUse && (program < 1 || program > 16 || text.empty())) __builtin_trap();
        }
    }
    return 0;
}
