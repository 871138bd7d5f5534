#include <gtest/gtest.h>

#include <string>
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

TEST(GraphProfile, ReadsTheCamTableCyclically) {
    const auto wrap = profileFromCamTable(table({{50, 0}, {3000, 1}}), 3599);
    ASSERT_EQ(wrap.size(), 3600u);
    EXPECT_EQ(wrap[0], 1u);
    EXPECT_EQ(wrap[49], 1u);
    EXPECT_EQ(wrap[50], 0u);
    EXPECT_EQ(wrap[2999], 0u);
    EXPECT_EQ(wrap[3000], 1u);
    EXPECT_EQ(wrap[3599], 1u);

    const auto alwaysOn = profileFromCamTable(table({{0, 4}}), 3599);
    EXPECT_EQ(alwaysOn[0], 4u);
    EXPECT_EQ(alwaysOn[3599], 4u);

    EXPECT_EQ(profileFromCamTable(CamTable{}, 3599), std::vector<std::uint32_t>(3600, 0));
}

TEST(GraphProfile, BeyondTheStoredEntriesNothingIsRead) {
    CamTable t;
    for (int i = 0; i < 120; ++i) t.set(i, static_cast<std::uint32_t>(i * 10 + 5), i % 2 ? 0u : 1u);
    t.CamCount = 131;  // after the "too much cams" notice
    const auto p = profileFromCamTable(t, 3599);
    EXPECT_EQ(p[1194], 1u);  // entry 118 until entry 119 at 1195
    EXPECT_EQ(p[1195], 0u);
    EXPECT_EQ(p[3599], 0u);  // the last stored entry runs on
    EXPECT_EQ(p[0], 0u);
    EXPECT_EQ(p[5], 1u);
}

TEST(BarreGraf, OneCamGivesAStepUpAndAStepDownAndARunToTheEnd) {
    GraphDrawing d;
    int scale = 2, pitch = 45;
    BarreGraf(d, profileFromCamTable(table({{100, 1}, {250, 0}}), 3599), scale, pitch, "c:\\p.txt", 12000);
    EXPECT_EQ(d.title, "Graph --- c:\\p.txt");
    EXPECT_EQ(d.width, 7800);
    EXPECT_EQ(d.height, 5720);
    EXPECT_EQ(d.top, 12000 - 5720 - 20);
    EXPECT_EQ(d.left, 50);
    // Output 1: baseline (160*0+133)*2 = 266, high 266-188 = 78.
    const auto t = traceOf(d, 70, 270);
    const std::vector<GraphLine> expected = {
        {300, 266, 300, 266, kGraphTraceColour, true},
        {300, 266, 500, 266, kGraphTraceColour, false},   // ON at 100: x = 300 + 2*100
        {500, 266, 500, 78, kGraphTraceColour, false},
        {500, 78, 800, 78, kGraphTraceColour, false},     // OFF at 250
        {800, 78, 800, 266, kGraphTraceColour, false},
        {800, 266, 7498, 266, kGraphTraceColour, false},  // to the last position 3599
        {7498, 266, 7498, 266, kGraphTraceColour, false},
    };
    EXPECT_EQ(t, expected);
    // Output 16 is the bottom trace: a flat line at (160*15+133)*2.
    const auto last = traceOf(d, 5066, 5066);
    ASSERT_EQ(last.size(), 3u);
    EXPECT_EQ(last[1], (GraphLine{300, 5066, 7498, 5066, kGraphTraceColour, false}));
}

TEST(BarreGraf, OutputNumbersAtTheLeftOfTheTraces) {
    GraphDrawing d;
    int scale = 2, pitch = 45;
    BarreGraf(d, std::vector<std::uint32_t>(3600, 0), scale, pitch, "", 12000);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(d.Label1[i].text, std::to_string(i + 1));
        EXPECT_TRUE(d.Label1[i].visible);
        EXPECT_EQ(d.Label1[i].left, 10);
        EXPECT_EQ(d.Label1[i].width, 255);
        EXPECT_EQ(d.Label1[i].top, (160.0 * i + 130) * 2 - 188);
    }
    EXPECT_EQ(d.frameTop, 5720 - kGraphFrameHeight - 1000);
}

TEST(BarreGraf, PitchFortyFiveDrawsEightGridLinesLabelledInDegrees) {
    GraphDrawing d;
    int scale = 2, pitch = 45;
    BarreGraf(d, std::vector<std::uint32_t>(3600, 0), scale, pitch, "", 12000);
    const auto grid = linesOf(d, kGraphGridColour);
    ASSERT_EQ(grid.size(), 8u);
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(grid[j], (GraphLine{300.0 + 900 * j, 0, 300.0 + 900 * j, 5720, kGraphGridColour, false}));
        EXPECT_EQ(d.Label2[j].text, std::to_string(45 * j));
        EXPECT_TRUE(d.Label2[j].visible);
        EXPECT_EQ(d.Label2[j].left, 300.0 + 900 * j - 188);  // half of 375, to the even neighbour
        EXPECT_EQ(d.Label2[j].top, 5720 - 200 - 365);
    }
    for (int j = 8; j < 37; ++j) EXPECT_FALSE(d.Label2[j].visible);
}

TEST(BarreGraf, PitchIsClampedAndKept) {
    GraphDrawing d;
    int scale = 1, pitch = 360;
    BarreGraf(d, {}, scale, pitch, "", 12000);
    EXPECT_EQ(pitch, 359);
    const auto grid = linesOf(d, kGraphGridColour);
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[1].x1, 300 + 3590);
    EXPECT_EQ(d.Label2[0].text, "0");
    EXPECT_EQ(d.Label2[1].text, "359");
    EXPECT_FALSE(d.Label2[2].visible);

    pitch = 5;
    BarreGraf(d, {}, scale, pitch, "", 12000);
    EXPECT_EQ(pitch, 10);
    EXPECT_EQ(linesOf(d, kGraphGridColour).size(), 36u);  // 0, 10, ..., 350
    EXPECT_EQ(d.Label2[35].text, "350");
}

TEST(BarreGraf, ScaleZeroIsDrawnAsThreeAndKeptSo) {
    GraphDrawing d;
    int scale = 0, pitch = 90;
    BarreGraf(d, std::vector<std::uint32_t>(3600, 1), scale, pitch, "", 12000);
    EXPECT_EQ(scale, 3);
    EXPECT_EQ(d.width, 3750 * 3 + 300);
    EXPECT_EQ(d.height, 2610 * 3 + 500);
    const auto t = traceOf(d, 0, 400);  // output 1, always ON: baseline 399, high 399-282
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0], (GraphLine{300, 117, 300, 117, kGraphTraceColour, true}));
    EXPECT_EQ(t[1], (GraphLine{300, 117, 300 + 3 * 3599, 117, kGraphTraceColour, false}));
    EXPECT_EQ(linesOf(d, kGraphGridColour)[1].x1, 300 + 3 * 10 * 90);
}

TEST(BarreGraf820, EightTracesUnderThirtyThreeTurnLines) {
    GraphDrawing d;
    std::vector<std::uint32_t> profile(16384, 0);
    for (int k = 512; k < 1024; ++k) profile[k] = 0x80;  // output 8 ON during turn 1
    BarreGraf820(d, profile, "ax.820", 12000);
    EXPECT_EQ(d.title, "Graph --- ax.820");
    EXPECT_EQ(d.width, 15310);
    EXPECT_EQ(d.height, 4100);
    EXPECT_EQ(d.top, 12000 - 4100 - 20);
    EXPECT_EQ(d.left, 10);
    const auto grid = linesOf(d, kGraphGridColour);
    ASSERT_EQ(grid.size(), 33u);
    EXPECT_EQ(grid[0].x1, 138);
    EXPECT_EQ(grid[1].x1, 608);   // 608.5 to the even neighbour
    EXPECT_EQ(grid[2].x1, 1079);
    EXPECT_EQ(grid[32].x1, 15194);
    EXPECT_EQ(d.Label2[32].text, "32");
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(d.Label1[i].visible);
        EXPECT_EQ(d.Label1[i].top, 450.0 * i + 100);
        EXPECT_EQ(d.Label1[i].fontSize, 4);
    }
    for (int i = 8; i < 16; ++i) EXPECT_FALSE(d.Label1[i].visible);
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

std::vector<int> span(int from, int to) {
    std::vector<int> out;
    for (int k = from; k <= to; ++k) out.push_back(k);
    return out;
}

std::vector<int> join(std::vector<std::vector<int>> parts) {
    std::vector<int> out;
    for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(Barre712, PeriodicCamsRepeatFromTheirPhase) {
    EditorState st;
    auto& prg = st.HeaderParams[2];
    prg[0] = {"0", "10", "20"};
    prg[1] = {"5", "10", "20"};
    prg[2] = {"25", "10", "20"};
    prg[3] = {"100", "200", ""};
    prg[4] = {"0", "0", "3600"};
    prg[5] = {"0", "3600", "0"};
    prg[6] = {"31", "10", "20"};  // phase beyond the period: OFF
    prg[7] = {"0", "0", ""};
    prg[8] = {"0", "-5", "5"};    // a period of no length
    prg[9] = {"-3", "10", "20"};
    const auto p = profile712(st, 2, 3599);
    ASSERT_EQ(p.size(), 3600u);
    EXPECT_EQ(onPositions(p, 1, 70), join({span(0, 9), span(30, 39), span(60, 69)}));
    EXPECT_EQ(onPositions(p, 2, 70), join({span(5, 14), span(35, 44), span(65, 69)}));
    EXPECT_EQ(onPositions(p, 3, 70), join({span(0, 4), span(25, 34), span(55, 64)}));
    EXPECT_EQ(onPositions(p, 1, 3600).back(), 3579);  // the last period starts at 3570
    EXPECT_EQ(onPositions(p, 4, 3600), span(100, 299));
    EXPECT_TRUE(onPositions(p, 5, 3600).empty());
    EXPECT_EQ(onPositions(p, 6, 3600).size(), 3600u);
    EXPECT_TRUE(onPositions(p, 7, 3600).empty());
    EXPECT_TRUE(onPositions(p, 8, 3600).empty());
    EXPECT_TRUE(onPositions(p, 9, 3600).empty());
    EXPECT_TRUE(onPositions(p, 10, 3600).empty());
    EXPECT_TRUE(onPositions(p, 16, 3600).empty());
    // Only the selected program counts; a program outside 1..16 draws nothing.
    EXPECT_EQ(profile712(st, 0, 3599), std::vector<std::uint32_t>(3600, 0));
    EXPECT_EQ(profile712(st, 16, 3599), std::vector<std::uint32_t>(3600, 0));
}

}  // namespace
}  // namespace gyrel
