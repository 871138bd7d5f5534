#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/prepare.h"

namespace gyrel {
namespace {

struct Prepared {
    PrepareOutcome outcome;
    CamTable table;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> entries() const {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> e;
        for (int i = 0; i < table.storedCount(); ++i) e.emplace_back(table.position(i), table.mask(i));
        return e;
    }
};

using Entries = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

Prepared prepare(std::vector<CamRow> rows, double max = 3599, int mode = 0, std::array<bool, 16> check2 = {},
                 std::array<std::int16_t, 32> offsets = {}, CamTable start = {}, const ProgressFn& progress = nullptr) {
    Prepared p;
    p.table = start;
    p.outcome =
        prepareCamTable(rows.data(), static_cast<int>(rows.size()), offsets, check2, max, 15, mode, p.table, progress);
    p.table.CamCount = p.outcome.camCount;
    return p;
}

TEST(Prepare, RowsBecomeChangePointsReadCyclically) {
    struct Row {
        const char* what;
        std::vector<CamRow> rows;
        int mode;
        Entries entries;
    };
    const Row rows[] = {
        {"one cam", {{1, 100, 250}}, 0, {{100, 1}, {250, 0}}},
        {"wrapping cam", {{1, 3000, 50}}, 0, {{50, 0}, {3000, 1}}},
        {"ON at 0, the last position OFF", {{2, 0, 100}}, 0, {{0, 2}, {100, 0}}},
        {"always ON alone", {{3, 1, 1}}, 0, {{0, 4}}},
        {"masks", {{1, 10, 20}, {2, 20, 30}, {16, 15, 25}}, 0, {{10, 1}, {15, 0x8001}, {20, 0x8002}, {25, 2}, {30, 0}}},
        // The later always-OFF row of output 1 wins over its cam at every position.
        {"always OFF after a cam", {{1, 100, 200}, {1, 0, 0}, {2, 300, 400}}, 1, {{300, 2}, {400, 0}}},
    };
    for (const Row& r : rows) {
        const Prepared p = prepare(r.rows, 3599, r.mode);
        EXPECT_EQ(p.entries(), r.entries) << r.what;
        EXPECT_EQ(p.outcome.camCount, static_cast<double>(r.entries.size())) << r.what;
    }
    EXPECT_EQ(prepare({{3, 1, 1}}).outcome.alwaysOutputs, 4);
}

// Output 1 ticked with offsets ON +20, OFF -60; output 2's offset is not applied.
// The progress names each step; quick mode checks nothing and adds no offsets.
TEST(Prepare, OffsetsOfTickedOutputsMoveTheEdgesUnlessQuick) {
    std::array<bool, 16> check2{};
    check2[0] = true;
    std::array<std::int16_t, 32> offsets{};
    offsets[0] = 20;
    offsets[16] = -60;
    offsets[1] = 500;
    std::vector<std::pair<std::string, double>> steps;
    const ProgressFn progress = [&](const char* label, double f) { steps.emplace_back(label, f); };
    const Prepared p = prepare({{1, 3590, 50}, {2, 100, 200}}, 3599, 0, check2, offsets, {}, progress);
    EXPECT_TRUE(p.outcome.offsetsApplied);
    EXPECT_EQ(p.entries(), (Entries{{10, 1}, {100, 3}, {200, 1}, {3590, 0}}));
    using Steps = std::vector<std::pair<std::string, double>>;
    EXPECT_EQ(steps,
              (Steps{{"Data Control", 0}, {"Data Control", 0.5}, {"Data Preparing 1", 0}, {"Data Preparing 2", 1}}));

    steps.clear();
    // Equal edges and overlaps are not checked, offsets not added.
    const Prepared q = prepare({{1, 7, 7}, {1, 100, 200}, {1, 150, 300}}, 3599, 1, check2, offsets, {}, progress);
    EXPECT_FALSE(q.outcome.failed);
    EXPECT_FALSE(q.outcome.offsetsApplied);
    EXPECT_EQ(q.entries(), (Entries{{7, 1}, {200, 0}}));
    EXPECT_EQ(steps, (Steps{{"Data Preparing 1", 0}, {"Data Preparing 2", 1}}));
}

TEST(Prepare, TooManyChangePointsKeepTheFirst120AndNothingBeyond) {
    std::vector<CamRow> rows;
    for (int i = 0; i < 59; ++i) rows.push_back({1, 10.0 + i * 50, 30.0 + i * 50});
    rows.push_back({2, 3300, 3400});
    rows.push_back({3, 3400, 3500});  // 118 + 3 changes
    CamTable start;
    for (auto& bytes : start.CamTablePos) bytes.fill(0xAA);
    for (auto& bytes : start.CamTableMask) bytes.fill(0xAA);
    const Prepared p = prepare(rows, 3599, 0, {}, {}, start);
    EXPECT_EQ(p.outcome.camCount, 121);
    EXPECT_TRUE(p.outcome.tooManyCams());
    EXPECT_EQ(p.table.storedCount(), 120);
    EXPECT_EQ(p.table.position(119), 3400u);
    EXPECT_EQ(p.table.mask(119), 4u);
    // Entry 120 only had its mask cleared; later entries are untouched.
    EXPECT_EQ(p.table.position(120), 0xAAAAAAAAu);
    EXPECT_EQ(p.table.mask(120), 0u);
    EXPECT_EQ(p.table.mask(121), 0xAAAAAAAAu);
}

TEST(Prepare, AFailedControlLeavesTheTableButClearsItsMasks) {
    CamTable start;
    start.set(0, 77, 5);
    const Prepared p = prepare({{4, 7, 7}}, 3599, 0, {}, {}, start);
    EXPECT_TRUE(p.outcome.failed);
    EXPECT_EQ(p.outcome.failure, (CheckFailure{10, 4, 0, 0, 2, false}));
    EXPECT_EQ(p.table.position(0), 77u);
    EXPECT_EQ(p.table.mask(0), 0u);
}

TEST(Prepare, Px71UsesItsWholeRangeForTableAndControl) {
    const double max = 4294967295.0;
    std::array<bool, 16> check2{};
    check2[15] = true;
    std::array<std::int16_t, 32> offsets{};
    offsets[15] = 1800;   // ON 4294967000 + 1800 wraps to 1504
    offsets[31] = -1800;  // OFF 100 - 1800 wraps to 4294965596
    const Prepared p = prepare({{16, 4294967000, 100}, {1, 0, 4294967295}}, max, 0, check2, offsets);
    ASSERT_FALSE(p.outcome.failed);
    EXPECT_EQ(p.entries(), (Entries{{0, 1}, {1504, 0x8001}, {4294965596, 1}, {4294967295, 0}}));
    // Overlaps are found across the range.
    const Prepared o = prepare({{5, 4000000000, 10}, {5, 5, 3000000000}}, max);
    EXPECT_EQ(o.outcome.failure, (CheckFailure{11, 5, 0, 1, 1, false}));
}

TEST(Prepare, TheFirstErrorFollowsTheWalkOrder) {
    // The overlap of output 1 comes first in the text, but every equal-edge
    // error is found before any overlap; among those the lowest position first.
    Prepared p = prepare({{1, 10, 20}, {1, 15, 30}, {9, 50, 50}, {8, 40, 40}});
    EXPECT_EQ(p.outcome.failure, (CheckFailure{10, 8, 3, 3, 2, false}));
    // Among overlaps the lowest output first.
    p = prepare({{7, 10, 20}, {7, 15, 30}, {2, 100, 200}, {2, 200, 300}});
    EXPECT_EQ(p.outcome.failure, (CheckFailure{11, 2, 2, 3, 1, false}));
    // Outputs beyond the model's count are not examined (8 outputs here).
    std::vector<CamRow> rows{{12, 10, 20}, {12, 15, 30}, {12, 9, 9}};
    std::array<bool, 16> check2{};
    CamTable t;
    const PrepareOutcome o = prepareCamTable(rows.data(), 3, {}, check2, 3599, 7, 0, t);
    EXPECT_FALSE(o.failed);
}

}  // namespace
}  // namespace gyrel
