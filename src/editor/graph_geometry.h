#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/model_table.h"
#include "editor/cam_table.h"
#include "editor/editor_state.h"

namespace gyrel {

// One stroke of the graph's pen, in twips, y downwards. A point is a line of no length.
struct GraphLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Rgb colour;
    bool point = false;
    bool operator==(const GraphLine& o) const {
        return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2 && colour == o.colour && point == o.point;
    }
};

// A label control of the graph window (Label1 output numbers, Label2 grid values).
struct GraphLabel {
    std::string text;
    bool visible = false;
    double left = 0, top = 0, width = 0, height = 200;
    int fontSize = 8;
};

// Everything one redraw of the graph window leaves on it.
struct GraphDrawing {
    std::string title;
    double width = 0, height = 0;  // window size in twips
    double left = 0, top = 0;      // window place in twips
    double frameTop = 0;           // the pitch and scale panel Frame1
    std::vector<GraphLine> lines;
    std::array<GraphLabel, 16> Label1{};
    std::array<GraphLabel, 37> Label2{};
    GraphDrawing();
};

constexpr Rgb kGraphGridColour{255, 128, 0};  // orange grid lines
constexpr Rgb kGraphTraceColour{0, 0, 0};     // the button-text colour of the system
constexpr double kGraphFrameHeight = 855;     // the pitch and scale panel
constexpr double kGraphLabelWidth = 375;      // Label2 controls

// The output mask at every position 0..maxPosition, read cyclically from the cam
// table's stored entries (the last entry's mask runs on through position 0).
std::vector<std::uint32_t> profileFromCamTable(const CamTable& table, double maxPosition);

// The V712 mask of program `program` (0..15) from its rows of OFS, CON and COF.
std::vector<std::uint32_t> profile712(const EditorState& st, int program, double maxPosition);

// The standard graph: 16 traces over the positions, under the degree grid.
// `scale` 0 is drawn (and left) as 3; `pitch` is clamped to 10..359 and left so.
void BarreGraf(GraphDrawing& d, const std::vector<std::uint32_t>& profile, int& scale, int& pitch,
               const std::string& frameCaption, double workAreaHeight);
void BarreVert(GraphDrawing& d, int scale, int& pitch);
// The V820AX graph: 8 traces over 16384 positions, under the turn grid.
void BarreGraf820(GraphDrawing& d, const std::vector<std::uint32_t>& profile, const std::string& frameCaption,
                  double workAreaHeight);
void BarreVert820(GraphDrawing& d);

}  // namespace gyrel
