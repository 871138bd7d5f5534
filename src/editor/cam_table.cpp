#include "editor/cam_table.h"

#include <cmath>

namespace gyrel {

void CamTable::set(int i, std::uint32_t pos, std::uint32_t msk) {
    for (int b = 0; b < 4; ++b) {
        CamTablePos[b][i] = static_cast<std::uint8_t>(pos >> (8 * b));
        CamTableMask[b][i] = static_cast<std::uint8_t>(msk >> (8 * b));
    }
}

std::array<std::uint8_t, 4> SplitToBytes(double& v) {
    std::array<std::uint8_t, 4> out{};
    const double b3 = std::floor(v / 16777216.0);
    v -= b3 * 16777216.0;
    const double b2 = std::floor(v / 65536.0);
    v -= b2 * 65536.0;
    const double b1 = std::floor(v / 256.0);
    v -= b1 * 256.0;
    out[3] = static_cast<std::uint8_t>(static_cast<long long>(b3) & 0xFF);
    out[2] = static_cast<std::uint8_t>(static_cast<long long>(b2) & 0xFF);
    out[1] = static_cast<std::uint8_t>(static_cast<long long>(b1) & 0xFF);
    out[0] = static_cast<std::uint8_t>(static_cast<long long>(std::llround(v)) & 0xFF);
    return out;
}

}  // namespace gyrel
