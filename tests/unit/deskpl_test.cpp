#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "device/deskpl.h"
#include "device/rebuild.h"
#include "support/deskpl_writer.h"
#include "platform/working_folder.h"
#include "unit/program_list_fakes.h"

namespace gyrel {
namespace {

using listtest::MemoryFs;
using test::DeskplWriter;

DeskplOptions options() {
    DeskplOptions o;
    std::tie(o.deskplPath, o.listBase, o.extension, o.dateText) =
        std::make_tuple("C:\\a\\plant.dpl", "C:\\a\\plant", "TXT", "06/12/2026 08:15:00");
    return o;
}

// The result of converting the file the writer makes, in fs.
DeskplResult decode(MemoryFs& fs, const DeskplWriter& w, const DeskplOptions& o = options()) {
    fs.files["d"] = w.bytes();
    return DecodeDPL(fs, "d", o);
}

// Record 6 holds program 4; record 1 is not in use (all counts 0).
TEST(Deskpl, EntriesPairUpAndOffsetsChangeSignAndComeIntoHalfATurn) {
    DeskplWriter cams, offsets;
    cams.program(0, 9);
    cams.program(5, 4).count(5, 3, 5);
    // Pairs (0,1), (2,3), (4,5): the odd count takes the entry behind it; a
    // column that no entry of a pair sets keeps the pair before.
    cams.entry(5, 3, 0, 1.0f, 1).entry(5, 3, 1, 2.0f, 0).entry(5, 3, 2, 3.5f, 1).entry(5, 3, 3, 4.0f, 1);
    cams.entry(5, 3, 4, 7.0f, 0).entry(5, 3, 5, 0.25f, 0);
    offsets.program(5, 4).count(5, 1, 2).entry(5, 1, 0, 10.0f, 1).entry(5, 1, 1, 20.0f, 0);
    offsets.onOffset(5, 2, -5.0f).offOffset(5, 5, 200.0f).onOffset(5, 6, 180.0f).onOffset(5, 7, -180.0625f);
    const std::pair<const DeskplWriter*, const char*> rows[] = {
        {&cams, "3\t10\t20\r\n3\t40\t20\r\n3\t40\t2.5\r\n"},
        {&offsets, "1\t100\t200\r\n\r\n&\r\n2\t50\t0\r\n5\t0\t1600\r\n6\t-1800\t0\r\n7\t-1799.375\t0\r\n"},
    };
    for (const auto& [writer, body] : rows) {
        MemoryFs fs;
        const DeskplResult r = decode(fs, *writer);
        ASSERT_TRUE(r.ok) << r.why;
        EXPECT_EQ(r.written, std::vector<std::string>{"C:\\a\\plant_4.TXT"});
        EXPECT_EQ(r.paths[8] + r.paths[0], "");
        EXPECT_EQ(fs.files.at("C:\\a\\plant_4.TXT"),
                  "'Imported on 06/12/2026 08:15:00 from file C:\\a\\plant.dpl\r\n\r\n' - - - Program # 4\r\n\r\n" +
                      std::string(body));
    }
}

TEST(Deskpl, OffsetsWithNoEquivalentOnALongTurnAreRefused) {
    DeskplWriter w;
    w.program(0, 1).count(0, 1, 2).entry(0, 1, 1, 5.0f, 0);
    w.program(1, 2).count(1, 1, 2).offOffset(1, 1, 200.0f);
    MemoryFs fs;
    DeskplOptions o = options();
    o.maxPosition = 16383;
    const DeskplResult r = decode(fs, w, o);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.why, "record 2: offset of output 1 cannot be brought into -1800..1800");
    // The program converted before the bad record stays.
    EXPECT_EQ(r.written, std::vector<std::string>{"C:\\a\\plant_1.TXT"});
    EXPECT_EQ(r.paths[0], "C:\\a\\plant_1.TXT");
    EXPECT_EQ(fs.files.count("C:\\a\\plant_2.TXT"), 0u);
    // A huge offset on a normal turn ends at once instead of stepping for ever.
    DeskplWriter h;
    h.program(0, 3).count(0, 1, 1).onOffset(0, 1, 1e30f);
    EXPECT_FALSE(decode(fs, h).ok);
}

TEST(Deskpl, BadFilesAreRefusedWithoutReadingPastThem) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const std::pair<DeskplWriter, const char*> rows[] = {
        {DeskplWriter().truncate(328991), "file shorter than 328992 bytes"},
        {DeskplWriter().truncate(0), "file shorter than 328992 bytes"},
        {DeskplWriter().program(0, 1).count(0, 2, -1), "record 1: output 2 has -1 entries"},
        {DeskplWriter().program(3, 1).count(3, 16, 256), "record 4: output 16 has 256 entries"},
        {DeskplWriter().program(0, 17).count(0, 1, 2), "record 1: program number 17 outside 1..16"},
        {DeskplWriter().program(0, 0).count(0, 1, 2), "record 1: program number 0 outside 1..16"},
        {DeskplWriter().program(0, 1).count(0, 1, 2).entry(0, 1, 1, 3.0f, 2), "record 1: output 1 entry 1 has kind 2"},
        {DeskplWriter().program(0, 1).count(0, 1, 2).entry(0, 1, 0, nan, 1), "record 1: output 1 entry 0 is no angle"},
        {DeskplWriter().program(0, 1).count(0, 1, 2).entry(0, 1, 0, inf, 1), "record 1: output 1 entry 0 is no angle"},
    };
    MemoryFs fs;
    for (const auto& [writer, why] : rows) {
        const DeskplResult r = decode(fs, writer);
        EXPECT_FALSE(r.ok || !r.written.empty()) << why;
        EXPECT_EQ(r.why, why);
    }
    EXPECT_FALSE(DecodeDPL(fs, "missing", options()).ok);
    // One record read on its own is refused the same way.
    bool inUse = true;
    int program = 0;
    std::string text, reason;
    EXPECT_FALSE(
        convertDeskplRecord(DeskplWriter().truncate(1000).bytes(), 15, options(), inUse, program, text, reason));
    EXPECT_EQ(reason, "file shorter than 328992 bytes");
}

TEST(Deskpl, TheFullEntryTableIsReadToItsLastEntry) {
    DeskplWriter w;
    w.program(15, 16).count(15, 16, 255);
    for (int c = 0; c < 255; ++c) w.entry(15, 16, c, static_cast<float>(c), c % 2 == 0 ? 1 : 0);
    w.onOffset(15, 16, 1.0f).offOffset(15, 1, 0.0f);
    MemoryFs fs;
    const DeskplResult r = decode(fs, w);
    ASSERT_TRUE(r.ok) << r.why;
    const std::string& t = fs.files.at("C:\\a\\plant_16.TXT");
    // 128 rows; the last pair has no entry behind the table and keeps OFF 2530.
    EXPECT_NE(t.find("16\t2520\t2530\r\n16\t2540\t2530\r\n\r\n&\r\n16\t-10\t0\r\n"), std::string::npos);
}

TEST(Deskpl, SingleValuesAreWrittenInTheGeneralFormat) {
    const std::pair<float, const char*> rows[] = {
        {205.0f, "205"},        {-2000.0f, "-2000"},      {2.5f, "2.5"},          {123.4567f, "123.4567"}, {-0.0f, "0"},
        {3e10f, "30000000000"}, {-1.5e-6f, "-0.0000015"}, {12345.67f, "12345.67"}};
    for (const auto& [value, text] : rows) EXPECT_EQ(formatSingle(value), text);
}

struct DeskplImportTest : ::testing::Test, listtest::MultiFilesRig {};

// A cancelled, missing or bad file shows an error; a good one writes its programs and the list.
TEST_F(DeskplImportTest, ABadFileShowsErrorAGoodOneWritesTheFilesAndTheList) {
    mf.hooks.dateNow = [] { return std::string("06/12/2026 08:15:00"); };
    fs.files[inWorkingFolder("lav.lav")] = "1 1 2\r\n";
    ed.ProgBox = "stale";
    mf.MenuDeskpl();
    EXPECT_EQ(ed.ProgBox, "1 1 2\r\n");  // the box shows the work file again
    op.files.push_back(std::string("C:\\nothing.dpl"));
    mf.MenuDeskpl();
    EXPECT_EQ(op.dialogs.size(), 2u);  // no list name is asked for a missing file
    DeskplWriter bad;
    bad.program(0, 2).count(0, 1, 2);
    bad.program(1, 3).count(1, 1, 2).entry(1, 1, 0, 1.0f, 7);
    fs.files["C:\\bad.dpl"] = bad.bytes();
    fs.files["C:\\keep.lis"] = "1   (x)\r\n";
    op.files = {std::string("C:\\bad.dpl"), std::string("C:\\keep.lis")};
    mf.MenuDeskpl();
    ASSERT_EQ(op.shown.size(), 3u);
    for (const auto& s : op.shown) {
        EXPECT_EQ(s.prompt, "ERROR               ");
        EXPECT_EQ(s.icon, MsgIcon::Exclamation);
    }
    EXPECT_EQ(mf.panel.MultiPath[1] + "|" + mf.panel.MultiPath[2], "C:\\keep_2.TXT|");
    EXPECT_EQ(fs.files.at("C:\\keep.lis"), "1   (x)\r\n");
    EXPECT_EQ(fs.files.count("C:\\keep_2.TXT"), 1u);

    EXPECT_EQ(proposedListName("C:\\a.b\\p.dpl") + " " + listBaseOf("C:\\a\\plant_rev_dpl"),
              "C:\\a.b\\p_dpl C:\\a\\plant_rev_dpl");
    DeskplWriter w;
    w.program(0, 4).count(0, 1, 2).entry(0, 1, 0, 10.0f, 1).entry(0, 1, 1, 20.5f, 0);
    fs.files["C:\\a\\plant.rev.dpl"] = w.bytes();
    ed.ProgBox = "old text";
    ed.ProgramFilePath = "C:\\old.TXT";
    ed.ModifiedFlag = true;
    op.files = {std::string("C:\\a\\plant.rev.dpl"), std::string("C:\\a\\plant.lis")};
    mf.MenuDeskpl();
    ASSERT_EQ(op.dialogs.size(), 6u);
    EXPECT_EQ(op.dialogs[5].initialPath, "C:\\a\\plant_rev_dpl");
    EXPECT_EQ(op.shown.size(), 3u);
    EXPECT_EQ(mf.panel.MultiPath[3], "C:\\a\\plant_4.TXT");
    EXPECT_EQ(fs.files.at("C:\\a\\plant_4.TXT"),
              "'Imported on 06/12/2026 08:15:00 from file C:\\a\\plant.rev.dpl\r\n"
              "\r\n' - - - Program # 4\r\n\r\n1\t100\t205\r\n");
    EXPECT_EQ(fs.files.at("C:\\a\\plant.lis"), "4   (C:\\a\\plant_4.TXT)\r\n");
    EXPECT_EQ(ed.ProgramFilePath, "");
    EXPECT_TRUE(ed.SelezMulti);  // the list mode
}

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
    // Large positions are written as plain whole numbers.
    EXPECT_EQ(plainNumber(4294967295.0) + " " + plainNumber(0) + " " + plainNumber(2.5), "4294967295 0 2.5");
}

}  // namespace
}  // namespace gyrel
