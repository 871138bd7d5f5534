#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/prepare.h"

namespace gyrel {
namespace {

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
