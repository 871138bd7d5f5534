#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace gyrel {

// Change points read back from the device: [i][0] position, [i][1] output mask.
struct ImportedTable {
    static constexpr int kRows = 241;
    std::array<std::array<double, 2>, kRows> rows{};
};

// One cam row of program text: output 1..16, ON and OFF positions.
struct RebuiltRow {
    int output = 0;
    double on = 0;
    double off = 0;
    bool operator==(const RebuiltRow& o) const { return output == o.output && on == o.on && off == o.off; }
};

constexpr int kMaxRebuiltRows = 241;

// Turns `count` change points (entries 0..count-1, positions rising, each mask
// holding up to the next entry and the last one wrapping to the first) back into
// cam rows, by output and then by OFF edge. An output on at every entry becomes
// the row (o, 1, 1). Empty when the rows would not fit the 241-row table: the
// text is then not rebuilt rather than cut short.
std::optional<std::vector<RebuiltRow>> rebuildRows(const ImportedTable& table, int count);

// The rebuilt program text: two comment lines (import date, program number), an
// empty line, then one "output TAB ON TAB OFF" line per row, all ending in CR LF.
std::string rebuiltProgramText(const std::vector<RebuiltRow>& rows, const std::string& importedOn,
                               const std::string& dateText, const std::string& programWord, int programNumber);

// Whole numbers in plain decimal form (no exponent, no fraction for whole values).
std::string plainNumber(double value);

// The current local date and time in the general date format ("dd/mm/yyyy hh:mm:ss").
std::string generalDateNow();

}  // namespace gyrel
