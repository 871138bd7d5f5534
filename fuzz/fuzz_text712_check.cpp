// The check that keeps binary bytes from being typed to a V712 on any bytes:
// it must never crash, and it refuses exactly the texts holding a control
// character other than CR, LF and TAB.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/text712_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    bool control = false;
    for (unsigned char b : bytes)
        if ((b < 0x20 || b == 0x7F) && b != '\r' && b != '\n' && b != '\t') control = true;
    const std::size_t at = gyrel::firstControlCharacter(bytes);
    if (control != (at != std::string::npos)) std::abort();
    if (gyrel::text712Problem(bytes).empty() == control) std::abort();
    return 0;
}
