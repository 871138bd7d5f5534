#include "editor/graph_geometry.h"

#include <algorithm>
#include <cmath>

namespace gyrel {

namespace {

// A box's number: optional sign and digits, 0 when there are none.
long long numberOf(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) v = std::min(v * 10 + (text[i] - '0'), 100000000LL);
    return negative ? -v : v;
}

// Whole-number rounding of the window system: halves go to the even neighbour.
double roundEven(double v) { return std::nearbyint(v); }

void hideGridLabels(GraphDrawing& d) {
    for (std::size_t j = 2; j < d.Label2.size(); ++j) d.Label2[j].visible = false;
}

// One trace: a point at its start, then a step at every change and a run to the end.
void drawTrace(GraphDrawing& d, const std::vector<std::uint32_t>& profile, int bit, double baseline, double high,
               double x0, double dx) {
    const auto level = [&](std::size_t k) { return (profile[k] >> bit & 1u) ? baseline - high : baseline; };
    double current = level(0);
    double penX = x0, penY = current;
    d.lines.push_back({penX, penY, penX, penY, kGraphTraceColour, true});
    const std::size_t last = profile.size() - 1;
    for (std::size_t k = 0; k <= last; ++k) {
        const double y = level(k);
        if (k < last && y == current) continue;
        const double x = x0 + dx * static_cast<double>(k);
        d.lines.push_back({penX, penY, x, current, kGraphTraceColour, false});
        d.lines.push_back({x, current, x, y, kGraphTraceColour, false});
        current = y;
        penX = x;
        penY = y;
    }
}

void gridLine(GraphDrawing& d, double x, int index, const std::string& text) {
    d.lines.push_back({x, 0, x, d.height, kGraphGridColour, false});
    GraphLabel& label = d.Label2[static_cast<std::size_t>(index)];
    label.text = text;
    label.visible = true;
    label.left = x - roundEven(label.width / 2);
    label.top = d.height - label.height - 365;
}

}  // namespace

GraphDrawing::GraphDrawing() {
    for (auto& label : Label2) label.width = kGraphLabelWidth;
}

std::vector<std::uint32_t> profileFromCamTable(const CamTable& table, double maxPosition) {
    const std::size_t size = static_cast<std::size_t>(std::max(0.0, maxPosition)) + 1;
    std::vector<std::uint32_t> profile(size, 0);
    const int n = table.storedCount();
    if (n == 0) return profile;
    std::uint32_t mask = table.mask(n - 1);  // read cyclically: the last entry runs on through 0
    int next = 0;
    for (std::size_t k = 0; k < size; ++k) {
        while (next < n && table.position(next) <= k) mask = table.mask(next++);
        profile[k] = mask;
    }
    return profile;
}

std::vector<std::uint32_t> profile712(const EditorState& st, int program, double maxPosition) {
    const long long end = static_cast<long long>(maxPosition) + 1;
    std::vector<std::uint32_t> profile(static_cast<std::size_t>(end), 0);
    if (program < 0 || program > 15) return profile;
    for (int o = 0; o < 16; ++o) {
        const auto& row = st.HeaderParams[static_cast<std::size_t>(program)][static_cast<std::size_t>(o)];
        const long long a = numberOf(row[0]), b = numberOf(row[1]), c = numberOf(row[2]);
        const long long s = b + c;
        const std::uint32_t bit = 1u << o;
        const auto put = [&](long long x1, long long x2, bool on) {
            for (long long x = std::max(x1, 0LL); x < std::min(x2, end); ++x) {
                auto& m = profile[static_cast<std::size_t>(x)];
                m = on ? (m | bit) : (m & ~bit);
            }
        };
        if (a < 0) continue;  // no phase before the turn's start: left OFF
        if (row[2].empty()) {
            if (b == 0) continue;
            put(0, a, false);
            put(a, a + b, true);
            put(a + b, end, false);
            continue;
        }
        if (s <= 0 || a > s) continue;  // a period of no length would never end
        long long p = 0;
        if (a <= c) {
            put(0, a, false);
            p = a;
            for (; p < end; p += s) {
                put(p, p + b, true);
                put(p + b, p + s, false);
            }
        } else {
            put(0, a - c, true);
            for (p = a - c; p < end; p += s) {
                put(p, p + c, false);
                put(p + c, p + s, true);
            }
        }
    }
    return profile;
}

void BarreVert(GraphDrawing& d, int scale, int& pitch) {
    hideGridLabels(d);
    pitch = std::clamp(pitch, 10, 359);
    const double spacing = static_cast<double>(scale) * 10.0 * pitch;
    const int n = 359 / pitch;
    for (int j = 0; j <= n; ++j) gridLine(d, spacing * j + 300, j, std::to_string(pitch * j));
}

void BarreGraf(GraphDrawing& d, const std::vector<std::uint32_t>& profile, int& scale, int& pitch,
               const std::string& frameCaption, double workAreaHeight) {
    if (scale == 0) scale = 3;
    const double s = scale;
    d.lines.clear();
    d.title = "Graph --- " + frameCaption;
    d.width = 3750 * s + 300;
    d.height = 2610 * s + 500;
    BarreVert(d, scale, pitch);
    d.top = workAreaHeight - d.height - 20;
    d.left = 50;
    d.frameTop = d.height - kGraphFrameHeight - 1000;
    for (int i = 0; i < 16; ++i) {
        GraphLabel& label = d.Label1[static_cast<std::size_t>(i)];
        label.width = 255;
        label.visible = true;
        label.height = 200;
        label.left = 10;
        label.text = std::to_string(i + 1);
        label.top = (160.0 * i + 130) * s - 94 * s;
        label.fontSize = 8;
    }
    if (profile.empty()) return;
    for (int i = 0; i < 16; ++i) drawTrace(d, profile, i, (160.0 * i + 133) * s, 94 * s, 300, s);
}

void BarreVert820(GraphDrawing& d) {
    hideGridLabels(d);
    for (int k = 0; k <= 32; ++k) gridLine(d, roundEven(470.5 * k + 138), k, std::to_string(k));
}

void BarreGraf820(GraphDrawing& d, const std::vector<std::uint32_t>& profile, const std::string& frameCaption,
                  double workAreaHeight) {
    d.lines.clear();
    d.title = "Graph --- " + frameCaption;
    d.width = 15310;
    d.height = 4100;
    BarreVert820(d);
    d.top = workAreaHeight - 4100 - 20;
    d.left = 10;
    d.frameTop = d.height - kGraphFrameHeight - 1000;
    for (int i = 0; i < 16; ++i) {
        GraphLabel& label = d.Label1[static_cast<std::size_t>(i)];
        label.visible = i < 8;
        if (i >= 8) continue;
        label.width = 100;
        label.fontSize = 4;
        label.height = 200;
        label.left = 0;
        label.text = std::to_string(i + 1);
        label.top = 450.0 * i + 100;
    }
    if (profile.empty()) return;
    for (int i = 0; i < 8; ++i) drawTrace(d, profile, i, 450.0 * i + 330, 300, 140, 0.92);
}

}  // namespace gyrel
