#pragma once
#include <array>
#include <cstdint>

namespace gyrel {

// The prepared cam table: change point i holds its position and the output mask
// valid from it on, each as four bytes, least significant first ([byte][entry]).
// At most 120 entries are ever stored; CamCount may say more after the
// "too much cams" message, so readers use storedCount().
struct CamTable {
    static constexpr int kMaxStored = 120;
    static constexpr int kSlots = 241;

    std::array<std::array<std::uint8_t, kSlots>, 4> CamTablePos{};
    std::array<std::array<std::uint8_t, kSlots>, 4> CamTableMask{};
    double CamCount = 0;

    int storedCount() const {
        return CamCount < 0 ? 0 : CamCount > kMaxStored ? kMaxStored : static_cast<int>(CamCount);
    }
    std::uint32_t position(int i) const { return join(CamTablePos, i); }
    std::uint32_t mask(int i) const { return join(CamTableMask, i); }
    void set(int i, std::uint32_t position, std::uint32_t mask);

private:
    static std::uint32_t join(const std::array<std::array<std::uint8_t, kSlots>, 4>& t, int i) {
        return static_cast<std::uint32_t>(t[0][i]) | static_cast<std::uint32_t>(t[1][i]) << 8 |
               static_cast<std::uint32_t>(t[2][i]) << 16 | static_cast<std::uint32_t>(t[3][i]) << 24;
    }
};

// Cuts a whole number 0..4294967295 into four bytes, least significant first, by
// repeated whole division; v is left holding the final remainder (a fraction
// stays in it and byte 0 gets it rounded).
std::array<std::uint8_t, 4> SplitToBytes(double& v);

}  // namespace gyrel
