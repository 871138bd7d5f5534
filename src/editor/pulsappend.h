#pragma once
#include <array>
#include <string>
#include <vector>

namespace gyrel {

// The V712 row boxes TxtOFS, TxtCON, TxtCOF of outputs 1..16, as typed.
struct RowBoxes {
    std::array<std::string, 16> ofs{}, con{}, cof{};
};

// Val: an optional sign, digits and a decimal point read from the start of the
// text; the rest is ignored and an unreadable text is 0.
double valOf(const std::string& text);
// A number in the general format: no fraction for a whole value.
std::string generalNumber(double v);

// Replaces the block of one program in a V712 program text: removes the lines
// of its title comment ("#  " and the number as a whole word) and its "PRG="
// lines (the number as a whole word, so program 1 keeps program 10's lines),
// then appends the title comment (programTitle, e.g. "Program # ") and one
// "PRG=" line per output with a filled box. `warnings` receives the text of
// each row whose offset exceeds ON + OFF ("30 > 10 + 5").
std::string appendProgramBlock(const std::string& text, const std::string& program,
                               const std::string& programTitle, const RowBoxes& rows,
                               std::vector<std::string>* warnings);

}  // namespace gyrel
