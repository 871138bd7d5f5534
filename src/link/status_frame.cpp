#include "link/status_frame.h"

namespace gyrel {

static std::uint32_t little(const Bytes& b, std::size_t first, std::size_t count) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < count; ++i) v |= static_cast<std::uint32_t>(b.at(first + i)) << (8 * i);
    return v;
}

StatusFrame decodeStatusFrame(const Bytes& b, StatusLayout layout) {
    StatusFrame f;
    if (layout == StatusLayout::A) {
        f.program = b.at(2);
        f.cams = little(b, 4, 2);
        f.position = little(b, 6, 4);
        f.outputs = little(b, 14, 4);
    } else {
        f.program = b.at(4);
        f.cams = b.at(5);
        f.position = little(b, 2, 2);
        f.outputs = little(b, 8, 2);
    }
    return f;
}

}  // namespace gyrel
