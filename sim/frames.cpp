#include "sim/frames.h"

namespace gyrel::sim {

std::uint8_t sum8(const Bytes& b, int first, int last) {
    unsigned sum = 0;
    for (int i = first; i <= last && i < static_cast<int>(b.size()); ++i) sum += b[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void putLe(Bytes& b, int at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) b[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
}

std::uint32_t getLe(const Bytes& b, int at, int count) {
    std::uint32_t v = 0;
    for (int i = count - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

Bytes buildStatusFrame(StatusLayout layout, const StatusFields& f) {
    Bytes b(kFrameSize, 0);
    b[0] = kStatusQuery;
    if (layout == StatusLayout::A) {
        b[2] = static_cast<std::uint8_t>(f.program);
        putLe(b, 4, static_cast<std::uint32_t>(f.cams), 2);
        putLe(b, 6, f.position, 4);
        putLe(b, 14, f.outputs, 4);
    } else {
        // The narrow layout has room for 16 bits of position and outputs and
        // 8 bits of cam count; a larger count is reported as full.
        putLe(b, 2, f.position & 0xFFFF, 2);
        b[4] = static_cast<std::uint8_t>(f.program);
        b[5] = static_cast<std::uint8_t>(f.cams > 255 ? 255 : f.cams);
        putLe(b, 8, f.outputs & 0xFFFF, 2);
    }
    b[18] = sum8(b, 1, 17);
    return b;
}

}  // namespace gyrel::sim
