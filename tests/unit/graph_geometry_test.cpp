#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "editor/graph_geometry.h"

namespace gyrel {
namespace {

std::vector<GraphLine> linesOf(const GraphDrawing& d, Rgb colour) {
    std::vector<GraphLine> out;
    for (const auto& l : d.lines)
        if (l.colour == colour) out.push_back(l);
    return out;
}

// The strokes of one trace: those whose y lies within its band.
std::vector<GraphLine> traceOf(const GraphDrawing& d, double low, double high) {
    std::vector<GraphLine> out;
    for (const auto& l : linesOf(d, kGraphTraceColour))
        if (l.y1 >= low && l.y1 <= high && l.y2 >= low && l.y2 <= high) out.push_back(l);
    return out;
}

CamTable table(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& entries) {
    CamTable t;
    for (std::size_t i = 0; i < entries.size(); ++i) t.set(static_cast<int>(i), entries[i].first, entries[i].second);
    t.CamCount = static_cast<double>(entries.size());
    return t;
}

TEST(GraphProfile, ReadsTheCamTableCyclicallyUpToTheStoredEntries) {
    const auto wrap = profileFromCamTable(table({{50, 0}, {3000, 1}}), 3599);
    ASSERT_EQ(wrap.size(), 3600u);
    EXPECT_EQ((std::vector<std::uint32_t>{wrap[0], wrap[49], wrap[50], wrap[2999], wrap[3000], wrap[3599]}),
              (std::vector<std::uint32_t>{1, 1, 0, 0, 1, 1}));
    EXPECT_EQ(profileFromCamTable(CamTable{}, 3599), std::vector<std::uint32_t>(3600, 0));

    CamTable t;
    for (int i = 0; i < 120; ++i) t.set(i, static_cast<std::uint32_t>(i * 10 + 5), i % 2 ? 0u : 1u);
    t.CamCount = 131;  // after the "too much cams" notice
    const auto p = profileFromCamTable(t, 3599);
    EXPECT_EQ((std::vector<std::uint32_t>{p[0], p[5], p[1194], p[1195], p[3599]}),
              (std::vector<std::uint32_t>{0, 1, 1, 0, 0}));  // the last stored entry runs on
}

TEST(BarreGraf, OneCamGivesAStepUpAndAStepDownAndARunToTheEnd) {
    GraphDrawing d;
    int scale = 2, pitch = 45;
    BarreGraf(d, profileFromCamTable(table({{100, 1}, {250, 0}}), 3599), scale, pitch, "c:\\p.txt", 12000);
    EXPECT_EQ(d.title, "Graph --- c:\\p.txt");
    EXPECT_EQ(std::make_pair(d.width, d.top), std::make_pair(7800.0, 12000.0 - 5720 - 20));
    // Output 1: baseline (160*0+133)*2 = 266, high 266-188 = 78.
    const auto t = traceOf(d, 70, 270);
    // ON at 100: x = 300 + 2*100; OFF at 250; on to the last position 3599.
    const Rgb c = kGraphTraceColour;
    const std::vector<GraphLine> expected = {{300, 266, 300, 266, c, true},     {300, 266, 500, 266, c, false},
                                             {500, 266, 500, 78, c, false},     {500, 78, 800, 78, c, false},
                                             {800, 78, 800, 266, c, false},     {800, 266, 7498, 266, c, false},
                                             {7498, 266, 7498, 266, c, false}};
    EXPECT_EQ(t, expected);
    // Output 16 is the bottom trace: a flat line at (160*15+133)*2.
    const auto last = traceOf(d, 5066, 5066);
    ASSERT_EQ(last.size(), 3u);
    EXPECT_EQ(last[1], (GraphLine{300, 5066, 7498, 5066, kGraphTraceColour, false}));
    EXPECT_EQ(linesOf(d, kGraphTraceColour).size(), expected.size() + 15 * 3);  // sixteen traces, no more
}

TEST(BarreGraf, PitchAndScaleAreClampedAndKept) {
    GraphDrawing d;
    int scale = 1, pitch = 360;
    BarreGraf(d, {}, scale, pitch, "", 12000);
    EXPECT_EQ(pitch, 359);
    const auto grid = linesOf(d, kGraphGridColour);
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(std::make_pair(grid[1].x1, d.Label2[1].text), std::make_pair(300.0 + 3590, std::string("359")));

    pitch = 5;
    scale = 0;  // drawn as three and kept so
    BarreGraf(d, std::vector<std::uint32_t>(3600, 1), scale, pitch, "", 12000);
    EXPECT_EQ(std::make_tuple(pitch, scale, d.width, d.height), std::make_tuple(10, 3, 3750.0 * 3 + 300, 2610.0 * 3 + 500));
    ASSERT_EQ(linesOf(d, kGraphGridColour).size(), 36u);  // 0, 10, ..., 350
    EXPECT_EQ(linesOf(d, kGraphGridColour)[1].x1, 300 + 3 * 10 * 10);
    EXPECT_EQ(d.Label2[35].text, "350");
    // Output 1, always ON: baseline 399, high 399-282, to the last position.
    EXPECT_EQ(traceOf(d, 0, 400)[1], (GraphLine{300, 117, 300 + 3 * 3599, 117, kGraphTraceColour, false}));
}

TEST(BarreGraf820, EightTracesUnderThirtyThreeTurnLines) {
    GraphDrawing d;
    std::vector<std::uint32_t> profile(16384, 0);
    for (int k = 512; k < 1024; ++k) profile[k] = 0x80;  // output 8 ON during turn 1
    BarreGraf820(d, profile, "ax.820", 12000);
    EXPECT_EQ(std::make_pair(d.width, d.top), std::make_pair(15310.0, 12000.0 - 4100 - 20));
    const auto grid = linesOf(d, kGraphGridColour);
    ASSERT_EQ(grid.size(), 33u);
    EXPECT_EQ(std::make_pair(grid[1].x1, grid[32].x1), std::make_pair(608.0, 15194.0));  // 608.5 to the even neighbour
    EXPECT_EQ(std::make_tuple(d.Label1[7].top, d.Label1[7].visible, d.Label1[8].visible),
              std::make_tuple(450.0 * 7 + 100, true, false));
    // Output 8: baseline 450*7+330 = 3480, up by 300 at x = 140 + 0.92*512.
    const auto t = traceOf(d, 3180, 3480);
    ASSERT_EQ(t.size(), 7u);
    EXPECT_EQ(t[2], (GraphLine{140 + 0.92 * 512, 3480, 140 + 0.92 * 512, 3180, kGraphTraceColour, false}));
    EXPECT_EQ(t[4].x1, 140 + 0.92 * 1024);
    EXPECT_EQ(t[5].x2, 140 + 0.92 * 16383);
}

// Positions where one output of a V712 program is ON.
std::vector<int> onPositions(const std::vector<std::uint32_t>& p, int output, int limit) {
    std::vector<int> out;
    for (int k = 0; k < limit; ++k)
        if (p[k] >> (output - 1) & 1u) out.push_back(k);
    return out;
}

// The positions of the closed ranges given.
std::vector<int> spans(std::initializer_list<std::pair<int, int>> ranges) {
    std::vector<int> out;
    for (const auto& [from, to] : ranges)
        for (int k = from; k <= to; ++k) out.push_back(k);
    return out;
}

TEST(Barre712, PeriodicCamsRepeatFromTheirPhase) {
    EditorState st;
    // Outputs 1..10: OFS CON COF; 7 has its phase beyond the period, 9 a period of no length.
    st.HeaderParams[2] = {{{"0", "10", "20"}, {"5", "10", "20"}, {"25", "10", "20"}, {"100", "200", ""}, {"0", "0", "3600"},
                           {"0", "3600", "0"}, {"31", "10", "20"}, {"0", "0", ""}, {"0", "-5", "5"}, {"-3", "10", "20"}}};
    const auto p = profile712(st, 2, 3599);
    ASSERT_EQ(p.size(), 3600u);
    EXPECT_EQ(onPositions(p, 1, 70), spans({{0, 9}, {30, 39}, {60, 69}}));
    EXPECT_EQ(onPositions(p, 2, 70), spans({{5, 14}, {35, 44}, {65, 69}}));
    EXPECT_EQ(onPositions(p, 3, 70), spans({{0, 4}, {25, 34}, {55, 64}}));
    EXPECT_EQ(onPositions(p, 1, 3600).back(), 3579);  // the last period starts at 3570
    EXPECT_EQ(onPositions(p, 4, 3600), spans({{100, 299}}));
    EXPECT_EQ(onPositions(p, 6, 3600).size(), 3600u);
    for (int output : {5, 7, 8, 9, 10, 16}) EXPECT_TRUE(onPositions(p, output, 3600).empty()) << output;
    // Only the selected program counts; a program outside 1..16 draws nothing.
    EXPECT_EQ(profile712(st, 0, 3599), std::vector<std::uint32_t>(3600, 0));
    EXPECT_EQ(profile712(st, 16, 3599), std::vector<std::uint32_t>(3600, 0));
}

}  // namespace
}  // namespace gyrel
