#include "editor/prepare.h"

#include <algorithm>
#include <vector>

namespace gyrel {

namespace {

using Pos = long long;

bool isAlways(const CamRow& row) { return row[1] == row[2] && (row[1] == 0 || row[1] == 1); }

struct Edge {
    Pos pos;
    int output;  // 1..32
    int row;
    bool on;
};

}  // namespace

double buildCamTable(const CamRow* rows, int rowCount, double maxPosition, CamTable& table) {
    const Pos max = static_cast<Pos>(maxPosition);
    // Each output's bit is decided, at every position, by the last row (in text
    // order) that acts there. An always row acts everywhere, so for an output
    // with one only the rows after its last always row can differ from it, and
    // only at their own edge positions. Without always rows the state carries
    // from edge to edge, cyclically.
    std::array<int, 33> lastAlways;
    lastAlways.fill(-1);
    for (int r = 0; r < rowCount; ++r) {
        const double o = rows[r][0];
        if (o >= 1 && o <= 32 && isAlways(rows[r])) lastAlways[static_cast<std::size_t>(o)] = r;
    }
    std::uint32_t alwaysBits = 0;  // outputs with an always row
    std::uint32_t base = 0;        // their state away from later edges
    for (int o = 1; o <= 32; ++o) {
        const int l = lastAlways[static_cast<std::size_t>(o)];
        if (l < 0) continue;
        alwaysBits |= 1u << (o - 1);
        if (rows[l][1] == 1) base |= 1u << (o - 1);
    }

    std::vector<Edge> edges;
    edges.reserve(static_cast<std::size_t>(rowCount) * 2);
    for (int r = 0; r < rowCount; ++r) {
        const CamRow& row = rows[r];
        if (!(row[0] >= 1 && row[0] <= 32) || isAlways(row)) continue;
        const int o = static_cast<int>(row[0]);
        if (r < lastAlways[static_cast<std::size_t>(o)]) continue;
        const Pos on = static_cast<Pos>(row[1]);
        const Pos off = static_cast<Pos>(row[2]);
        if (on >= 0 && on <= max) edges.push_back({on, o, r, true});
        if (off != on && off >= 0 && off <= max) edges.push_back({off, o, r, false});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) {
        if (a.pos != b.pos) return a.pos < b.pos;
        if (a.output != b.output) return a.output < b.output;
        return a.row < b.row;
    });
    // One edge per position and output: the last row's.
    std::vector<Edge> acting;
    acting.reserve(edges.size());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (i + 1 < edges.size() && edges[i + 1].pos == edges[i].pos && edges[i + 1].output == edges[i].output)
            continue;
        acting.push_back(edges[i]);
    }

    // The state of carrying outputs before position 0 is the one their last edge left.
    std::uint32_t carry = 0;
    for (const Edge& e : acting) {
        const std::uint32_t bit = 1u << (e.output - 1);
        if (alwaysBits & bit) continue;
        if (e.on) carry |= bit;
        else carry &= ~bit;
    }

    // Positions where the profile may change: 0, every edge, and the position
    // after an edge of an output that returns to its always state there.
    std::vector<Pos> points{0};
    points.reserve(acting.size() * 2 + 1);
    for (const Edge& e : acting) {
        points.push_back(e.pos);
        if ((alwaysBits & (1u << (e.output - 1))) && e.pos < max) points.push_back(e.pos + 1);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());

    std::vector<std::uint32_t> masks(points.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        std::uint32_t over = base;
        for (; next < acting.size() && acting[next].pos == points[i]; ++next) {
            const Edge& e = acting[next];
            const std::uint32_t bit = 1u << (e.output - 1);
            std::uint32_t& target = (alwaysBits & bit) ? over : carry;
            if (e.on) target |= bit;
            else target &= ~bit;
        }
        masks[i] = (carry & ~alwaysBits) | (over & alwaysBits);
    }

    double n = 0;
    auto store = [&](Pos pos, std::uint32_t mask) {
        if (n < CamTable::kMaxStored) table.set(static_cast<int>(n), static_cast<std::uint32_t>(pos), mask);
        n += 1;
    };
    if (masks.front() != masks.back()) store(0, masks.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        if (masks[i] != masks[i - 1]) store(points[i], masks[i]);
    if (n == 0) store(0, masks.front());
    return n;
}

PrepareOutcome prepareCamTable(CamRow* rows, int rowCount, const std::array<std::int16_t, 32>& activeOffsets,
                               std::array<bool, 16>& check2, double maxPosition, int lastOutputIndex, int mode,
                               CamTable& table, const ProgressFn& progress) {
    PrepareOutcome out;
    for (int i = 0; i <= CamTable::kMaxStored; ++i)
        for (auto& bytes : table.CamTableMask) bytes[static_cast<std::size_t>(i)] = 0;
    auto report = [&](const char* label, double fraction) {
        if (progress) progress(label, fraction);
    };

    if (mode != 1) {
        for (int r = 0; r < rowCount; ++r) {
            const double o = rows[r][0];
            if (isAlways(rows[r]) && o >= 1 && o <= 16) {
                check2[static_cast<std::size_t>(o - 1)] = false;
                out.alwaysOutputs |= static_cast<std::uint16_t>(1u << (static_cast<int>(o) - 1));
            }
        }
        report("Data Control", 0);
        CheckResult first = controllaDati(rows, rowCount, check2, maxPosition, lastOutputIndex, false);
        out.marks = first.marks;
        if (first.failed) {
            out.failed = true;
            out.failure = first.failure;
            return out;
        }
        const double span = maxPosition + 1;
        for (int r = 0; r < rowCount; ++r) {
            const double o = rows[r][0];
            if (!(o >= 1 && o <= 16) || !check2[static_cast<std::size_t>(o - 1)]) continue;
            const auto k = static_cast<std::size_t>(o - 1);
            for (int c = 1; c <= 2; ++c) {
                double v = rows[r][c] + activeOffsets[k + (c == 1 ? 0 : 16)];
                if (v < 0) v += span;
                else if (v > maxPosition) v -= span;
                rows[r][c] = v;
            }
            out.offsetsApplied = true;
        }
        if (out.offsetsApplied) {
            report("Data Control", 0.5);
            CheckResult second = controllaDati(rows, rowCount, check2, maxPosition, lastOutputIndex, true);
            out.marks = second.marks;
            if (second.failed) {
                out.failed = true;
                out.failure = second.failure;
                return out;
            }
        }
    }
    report("Data Preparing 1", 0);
    out.camCount = buildCamTable(rows, rowCount, maxPosition, table);
    report("Data Preparing 2", 1);
    return out;
}

}  // namespace gyrel
