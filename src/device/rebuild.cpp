#include "device/rebuild.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace gyrel {

std::optional<std::vector<RebuiltRow>> rebuildRows(const ImportedTable& table, int count) {
    const int n = count < 0 ? 0 : count > ImportedTable::kRows ? ImportedTable::kRows : count;
    auto P = [&](int i) { return table.rows[static_cast<std::size_t>(i)][0]; };
    auto M = [&](int i) {
        const double m = table.rows[static_cast<std::size_t>(i)][1];
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::llround(m)) & 0xFFFFFFFFu);
    };
    std::vector<RebuiltRow> rows;
    RebuiltRow building;
    for (int o = 1; o <= 16; ++o) {
        const std::uint32_t b = 1u << (o - 1);
        std::uint32_t prev = 0;
        // A final run of entries with the bit set wraps into the start of the turn.
        for (int i = n - 1; i >= 0; --i) {
            if ((M(i) & b) == 0) break;
            if (i == 0) {
                rows.push_back(RebuiltRow{o, 1, 1});
                if (static_cast<int>(rows.size()) > kMaxRebuiltRows) return std::nullopt;
                break;
            }
            building.on = P(i);
            prev = b;
        }
        for (int i = 0; i < n; ++i) {
            const std::uint32_t s = M(i) & b;
            if (s != prev) {
                if (s == 0) {
                    building.off = P(i);
                    building.output = o;
                    rows.push_back(building);
                    if (static_cast<int>(rows.size()) > kMaxRebuiltRows) return std::nullopt;
                } else {
                    building.on = P(i);
                }
            }
            prev = s;
        }
    }
    return rows;
}

std::string plainNumber(double value) {
    char buf[64];
    if (value == std::floor(value) && std::fabs(value) < 1e18) {
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(value));
    } else {
        std::snprintf(buf, sizeof buf, "%.15g", value);
    }
    return buf;
}

std::string rebuiltProgramText(const std::vector<RebuiltRow>& rows, const std::string& importedOn,
                               const std::string& dateText, const std::string& programWord, int programNumber) {
    std::string text = "'" + importedOn + dateText + "\r\n";
    text += "'" + programWord + std::to_string(programNumber) + "\r\n\r\n";
    for (const RebuiltRow& r : rows) {
        text += std::to_string(r.output) + "\t" + plainNumber(r.on) + "\t" + plainNumber(r.off) + "\r\n";
    }
    return text;
}

std::string generalDateNow() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char buf[32];
    std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M:%S", &local);
    return buf;
}

}  // namespace gyrel
