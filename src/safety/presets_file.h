#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace gyrel {

// The preset and origin of one program; absent when not known.
struct PresetEntry {
    std::uint32_t preset = 0;
    std::uint32_t origin = 0;
};
using PresetTable = std::array<std::optional<PresetEntry>, 16>;

// The presets file of a backup: one line per program known, in program order,
// "PROGRAM PRESET ORIGIN" (decimal, one blank between), CR LF.
std::string formatPresets(const PresetTable& table);

struct PresetsReadResult {
    bool ok = true;
    std::string why;  // the first bad line: "line N: ..."
    PresetTable table;
};

// Reads a presets file: blank lines are skipped; every other line holds three
// whole numbers separated by blanks or tabs, the program 1..16 (once each) and
// two values 0..4294967295. A line end may be CR LF or LF.
PresetsReadResult parsePresets(const std::string& bytes);

}  // namespace gyrel
