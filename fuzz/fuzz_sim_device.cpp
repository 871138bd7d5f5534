// Any bytes from a host, at any pace, into the simulated encoder that `gyrel-cli
// simulate` serves on a pseudo-terminal: every reply has a known size and comes no
// sooner than the byte that asked for it, and a status query still gets its answer
// afterwards. The first byte picks the model; the top bit of each byte a pause.
#include <cstddef>
#include <cstdint>

#include "device/model_table.h"
#include "sim/device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gyrel;
    if (size < 1) return 0;
    sim::Device device(modelTable()[data[0] % modelTable().size()].code);
    double t = 0;
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        t += (data[i] & 0x80) ? 150 : 1;
        for (const sim::Reply& r : device.receive(data[i + 1], t)) {
            if (r.bytes.empty() || r.bytes.size() > 270 || r.readyMs < t) __builtin_trap();
        }
    }
    const std::vector<sim::Reply> last = device.receive(0x80, t + 500);
    if (last.size() != 1) __builtin_trap();
    if (last[0].bytes.size() != 19 && last[0].bytes != Bytes{0x00, 0xFF}) __builtin_trap();
    return 0;
}
