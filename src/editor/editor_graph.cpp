#include <algorithm>

#include "editor/editor_window.h"
#include "editor/graph_geometry.h"
#include "editor/prepare.h"

namespace gyrel {

namespace {

int numberIn(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) v = std::min(v * 10 + (text[i] - '0'), 100000LL);
    return static_cast<int>(negative ? -v : v);
}

}  // namespace

void Editor::graphLoad() {
    for (int i = 0; i < 16; ++i) {
        GraphLabel& label = graph.drawing.Label1[static_cast<std::size_t>(i)];
        label.left = 10;
        label.text = std::to_string(i + 1);
        label.top = 160.0 * ctx.settings.GraphScale * i + 180;
        label.visible = true;
    }
}

// The traces are rebuilt from the cam table of the last preparation, so a redraw
// asked for by the pitch and scale entry finds the same program. While a
// preparation is drawing, its count is not yet stored: the table is built anew
// from the rows it has just prepared.
std::vector<std::uint32_t> Editor::preparedProfile() const {
    if (!st.PreparingBusy) return profileFromCamTable(st.camTable, ctx.model.MaxPosition);
    CamTable table;
    table.CamCount = buildCamTable(st.CamRows.data(), st.CamRowCount, ctx.model.MaxPosition, table);
    return profileFromCamTable(table, ctx.model.MaxPosition);
}

void Editor::AggiornaGrafica() {
    if (!st.graphVisible) return;
    const std::string& model = ctx.model.ModelType;
    st.wait.label = "Update Graphics .....";
    st.wait.visible = true;
    notify();
    ctx.svc.clock.pumpEvents();
    if (model == "V712") {
        Barre712();
    } else if (model == "NORM" || model == "OLD") {
        ctx.svc.clock.pumpEvents();
        BarreGraf(graph.drawing, preparedProfile(), ctx.settings.GraphScale,
                  ctx.settings.GraphPitch, frameCaption(), workAreaHeight);
        ++graph.redraws;
    } else if (model == "V820AX") {
        BarreGraf820(graph.drawing, preparedProfile(), frameCaption(),
                     workAreaHeight);
        ++graph.redraws;
    }
    st.wait.visible = false;
    notify();
}

void Editor::Barre712() {
    if (view.Text1.empty()) Text1Change("1");
    const int p = selectedProgram();
    if (p < 0) return;  // no such program: nothing is drawn
    ctx.svc.clock.pumpEvents();
    BarreGraf(graph.drawing, profile712(st, p, ctx.model.MaxPosition), ctx.settings.GraphScale,
              ctx.settings.GraphPitch, frameCaption(), workAreaHeight);
    ++graph.redraws;
}

void Editor::graphClick() {
    const std::string& m = ctx.model.ModelType;
    if (m == "KMT71" || m == "V820HX" || m == "V820AX") return;
    graph.pitchText = std::to_string(ctx.settings.GraphPitch);
    graph.scaleText = std::to_string(ctx.settings.GraphScale);
    graph.Frame1Visible = true;
    graph.pitchSelected = true;
    notify();
}

void Editor::graphLabelClick() {
    graph.Frame1Visible = true;
    graph.pitchSelected = true;
    notify();
}

void Editor::graphKeyPress(int /*which*/, int key) {
    if (key != KeyEnter) return;
    const int pitch = std::clamp(numberIn(graph.pitchText), 10, 359);
    const int scale = std::clamp(numberIn(graph.scaleText), 1, 4);
    graph.pitchText = std::to_string(pitch);
    graph.scaleText = std::to_string(scale);
    graph.Frame1Visible = false;
    graph.pitchSelected = false;
    ctx.settings.GraphPitch = pitch;
    ctx.settings.GraphScale = scale;
    AggiornaGrafica();
}

}  // namespace gyrel
