#include "reference_prepare.h"

#include <algorithm>
#include <vector>

namespace gyrel::reference {
namespace {

// The data control: sets the marks, and failed and failure on the first fault found;
// true when it passes.
bool controllaDati(const CamRow* rows, int count, const std::array<bool, 16>& check2, double maxPosition,
                   int lastOutputIndex, PrepareOutcome& out) {
    out.marks.clear();
    auto fail = [&](int word, int output, int reportedRow, int row, int column) {
        out.failed = true;
        out.failure = {word, output, reportedRow, row, column, out.offsetsApplied};
        return false;
    };
    const auto max = static_cast<long long>(maxPosition);
    // Equal edges: every position, every output, every row of it.
    for (long long p = 0; p <= max; ++p) {
        for (int o = 1; o <= lastOutputIndex + 1; ++o) {
            for (int r = 0; r < count; ++r) {
                if (rows[r][0] != o || rows[r][1] != p || rows[r][2] != p) continue;
                if (check2[static_cast<std::size_t>(o - 1)] || p > 1) return fail(10, o, r, r, 2);
                const AlwaysMark m{o, static_cast<int>(p)};
                if (std::find(out.marks.begin(), out.marks.end(), m) == out.marks.end()) out.marks.push_back(m);
            }
        }
    }
    // Overlaps: the row holding each position of an output, a cam running from ON
    // to OFF, or from ON past the last position round to OFF - 1.
    for (int o = 1; o <= lastOutputIndex + 1; ++o) {
        std::vector<int> holder(static_cast<std::size_t>(max + 1), -1);
        for (int r = 0; r < count; ++r) {
            const auto on = static_cast<long long>(rows[r][1]), off = static_cast<long long>(rows[r][2]);
            if (rows[r][0] != o || on == off) continue;
            const long long span = on < off ? off - on + 1 : max + 1 - on + off;
            for (long long i = 0; i < span; ++i) {
                int& held = holder[static_cast<std::size_t>((on + i) % (max + 1))];
                if (held >= 0) return fail(11, o, held, r, 1);
                held = r;
            }
        }
    }
    return true;
}

}  // namespace

PrepareOutcome prepareCamTable(CamRow* rows, int rowCount, const std::array<std::int16_t, 32>& activeOffsets,
                               std::array<bool, 16>& check2, double maxPosition, int lastOutputIndex, int mode,
                               CamTable& table) {
    PrepareOutcome out;
    for (auto& bytes : table.CamTableMask) std::fill_n(bytes.begin(), 121, 0);
    auto control = [&] { return controllaDati(rows, rowCount, check2, maxPosition, lastOutputIndex, out); };
    if (mode != 1) {
        for (int r = 0; r < rowCount; ++r) {
            if (rows[r][1] != rows[r][2] || (rows[r][1] != 0 && rows[r][1] != 1)) continue;
            const auto o = static_cast<std::size_t>(rows[r][0] - 1);
            check2[o] = false;
            out.alwaysOutputs |= static_cast<std::uint16_t>(1u << o);
        }
        if (!control()) return out;
        for (int r = 0; r < rowCount; ++r) {
            const auto o = static_cast<std::size_t>(rows[r][0] - 1);
            if (!check2[o]) continue;
            rows[r][1] += activeOffsets[o];
            rows[r][2] += activeOffsets[16 + o];
            for (int c = 1; c <= 2; ++c) {
                if (rows[r][c] < 0) rows[r][c] += maxPosition + 1;
                else if (rows[r][c] > maxPosition) rows[r][c] -= maxPosition + 1;
            }
            out.offsetsApplied = true;
        }
        if (out.offsetsApplied && !control()) return out;
    }
    // Two passes over every position with one running mask.
    const auto max = static_cast<std::size_t>(maxPosition);
    std::vector<std::uint32_t> profile(max + 1, 0);
    std::uint32_t m = 0;
    for (int pass = 1; pass <= 2; ++pass) {
        for (std::size_t p = 0; p <= max; ++p) {
            for (int r = 0; r < rowCount; ++r) {
                if (rows[r][0] <= 0) continue;
                const std::uint32_t b = 1u << (static_cast<int>(rows[r][0]) - 1);
                if (rows[r][1] == 0 && rows[r][2] == 0) m &= ~b;
                else if ((rows[r][1] == 1 && rows[r][2] == 1) || rows[r][1] == p) m |= b;
                else if (rows[r][2] == p) m &= ~b;
            }
            profile[p] = m;
        }
    }
    int n = 0;
    auto change = [&](std::size_t p) {
        if (n < 120) table.set(n, static_cast<std::uint32_t>(p), profile[p]);
        ++n;
    };
    if (profile[0] != profile[max]) change(0);
    for (std::size_t p = 1; p <= max; ++p)
        if (profile[p] != profile[p - 1]) change(p);
    if (n == 0) change(0);
    out.camCount = n;
    return out;
}

}  // namespace gyrel::reference
