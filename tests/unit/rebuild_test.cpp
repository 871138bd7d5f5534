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

std::string textOf(const ImportedTable& t, int n) {
    auto rows = rebuildRows(t, n);
    EXPECT_TRUE(rows.has_value());
    return rebuiltProgramText(*rows, "Imported on ", "06/12/2026 07:30:00", "Program # ", 1);
}

TEST(Rebuild, OneCamBecomesOneLineUnderTheTwoCommentLines) {
    EXPECT_EQ(textOf(tableOf({{100, 1}, {200, 0}}), 2),
              "'Imported on 06/12/2026 07:30:00\r\n'Program # 1\r\n\r\n1\t100\t200\r\n");
}

TEST(Rebuild, OutputOnAtEveryEntryIsOnForTheWholeTurn) {
    EXPECT_EQ(textOf(tableOf({{0, 1}, {100, 3}}), 2),
              "'Imported on 06/12/2026 07:30:00\r\n'Program # 1\r\n\r\n1\t1\t1\r\n2\t100\t0\r\n");
}

TEST(Rebuild, FinalRunWrapsIntoTheStartOfTheTurn) {
    auto rows = rebuildRows(tableOf({{0, 1}, {50, 0}, {300, 1}}), 3);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ((*rows)[0], (RebuiltRow{1, 300, 50}));
}

TEST(Rebuild, RowsComeByOutputThenByOffEdgeAndIncludeOutputSixteen) {
    auto rows = rebuildRows(tableOf({{10, 0x8001}, {20, 0x0002}, {30, 0x8003}, {40, 0}}), 4);
    ASSERT_TRUE(rows.has_value());
    const std::vector<RebuiltRow> expected{{1, 10, 20}, {1, 30, 40}, {2, 20, 40}, {16, 10, 20}, {16, 30, 40}};
    EXPECT_EQ(*rows, expected);
}

TEST(Rebuild, EntriesBehindTheCountAreIgnored) {
    auto rows = rebuildRows(tableOf({{100, 1}, {200, 0}, {300, 4}, {400, 0}}), 2);
    ASSERT_TRUE(rows.has_value());
    EXPECT_EQ(rows->size(), 1u);
}

TEST(Rebuild, MoreRowsThanTheTableHoldsAreRefused) {
    ImportedTable t;
    for (int i = 0; i < 241; ++i) t.rows[static_cast<std::size_t>(i)] = {static_cast<double>(i * 10), i % 2 ? 0.0 : 65535.0};
    EXPECT_FALSE(rebuildRows(t, 241).has_value());
    // 15 outputs x 16 cams = 240 rows still fit; one more cam does not.
    ImportedTable fits;
    for (int i = 0; i < 32; ++i) fits.rows[static_cast<std::size_t>(i)] = {static_cast<double>(i * 10), i % 2 ? 0.0 : 0x7FFF};
    auto rows = rebuildRows(fits, 32);
    ASSERT_TRUE(rows.has_value());
    EXPECT_EQ(rows->size(), 240u);
    fits.rows[32] = {400, 0x8000};
    fits.rows[33] = {410, 0};
    auto more = rebuildRows(fits, 34);
    ASSERT_TRUE(more.has_value());
    EXPECT_EQ(more->size(), 241u);
    fits.rows[34] = {420, 0x8000};
    fits.rows[35] = {430, 0};
    EXPECT_FALSE(rebuildRows(fits, 36).has_value());
}

TEST(Rebuild, LargePositionsAreWrittenAsPlainWholeNumbers) {
    EXPECT_EQ(plainNumber(4294967295.0), "4294967295");
    EXPECT_EQ(plainNumber(0), "0");
    EXPECT_EQ(plainNumber(2.5), "2.5");
}

}  // namespace
}  // namespace gyrel
