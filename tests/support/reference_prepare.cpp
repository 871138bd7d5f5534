#include "reference_prepare.h"

#include <algorithm>
#include <vector>

namespace gyrel::reference {

CheckResult controllaDati(const CamRow* rows, int count, const std::array<bool, 16>& check2, double maxPosition,
                          int lastOutputIndex, bool offsetsApplied) {
    CheckResult result;
    const long long max = static_cast<long long>(maxPosition);
    // Equal-edge pass: every position, every output, every row of it.
    for (long long p = 0; p <= max; ++p) {
        for (int o = 1; o <= lastOutputIndex + 1; ++o) {
            for (int r = 0; r < count; ++r) {
                if (rows[r][0] != o) continue;
                if (!(rows[r][1] == p || rows[r][2] == p) || rows[r][1] != rows[r][2]) continue;
                const double value = rows[r][2];
                if (check2[static_cast<std::size_t>(o - 1)] || value > 1) {
                    result.failed = true;
                    result.failure = {10, o, r, r, 2, offsetsApplied};
                    return result;
                }
                const AlwaysMark m{o, static_cast<int>(value)};
                if (std::find(result.marks.begin(), result.marks.end(), m) == result.marks.end())
                    result.marks.push_back(m);
            }
        }
    }
    // Overlap pass: one occupancy table per output.
    for (int o = 1; o <= lastOutputIndex + 1; ++o) {
        std::vector<std::uint16_t> occupied(static_cast<std::size_t>(max + 1), 0);
        for (int r = 0; r < count; ++r) {
            if (rows[r][0] != o) continue;
            const long long on = static_cast<long long>(rows[r][1]);
            const long long off = static_cast<long long>(rows[r][2]);
            std::vector<long long> visit;
            if (on < off) {
                for (long long p = on; p <= off; ++p) visit.push_back(p);
            } else if (on > off) {
                for (long long p = on; p <= max; ++p) visit.push_back(p);
                for (long long p = 0; p <= off - 1; ++p) visit.push_back(p);
            }
            for (long long p : visit) {
                std::uint16_t& entry = occupied[static_cast<std::size_t>(p)];
                if (entry == 0) {
                    entry = static_cast<std::uint16_t>(r + 1);
                } else {
                    result.failed = true;
                    result.failure = {11, o, entry - 1, r, 1, offsetsApplied};
                    return result;
                }
            }
        }
    }
    return result;
}

namespace {

bool isAlways(const CamRow& row) { return row[1] == row[2] && (row[1] == 0 || row[1] == 1); }

}  // namespace

PrepareOutcome prepareCamTable(CamRow* rows, int rowCount, const std::array<std::int16_t, 32>& activeOffsets,
                               std::array<bool, 16>& check2, double maxPosition, int lastOutputIndex, int mode,
                               CamTable& table) {
    PrepareOutcome out;
    for (int i = 0; i <= 120; ++i)
        for (int b = 0; b < 4; ++b) table.CamTableMask[static_cast<std::size_t>(b)][static_cast<std::size_t>(i)] = 0;
    const long long max = static_cast<long long>(maxPosition);
    if (mode != 1) {
        for (int r = 0; r < rowCount; ++r) {
            if (!isAlways(rows[r])) continue;
            const int o = static_cast<int>(rows[r][0]);
            check2[static_cast<std::size_t>(o - 1)] = false;
            out.alwaysOutputs |= static_cast<std::uint16_t>(1u << (o - 1));
        }
        CheckResult first = controllaDati(rows, rowCount, check2, maxPosition, lastOutputIndex, false);
        out.marks = first.marks;
        if (first.failed) {
            out.failed = true;
            out.failure = first.failure;
            return out;
        }
        for (int r = 0; r < rowCount; ++r) {
            const int o = static_cast<int>(rows[r][0]);
            if (isAlways(rows[r])) check2[static_cast<std::size_t>(o - 1)] = false;
            if (!check2[static_cast<std::size_t>(o - 1)]) continue;
            rows[r][1] += activeOffsets[static_cast<std::size_t>(o - 1)];
            rows[r][2] += activeOffsets[static_cast<std::size_t>(16 + o - 1)];
            for (int c = 1; c <= 2; ++c) {
                if (rows[r][c] < 0) rows[r][c] += maxPosition + 1;
                else if (rows[r][c] > maxPosition) rows[r][c] -= maxPosition + 1;
            }
            out.offsetsApplied = true;
        }
        if (out.offsetsApplied) {
            CheckResult second = controllaDati(rows, rowCount, check2, maxPosition, lastOutputIndex, true);
            out.marks = second.marks;
            if (second.failed) {
                out.failed = true;
                out.failure = second.failure;
                return out;
            }
        }
    }
    // Two passes over every position with one running mask.
    std::vector<double> profile(static_cast<std::size_t>(max + 1), 0);
    std::uint32_t m = 0;
    for (int pass = 1; pass <= 2; ++pass) {
        for (long long p = 0; p <= max; ++p) {
            for (int r = 0; r < rowCount; ++r) {
                if (rows[r][0] <= 0) continue;
                const std::uint32_t b = 1u << (static_cast<int>(rows[r][0]) - 1);
                if (rows[r][1] == 0 && rows[r][2] == 0) {
                    m &= ~b;
                } else if (rows[r][1] == 1 && rows[r][2] == 1) {
                    m |= b;
                    table.set(0, 0, static_cast<std::uint32_t>(profile[0]));
                } else if (rows[r][1] == p) {
                    m |= b;
                } else if (rows[r][2] == p) {
                    m &= ~b;
                }
            }
            profile[static_cast<std::size_t>(p)] = m;
        }
    }
    int n = 0;
    if (profile[0] != profile[static_cast<std::size_t>(max)]) {
        table.set(0, 0, static_cast<std::uint32_t>(profile[0]));
        n = 1;
    }
    for (long long p = 1; p <= max; ++p) {
        if (profile[static_cast<std::size_t>(p)] != profile[static_cast<std::size_t>(p - 1)]) {
            if (n < 120) table.set(n, static_cast<std::uint32_t>(p), static_cast<std::uint32_t>(profile[static_cast<std::size_t>(p)]));
            ++n;
        }
    }
    if (n == 0) {
        n = 1;
        table.set(0, 0, static_cast<std::uint32_t>(profile[0]));
    }
    out.camCount = n;
    return out;
}

}  // namespace gyrel::reference
