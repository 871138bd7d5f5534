#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "editor/editor_state.h"
#include "editor/parse.h"
#include "editor/prepare.h"
#include "support/reference_prepare.h"

namespace gyrel {
namespace {

struct Case {
    std::vector<CamRow> rows;
    std::array<std::int16_t, 32> offsets{};
    std::array<bool, 16> check2{};
    double max = 0;
    int lastOutputIndex = 15;
    int mode = 0;
};

// Random programs made of the shapes that matter: plain, wrap-around, always
// OFF/ON, equal edges, cams sharing edges or overlapping, outputs beyond the
// model's count, offsets that wrap.
Case randomCase(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    static const double kMax[] = {7, 15, 31, 63, 99, 127, 359};
    Case c;
    c.max = kMax[pick(0, 6)];
    const int max = static_cast<int>(c.max);
    c.lastOutputIndex = pick(0, 1) ? 15 : 7;
    c.mode = pick(0, 4) == 0 ? 1 : 0;
    const int outputs = pick(1, 5);  // few outputs, so rows meet each other
    std::vector<int> used;
    for (int i = 0; i < outputs; ++i) used.push_back(pick(1, 16));
    const int rows = pick(0, pick(0, 1) ? 6 : 24);
    std::vector<int> edges;  // positions already used, to provoke equal edges
    auto position = [&]() {
        if (!edges.empty() && pick(0, 2) == 0)
            return edges[static_cast<std::size_t>(pick(0, static_cast<int>(edges.size()) - 1))];
        const int p = pick(0, 5) == 0 ? (pick(0, 1) ? max : pick(0, 2)) : pick(0, max);
        edges.push_back(p);
        return p;
    };
    for (int r = 0; r < rows; ++r) {
        const double o = used[static_cast<std::size_t>(pick(0, outputs - 1))];
        const int kind = pick(0, 9);  // always OFF, always ON, equal edges, a cam
        const double on = kind < 2 ? kind : position();
        c.rows.push_back({o, on, kind < 3 ? on : static_cast<double>(position())});
    }
    for (int i = 0; i < 16; ++i) {
        c.check2[static_cast<std::size_t>(i)] = pick(0, 2) == 0;
        if (pick(0, 1)) {
            c.offsets[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(pick(-max, max));
            c.offsets[static_cast<std::size_t>(16 + i)] = static_cast<std::int16_t>(pick(-max, max));
        }
    }
    return c;
}

CamTable noisyTable(std::mt19937& rng) {
    CamTable t;
    for (auto* bytes : {&t.CamTablePos, &t.CamTableMask})
        for (auto& row : *bytes)
            for (auto& b : row) b = static_cast<std::uint8_t>(rng());
    return t;
}

struct Tally {
    int cases = 0, failures = 0, tooMany = 0;
};

// Runs both implementations on copies of one case and demands the same everything.
void expectSame(const Case& c, std::mt19937& rng, Tally& tally) {
    std::vector<CamRow> fastRows = c.rows, slowRows = c.rows;
    std::array<bool, 16> fastCheck = c.check2, slowCheck = c.check2;
    const CamTable start = noisyTable(rng);
    CamTable fastTable = start, slowTable = start;
    const int n = static_cast<int>(c.rows.size());
    const PrepareOutcome fast =
        prepareCamTable(fastRows.data(), n, c.offsets, fastCheck, c.max, c.lastOutputIndex, c.mode, fastTable);
    const PrepareOutcome slow = reference::prepareCamTable(slowRows.data(), n, c.offsets, slowCheck, c.max,
                                                           c.lastOutputIndex, c.mode, slowTable);
    ++tally.cases;
    ASSERT_EQ(fast.failed, slow.failed);
    if (fast.failed) {
        ++tally.failures;
        ASSERT_EQ(fast.failure, slow.failure) << fast.failure.reportedRow << " vs " << slow.failure.reportedRow;
        const auto msg = [](int i) { return "<" + std::to_string(i) + ">"; };
        const CheckMessage a = checkMessage(msg, fast.failure, fastRows.data(), c.offsets, c.max);
        const CheckMessage b = checkMessage(msg, slow.failure, slowRows.data(), c.offsets, c.max);
        ASSERT_EQ(a.title + "|" + a.prompt, b.title + "|" + b.prompt);
    } else {
        ASSERT_EQ(fast.camCount, slow.camCount);
        if (fast.camCount > 120) ++tally.tooMany;
    }
    ASSERT_EQ(std::tie(fast.marks, fast.alwaysOutputs, fast.offsetsApplied, fastCheck, fastRows),
              std::tie(slow.marks, slow.alwaysOutputs, slow.offsetsApplied, slowCheck, slowRows));
    ASSERT_EQ(std::tie(fastTable.CamTablePos, fastTable.CamTableMask),
              std::tie(slowTable.CamTablePos, slowTable.CamTableMask));
}

// `make` gives the i-th case, or nothing to skip it; stops at the first difference,
// named by its seed and number (the cases are the same on every run).
template <class Make>
Tally compareOn(unsigned seed, int count, Make make) {
    std::mt19937 rng(seed);
    Tally tally;
    for (int i = 0; i < count && !::testing::Test::HasFatalFailure(); ++i) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", case " + std::to_string(i));
        if (const std::optional<Case> c = make(rng, i)) expectSame(*c, rng, tally);
    }
    return tally;
}

TEST(PrepareEquivalence, RandomProgramsGiveTheSameTablesAndFirstErrors) {
    const Tally t = compareOn(20261206, 6000, [](std::mt19937& rng, int) { return std::optional(randomCase(rng)); });
    // The mix must exercise both outcomes, not only one of them.
    EXPECT_TRUE(t.failures > 1000 && t.failures < 5000) << t.failures;
    // Many edges on few positions: more change points than the table keeps.
    const Tally crowded = compareOn(7, 300, [](std::mt19937& rng, int i) {
        Case c;
        c.max = 359;
        c.mode = i % 2;
        for (int o = 1; o <= 16; ++o)
            for (int k = 0; k < 6; ++k) {
                const double on = (o * 7 + k * 60 + static_cast<int>(rng() % 20)) % 360;
                c.rows.push_back({static_cast<double>(o), on, std::fmod(on + 5 + rng() % 30, 360)});
            }
        if (i % 5 == 0) c.rows.push_back({static_cast<double>(1 + rng() % 16), 1, 1});
        return std::optional(c);
    });
    EXPECT_GT(crowded.tooMany, 50);
}

// Texts with malformed lines go through the parser; whatever parses is prepared
// by both and must agree.
TEST(PrepareEquivalence, ParsedRandomTextsAgree) {
    auto ed = std::make_unique<EditorState>();
    const Tally t = compareOn(99, 3000, [&](std::mt19937& rng, int) -> std::optional<Case> {
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        static const char* kNoise[] = {"", " ", "\t", ",", "'c", "-", ".", "x", " 5", "--3"};
        const double max = pick(0, 1) ? 99 : 359;
        std::string text;
        for (int l = pick(0, 14); l > 0; --l) {
            text += std::to_string(pick(0, 17)) + " " + std::to_string(pick(0, static_cast<int>(max) + 2)) + " " +
                    std::to_string(pick(0, 2) ? pick(0, static_cast<int>(max)) : pick(0, 1));
            text += kNoise[pick(0, 9)];
            text += "\r\n";
        }
        if (pick(0, 1))
            text += "&\r\n" + std::to_string(pick(1, 16)) + " " + std::to_string(pick(-80, 80)) + " " +
                    std::to_string(pick(-80, 80)) + "\r\n";
        if (!parseCamText(text, max, *ed).ok) return std::nullopt;
        Case c;
        c.max = max;
        c.mode = pick(0, 3) == 0;
        c.lastOutputIndex = pick(0, 1) ? 15 : 7;
        c.rows.assign(ed->CamRows.begin(), ed->CamRows.begin() + ed->CamRowCount);
        for (std::size_t k = 0; k < 16; ++k) {
            c.offsets[k] = ed->TextOffsets[0][k];
            c.offsets[16 + k] = ed->TextOffsets[1][k];
            c.check2[k] = c.offsets[k] != 0 || c.offsets[16 + k] != 0;
        }
        return c;
    });
    EXPECT_GT(t.cases, 500);
}

using Entries = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

struct Prepared {
    PrepareOutcome outcome;
    CamTable table;
    Entries entries() const {
        Entries e;
        for (int i = 0; i < table.storedCount(); ++i) e.emplace_back(table.position(i), table.mask(i));
        return e;
    }
};

Prepared prepare(std::vector<CamRow> rows, double max = 3599, int mode = 0, std::array<bool, 16> check2 = {},
                 std::array<std::int16_t, 32> offsets = {}, const ProgressFn& progress = nullptr) {
    Prepared p;
    p.outcome =
        prepareCamTable(rows.data(), static_cast<int>(rows.size()), offsets, check2, max, 15, mode, p.table, progress);
    p.table.CamCount = p.outcome.camCount;
    return p;
}

// Output 1 ticked with offsets ON +20, OFF -60; output 2's offset is not applied.
// The progress names each step; quick mode checks nothing and adds no offsets.
TEST(Prepare, OffsetsOfTickedOutputsMoveTheEdgesUnlessQuickAndWrapOnPx71) {
    std::array<bool, 16> check2{true};
    std::array<std::int16_t, 32> offsets{20, 500};
    offsets[16] = -60;
    std::vector<std::pair<std::string, double>> steps;
    const ProgressFn progress = [&](const char* label, double f) { steps.emplace_back(label, f); };
    const Prepared p = prepare({{1, 3590, 50}, {2, 100, 200}}, 3599, 0, check2, offsets, progress);
    EXPECT_TRUE(p.outcome.offsetsApplied);
    EXPECT_EQ(p.entries(), (Entries{{10, 1}, {100, 3}, {200, 1}, {3590, 0}}));
    using Steps = std::vector<std::pair<std::string, double>>;
    EXPECT_EQ(steps,
              (Steps{{"Data Control", 0}, {"Data Control", 0.5}, {"Data Preparing 1", 0}, {"Data Preparing 2", 1}}));

    steps.clear();
    // Equal edges and overlaps are not checked, offsets not added.
    const Prepared q = prepare({{1, 7, 7}, {1, 100, 200}, {1, 150, 300}}, 3599, 1, check2, offsets, progress);
    EXPECT_FALSE(q.outcome.failed || q.outcome.offsetsApplied);
    EXPECT_EQ(q.entries(), (Entries{{7, 1}, {200, 0}}));
    EXPECT_EQ(steps, (Steps{{"Data Preparing 1", 0}, {"Data Preparing 2", 1}}));

    // Px71 uses its whole range for the table and the control.
    const double max = 4294967295.0;
    check2 = {};
    check2[15] = true;
    offsets = {};
    offsets[15] = 1800;   // ON 4294967000 + 1800 wraps to 1504
    offsets[31] = -1800;  // OFF 100 - 1800 wraps to 4294965596
    const Prepared w = prepare({{16, 4294967000, 100}, {1, 0, 4294967295}}, max, 0, check2, offsets);
    ASSERT_FALSE(w.outcome.failed);
    EXPECT_EQ(w.entries(), (Entries{{0, 1}, {1504, 0x8001}, {4294965596, 1}, {4294967295, 0}}));
    // Overlaps are found across the range.
    const Prepared o = prepare({{5, 4000000000, 10}, {5, 5, 3000000000}}, max);
    EXPECT_EQ(o.outcome.failure, (CheckFailure{11, 5, 0, 1, 1, false}));
}

}  // namespace
}  // namespace gyrel
