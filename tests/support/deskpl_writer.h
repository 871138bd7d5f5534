#pragma once
#include <cstdint>
#include <cstring>
#include <string>

namespace gyrel::test {

// Builds DESKPL files byte by byte, from the format's offsets and independently of the
// reader: every record starts empty (all counts, kinds, angles and offsets 0).
class DeskplWriter {
public:
    DeskplWriter() : bytes_(16 + 16 * kRecord, '\0') { bytes_.replace(0, 6, "DESKPL"); }
    // Program number byte of record k (0..15).
    DeskplWriter& program(int k, int number) { return put(at(k), number); }
    // Entry count of output j (1..16) of record k, as a signed 16-bit value.
    DeskplWriter& count(int k, int j, int n) {
        const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(n));
        return put(at(k) + 2 * j - 1, v & 0xFF).put(at(k) + 2 * j, v >> 8);
    }
    // Entry c of output j: its angle in degrees and its kind byte.
    DeskplWriter& entry(int k, int j, int c, float angle, int kind) {
        putFloat(at(k) + 33 + 1020 * (j - 1) + 4 * c, angle);
        return put(at(k) + 16353 + 255 * (j - 1) + c, kind);
    }
    DeskplWriter& onOffset(int k, int j, float d) { return putFloat(at(k) + 20433 + 4 * (j - 1), d); }
    DeskplWriter& offOffset(int k, int j, float d) { return putFloat(at(k) + 20497 + 4 * (j - 1), d); }
    DeskplWriter& truncate(std::size_t size) {
        bytes_.resize(size);
        return *this;
    }
    const std::string& bytes() const { return bytes_; }

private:
    static constexpr std::size_t kRecord = 20561;
    static std::size_t at(int k) { return 16 + kRecord * static_cast<std::size_t>(k); }
    DeskplWriter& put(std::size_t i, int byte) {
        bytes_[i] = static_cast<char>(byte);
        return *this;
    }
    DeskplWriter& putFloat(std::size_t i, float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        for (int b = 0; b < 4; ++b) put(i + b, bits >> (8 * b) & 0xFF);
        return *this;
    }
    std::string bytes_;
};

}  // namespace gyrel::test
