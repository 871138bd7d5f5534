#include "safety/presets_file.h"

#include <vector>

namespace gyrel {

std::string formatPresets(const PresetTable& table) {
    std::string out;
    for (int i = 0; i < 16; ++i) {
        const auto& e = table[static_cast<std::size_t>(i)];
        if (!e) continue;
        out += std::to_string(i + 1) + " " + std::to_string(e->preset) + " " + std::to_string(e->origin) + "\r\n";
    }
    return out;
}

namespace {

// Whole numbers of a line; false on any other character or a value above 2^32 - 1.
bool numbersOf(const std::string& line, std::vector<std::uint64_t>& out) {
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        if (c < '0' || c > '9') return false;
        std::uint64_t v = 0;
        while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
            v = v * 10 + static_cast<std::uint64_t>(line[i] - '0');
            if (v > 0xFFFFFFFFull) return false;
            ++i;
        }
        out.push_back(v);
    }
    return true;
}

}  // namespace

PresetsReadResult parsePresets(const std::string& bytes) {
    PresetsReadResult r;
    std::size_t start = 0;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        r.ok = false;
        r.why = "line " + std::to_string(lineNumber) + ": " + why;
        r.table = {};
        return r;
    };
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::uint64_t> n;
        if (!numbersOf(line, n)) return fail("expected PROGRAM PRESET ORIGIN in whole numbers");
        if (n.empty()) continue;
        if (n.size() != 3) return fail("expected three numbers, found " + std::to_string(n.size()));
        if (n[0] < 1 || n[0] > 16) return fail("program " + std::to_string(n[0]) + " outside 1..16");
        auto& slot = r.table[static_cast<std::size_t>(n[0] - 1)];
        if (slot) return fail("program " + std::to_string(n[0]) + " given twice");
        slot = PresetEntry{static_cast<std::uint32_t>(n[1]), static_cast<std::uint32_t>(n[2])};
    }
    return r;
}

}  // namespace gyrel
