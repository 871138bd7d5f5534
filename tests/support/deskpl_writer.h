#pragma once
#include <cstdint>
#include <string>

namespace gyrel::test {

// Builds DESKPL files byte by byte for the tests: every record starts empty
// (all counts 0, all kinds 0, all angles and offsets 0).
class DeskplWriter {
public:
    DeskplWriter();
    // Program number byte of record k (0..15).
    DeskplWriter& program(int record, int number);
    // Entry count of output j (1..16) of record k, as a signed 16-bit value.
    DeskplWriter& count(int record, int output, int n);
    // Entry c of output j: its angle in degrees and its kind byte.
    DeskplWriter& entry(int record, int output, int c, float angle, int kind);
    DeskplWriter& onOffset(int record, int output, float degrees);
    DeskplWriter& offOffset(int record, int output, float degrees);
    DeskplWriter& truncate(std::size_t size);
    const std::string& bytes() const { return bytes_; }

private:
    void putFloat(std::size_t at, float v);
    std::size_t record(int k) const;
    std::string bytes_;
};

}  // namespace gyrel::test
