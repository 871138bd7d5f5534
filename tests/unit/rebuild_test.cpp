#include <gtest/gtest.h>

#include "device/rebuild.h"

namespace gyrel {
namespace {

ImportedTable tableOf(std::initializer_list<std::pair<double, double>> entries) {
    ImportedTable t;
    int i = 0;
    for (auto [p, m] : entries) t.rows[static_cast<std::size_t>(i++)] = {p, m};
    return t;
}

TEST(Rebuild, ChangePointsBecomeCamRows) {
    struct Case {
        const char* what;
        ImportedTable table;
        int count;
        std::vector<RebuiltRow> rows;
    };
    const Case cases[] = {
        {"one cam", tableOf({{100, 1}, {200, 0}}), 2, {{1, 100, 200}}},
        {"on at every entry: the whole turn", tableOf({{0, 1}, {100, 3}}), 2, {{1, 1, 1}, {2, 100, 0}}},
        {"the final run wraps into the start", tableOf({{0, 1}, {50, 0}, {300, 1}}), 3, {{1, 300, 50}}},
        {"by output, then by OFF edge, output 16 too",
         tableOf({{10, 0x8001}, {20, 0x0002}, {30, 0x8003}, {40, 0}}),
         4,
         {{1, 10, 20}, {1, 30, 40}, {2, 20, 40}, {16, 10, 20}, {16, 30, 40}}},
        {"entries behind the count are ignored", tableOf({{100, 1}, {200, 0}, {300, 4}, {400, 0}}), 2, {{1, 100, 200}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto rows = rebuildRows(c.table, c.count);
        ASSERT_TRUE(rows.has_value());
        EXPECT_EQ(*rows, c.rows);
    }
    const auto rows = rebuildRows(tableOf({{0, 1}, {100, 3}}), 2);
    EXPECT_EQ(rebuiltProgramText(*rows, "Imported on ", "06/12/2026 07:30:00", "Program # ", 1),
              "'Imported on 06/12/2026 07:30:00\r\n'Program # 1\r\n\r\n1\t1\t1\r\n2\t100\t0\r\n");
}

TEST(Rebuild, MoreRowsThanTheTableHoldsAreRefused) {
    ImportedTable t;
    for (int i = 0; i < 241; ++i)
        t.rows[static_cast<std::size_t>(i)] = {static_cast<double>(i * 10), i % 2 ? 0.0 : 65535.0};
    EXPECT_FALSE(rebuildRows(t, 241).has_value());
    // 15 outputs x 16 cams = 240 rows still fit; one more cam does; a second one not.
    ImportedTable fits;
    for (int i = 0; i < 32; ++i)
        fits.rows[static_cast<std::size_t>(i)] = {static_cast<double>(i * 10), i % 2 ? 0.0 : 0x7FFF};
    EXPECT_EQ(rebuildRows(fits, 32).value().size(), 240u);
    fits.rows[32] = {400, 0x8000};
    fits.rows[33] = {410, 0};
    EXPECT_EQ(rebuildRows(fits, 34).value().size(), 241u);
    fits.rows[34] = {420, 0x8000};
    fits.rows[35] = {430, 0};
    EXPECT_FALSE(rebuildRows(fits, 36).has_value());
}

TEST(Rebuild, LargePositionsAreWrittenAsPlainWholeNumbers) {
    EXPECT_EQ(plainNumber(4294967295.0) + " " + plainNumber(0) + " " + plainNumber(2.5), "4294967295 0 2.5");
}

}  // namespace
}  // namespace gyrel
