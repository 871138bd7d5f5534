#include "support/deskpl_writer.h"

#include <cstring>

namespace gyrel::test {

// Offsets written from the format description, independently of the reader.
namespace {
constexpr std::size_t kFileSize = 16 + 16 * 20561;
}

DeskplWriter::DeskplWriter() : bytes_(kFileSize, '\0') { bytes_.replace(0, 6, "DESKPL"); }

std::size_t DeskplWriter::record(int k) const { return 16 + 20561 * static_cast<std::size_t>(k); }

void DeskplWriter::putFloat(std::size_t at, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<char>(bits >> (8 * i) & 0xFF);
}

DeskplWriter& DeskplWriter::program(int k, int number) {
    bytes_[record(k)] = static_cast<char>(number);
    return *this;
}

DeskplWriter& DeskplWriter::count(int k, int j, int n) {
    const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(n));
    bytes_[record(k) + 1 + 2 * (j - 1)] = static_cast<char>(v & 0xFF);
    bytes_[record(k) + 2 + 2 * (j - 1)] = static_cast<char>(v >> 8);
    return *this;
}

DeskplWriter& DeskplWriter::entry(int k, int j, int c, float angle, int kind) {
    putFloat(record(k) + 33 + 1020 * (j - 1) + 4 * c, angle);
    bytes_[record(k) + 16353 + 255 * (j - 1) + c] = static_cast<char>(kind);
    return *this;
}

DeskplWriter& DeskplWriter::onOffset(int k, int j, float d) {
    putFloat(record(k) + 20433 + 4 * (j - 1), d);
    return *this;
}

DeskplWriter& DeskplWriter::offOffset(int k, int j, float d) {
    putFloat(record(k) + 20497 + 4 * (j - 1), d);
    return *this;
}

DeskplWriter& DeskplWriter::truncate(std::size_t size) {
    bytes_.resize(size);
    return *this;
}

}  // namespace gyrel::test
