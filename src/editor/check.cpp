#include "editor/check.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace gyrel {

namespace {

using Pos = long long;

Pos asPos(double v) { return static_cast<Pos>(v); }

bool examined(double output, int outputs) { return output >= 1 && output <= outputs; }

// The ON intervals of the earlier rows of one output: disjoint, keyed by start.
class Occupancy {
public:
    // The first position of [a, b] (ascending) some earlier row covers, and that row.
    bool firstCovered(Pos a, Pos b, int& row) const {
        if (a > b) return false;
        auto it = cover_.upper_bound(a);
        if (it != cover_.begin()) {
            auto prev = std::prev(it);
            if (prev->second.first >= a) {
                row = prev->second.second;
                return true;
            }
        }
        if (it != cover_.end() && it->first <= b) {
            row = it->second.second;
            return true;
        }
        return false;
    }
    void add(Pos a, Pos b, int row) {
        if (a <= b) cover_[a] = {b, row};
    }

private:
    std::map<Pos, std::pair<Pos, int>> cover_;
};

}  // namespace

long long positionAsWritten(double value, int offset, double maxPosition) {
    Pos v = asPos(value) - offset;
    const Pos span = asPos(maxPosition) + 1;
    if (v < 0) v += span;
    else if (v > asPos(maxPosition)) v -= span;
    return v;
}

CheckResult controllaDati(const CamRow* rows, int count, const std::array<bool, 16>& check2,
                          double maxPosition, int lastOutputIndex, bool offsetsApplied) {
    CheckResult result;
    const int outputs = lastOutputIndex + 1;
    const Pos max = asPos(maxPosition);

    // Equal-edge rule, in the order a walk by position, output and row meets the rows.
    using Key = std::tuple<Pos, int, int>;
    bool found = false;
    Key worst{};
    std::vector<Key> accepted;
    for (int r = 0; r < count; ++r) {
        const CamRow& row = rows[r];
        if (!examined(row[0], outputs) || row[1] != row[2]) continue;
        const Pos v = asPos(row[1]);
        if (v < 0 || v > max) continue;
        const int o = static_cast<int>(row[0]);
        const Key key{v, o, r};
        if (check2[static_cast<std::size_t>(o - 1)] || v > 1) {
            if (!found || key < worst) worst = key;
            found = true;
        } else {
            accepted.push_back(key);
        }
    }
    std::sort(accepted.begin(), accepted.end());
    for (const Key& k : accepted) {
        if (found && !(k < worst)) break;
        const AlwaysMark m{std::get<1>(k), static_cast<int>(std::get<0>(k))};
        if (std::find(result.marks.begin(), result.marks.end(), m) == result.marks.end()) result.marks.push_back(m);
    }
    if (found) {
        const int r = std::get<2>(worst);
        result.failed = true;
        result.failure = {10, std::get<1>(worst), r, r, 2, offsetsApplied};
        return result;
    }

    // Overlap rule, output by output, rows in text order.
    std::vector<std::vector<int>> byOutput(static_cast<std::size_t>(std::max(outputs, 0)) + 1);
    for (int r = 0; r < count; ++r)
        if (examined(rows[r][0], outputs)) byOutput[static_cast<std::size_t>(rows[r][0])].push_back(r);
    for (int o = 1; o <= outputs; ++o) {
        Occupancy occupied;
        for (int r : byOutput[static_cast<std::size_t>(o)]) {
            const Pos on = asPos(rows[r][1]);
            const Pos off = asPos(rows[r][2]);
            if (on == off || on < 0 || off < 0 || on > max || off > max) continue;
            std::array<std::pair<Pos, Pos>, 2> segments{{{on, off}, {1, 0}}};
            if (on > off) segments = {{{on, max}, {0, off - 1}}};
            for (const auto& [a, b] : segments) {
                int earlier = 0;
                if (occupied.firstCovered(a, b, earlier)) {
                    result.failed = true;
                    result.failure = {11, o, earlier, r, 1, offsetsApplied};
                    return result;
                }
            }
            for (const auto& [a, b] : segments) occupied.add(a, b, r);
        }
    }
    return result;
}

CheckMessage checkMessage(const std::function<std::string(int)>& msg, const CheckFailure& f, const CamRow* rows,
                          const std::array<std::int16_t, 32>& activeOffsets, double maxPosition) {
    auto shown = [&](int row, int column) {
        const double v = rows[row][column];
        if (!f.offsetsApplied) return std::to_string(asPos(v));
        const int offset = activeOffsets[static_cast<std::size_t>((column == 1 ? 0 : 16) + f.output - 1)];
        return std::to_string(positionAsWritten(v, offset, maxPosition));
    };
    std::string text = msg(f.word) + "\r\n" + msg(12) + std::to_string(f.reportedRow + 1) + "  -- " + msg(9) +
                       shown(f.reportedRow, f.valueColumn);
    if (f.offsetsApplied) text = msg(13) + "\r\n\r\n\r\n" + text;
    CheckMessage m;
    const std::string out = std::to_string(f.output);
    m.title = msg(14) + " - " + msg(24) + " " + out + " " + msg(15) + std::to_string(f.currentRow + 1);
    m.prompt = msg(24) + " " + out + "    On " + shown(f.currentRow, 1) + "    Off " + shown(f.currentRow, 2) +
               "\r\n\r\n" + text;
    return m;
}

}  // namespace gyrel
