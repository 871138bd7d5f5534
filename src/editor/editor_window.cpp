#include "editor/editor_window.h"

#include <algorithm>
#include <cmath>

#include "device/model_config.h"
#include "editor/colours.h"
#include "editor/editor_files.h"
#include "editor/offsets_file.h"
#include "platform/cp1252.h"

namespace gyrel {

namespace {

constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kBlack{0, 0, 0};
constexpr ColourValue kLightRed = 0xC0C0FF;     // (255, 192, 192)
constexpr ColourValue kLightYellow = 0xC0FFFF;  // (255, 255, 192)

// Keys that move or modify without editing: shift..escape, page keys, arrows,
// home, end, insert, print keys, F1..F12.
bool isNonEditingKey(int key) {
    return (key >= 16 && key <= 27) || (key >= 33 && key <= 45) || (key >= 112 && key <= 123);
}

// The number a box's text starts with (sign and digits), 0 when none.
double leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    double v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) v = std::min(v * 10 + (text[i] - '0'), 1e9);
    return negative ? -v : v;
}

}  // namespace

Editor::Editor(Context& c) : ctx(c), env{c, st, {}} {
    env.hooks.saveOffs = [this] { saveOffsQuietly(); };
    env.hooks.redrawGraphics = [this] { AggiornaGrafica(); };
    env.hooks.aggFrame = [this] { AggFrame(); };
    MultiFilesHooks& m = multi.hooks;
    m.leggiLav = [this](int code) { return leggiLav(code); };
    m.preConf = [this] { ModelConfig(ctx).PreConf(); };
    m.setProgramNumber = [this](const std::string& text) { Text1Change(text); };
    m.programPathToMain = [this](const std::string& path) { ctx.settings.PercorsoTxt = path; };
    m.clearProgramFrame = [this] {
        view.Frame1Colour = Rgb{0, 0, 0};
        view.Frame1Caption.clear();
    };
    installHooks();
}

Editor::~Editor() {
    Hooks& h = ctx.hooks;
    h.checkModif = nullptr;
    h.aggBox = nullptr;
    h.emptyEditor = nullptr;
    h.editorVisible = nullptr;
    h.graphVisible = nullptr;
    h.editorQueryUnload = nullptr;
    h.aggiornaGrafica = nullptr;
}

// What the model configuration and the main window reach in the editor.
void Editor::installHooks() {
    Hooks& h = ctx.hooks;
    h.checkModif = [this](int mode) { return CheckModif(mode); };
    h.aggBox = [this] { AggBox(); };
    h.emptyEditor = [this] {
        st.ProgBox.clear();
        st.ProgramFilePath.clear();
        mirrorWorkFile(ctx.svc.fs, st.ProgBox);
        notify();
    };
    h.editorVisible = [this] { return view.visible; };
    h.graphVisible = [this] { return st.graphVisible; };
    h.editorQueryUnload = [this] { queryUnload(); };
    h.aggiornaGrafica = [this] { AggiornaGrafica(); };
}

void Editor::saveOffsQuietly() {
    try {
        SaveOffs(ctx.svc.fs, st);
    } catch (const FileError&) {
    }
}

void Editor::recolour(int full) { AggColori(st, full, ctx.model.info().programFontSize); }

void Editor::takeOffsets(int mode) { TabelleOffset(env, mode); }

bool Editor::leggiLav(int slot) {
    const bool ok = LeggiLav(env, slot);
    notify();
    return ok;
}

void Editor::leggi712() {
    Leggi712(env);
    notify();
}

void Editor::Pausa(int ms) { ctx.svc.clock.waitMs(ms); }

void Editor::delay() {
    for (int i = 0; i < 10; ++i) ctx.svc.clock.pumpEvents();
}

void Editor::load() {
    closeAsked_ = false;
    FileSystem& fs = ctx.svc.fs;
    st.ProgramFilePath = ctx.settings.PercorsoTxt;
    if (st.ProgramFilePath.empty() || !fs.fileExists(st.ProgramFilePath)) st.ProgramFilePath.clear();
    ensureOffsetsFile(fs);
    view.Text1 = std::to_string(view.VScroll1);
    Text1Change(view.Text1);
    for (int i = 0; i < 16; ++i) {
        st.Text4[i].clear();
        st.Text5[i].clear();
        view.TxtOFS[i].clear();
        view.TxtCON[i].clear();
        view.TxtCOF[i].clear();
    }
    AggBox();
    st.Check1 = true;
    ModelConfig(ctx).PreConf();
    takeOffsets(0);
    ctx.svc.clock.pumpEvents();
    LoadOffs(fs, st);
    view.loaded = true;
    notify();
}

void Editor::firstResize() {
    if (st.ResizeSeen != 0) return;
    CheckModif(0);
    st.ResizeSeen = 1;
    ModelConfig(ctx).PreConf();
    notify();
}

void Editor::unload() {
    ctx.settings.PercorsoTxt = st.ProgramFilePath;
    if (chiudi_com) chiudi_com(8);
    view.visible = false;
    view.loaded = false;
}

void Editor::AggBox() {
    st.BoxBusy = true;
    delay();
    FileSystem& fs = ctx.svc.fs;
    // A work file that cannot be made or read leaves the box as it is.
    try {
        if (!fs.fileExists(WorkFilePath())) fs.createTextFile(WorkFilePath());
        st.ProgBox = fs.readAll(WorkFilePath());
    } catch (const FileError&) {
    }
    view.Frame1Caption = st.ProgramFilePath;
    view.Frame1Colour = kBlack;
    recolour(1);
    if (st.ModifiedFlag) markModified();
    notify();
    delay();
    st.BoxBusy = false;
}

void Editor::markModified() {
    view.Frame1Colour = kYellow;
    view.Frame1Caption = st.ProgramFilePath + "--(Modif.)";
}

// ---- the program text box ----

void Editor::progBoxKeyDown(int key, int caret) {
    if (isNonEditingKey(key)) return;
    st.EditedSinceCheck = true;
    st.CaretPosition = caret;
    markModified();
}

void Editor::progBoxKeyUp(int key) {
    if (key == KeyEnter) {
        if (!st.CheckArmed) {
            st.CheckArmed = true;  // the first Enter after an error only re-arms the check
            return;
        }
        runCheck();
    } else if (key == KeyUp || key == KeyDown) {
        if (st.EditedSinceCheck) runCheck();
    }
}

void Editor::progBoxChange(const std::string& text) {
    st.ProgBox = text;
    if (st.CheckArmed) mirrorWorkFile(ctx.svc.fs, st.ProgBox);
}

void Editor::runCheck() {
    if (ctx.model.ModelType == "V712")
        leggi712();
    else
        leggiLav(st.graphVisible ? 99 : 16);
}

void Editor::ButtVerificaPrg() {
    if (ctx.model.ModelType == "V712")
        leggi712();
    else
        leggiLav(99);
}

// ---- the offsets panel ----

bool Editor::validOffsetBox(int column, int i) {
    const std::string& text = column == 0 ? st.Text4[i] : st.Text5[i];
    const int v = wholeNumber(text);
    if (v >= -1800 && v <= 1800) return true;
    st.ParseOk = false;
    ctx.svc.op.messageBox(std::string(ctx.msg(7)) + "  " + cp1252ToUtf8(text) + "\r\n" + "max. 1800, min -1800",
                          MsgButtons::Ok, MsgIcon::Exclamation, "");
    view.focusColumn = column;
    view.focusIndex = i;
    return false;
}

void Editor::offsetKey(int column, int i, int key) {
    st.Check1 = false;
    const auto& boxes = column == 0 ? st.Text4 : st.Text5;
    for (int k = 0; k < 16; ++k) st.ActiveOffsets[column * 16 + k] = wholeNumber(boxes[k]);
    st.check2[i] = false;
    st.check2Back[i] = kOffsetOffBack;
    int target = -1;
    if (key == KeyEnter || key == KeyDown)
        target = (i + 1) % 16;
    else if (key == KeyUp)
        target = (i + 15) % 16;
    if (target >= 0 && validOffsetBox(column, i)) {
        view.focusColumn = column;
        view.focusIndex = target;
    }
    notify();
}

bool Editor::offsetLostFocus(int column, int i) {
    const bool ok = validOffsetBox(column, i);
    notify();
    return ok;
}

void Editor::Option1Click() {
    for (int i = 0; i < 16; ++i) {
        st.check2Back[i] = kLightRed;
        st.Text4Back[i] = kLightYellow;
        st.Text5Back[i] = kLightYellow;
        st.check2[i] = true;
    }
    st.Option1 = true;
    st.Option2 = false;
    st.Check1 = false;
    leggiLav(16);
}

void Editor::Option2Click() {
    for (int i = 0; i < 16; ++i) {
        st.check2[i] = false;
        setOffsetColours(st, i, false);
    }
    st.Option2 = true;
    st.Option1 = false;
    st.Check1 = false;
    leggiLav(16);
}

void Editor::Check1MouseUp(bool ticked) {
    st.Check1 = ticked;
    if (ticked) st.Option1 = st.Option2 = false;
    leggiLav(16);
}

void Editor::check2MouseUp(int i, bool ticked) {
    st.check2[i] = ticked;
    st.Option1 = st.Option2 = false;
    ColoriOffs(st);
    leggiLav(16);
}

// ---- the program selector and the V712 grid ----

void Editor::VScroll1Change(int value) {
    Clock& clock = ctx.svc.clock;
    view.VScroll1 = std::clamp(value, 1, 16);
    clock.pumpEvents();
    const bool v712 = ctx.model.ModelType == "V712";
    if (v712) AggTab(0);  // into the program being left, still named in Text1
    clock.pumpEvents();
    Text1Change(std::to_string(view.VScroll1));
    clock.pumpEvents();
    if (v712) AggFrame();
    clock.pumpEvents();
    if (st.graphVisible) Pausa(100);
    notify();
}

void Editor::Text1Change(const std::string& text) {
    view.Text1 = text;
    const double v = std::nearbyint(leadingNumber(text) - 1);
    ProgramIndex = static_cast<int>(std::clamp(v, -32768.0, 32767.0));
}

int Editor::selectedProgram() const {
    const double n = leadingNumber(view.Text1);
    return n >= 1 && n <= 16 ? static_cast<int>(n) - 1 : -1;
}

void Editor::AggFrame() {
    const int p = selectedProgram();
    if (p < 0) return;  // no such program: the grid keeps what it shows
    for (int i = 0; i < 16; ++i) {
        const auto& row = st.HeaderParams[p][i];
        view.TxtOFS[i] = row[0];
        view.TxtCON[i] = row[1];
        view.TxtCOF[i] = row[2];
    }
    AggiornaGrafica();
    notify();
}

void Editor::AggTab(int index) {
    const int p = selectedProgram();
    if (p < 0) return;
    const int from = index == 0 ? 1 : index + 1;
    const int to = index == 0 ? 16 : index + 1;
    for (int r = std::max(from, 1); r <= std::min(to, 16); ++r) {
        auto& row = st.HeaderParams[p][r - 1];
        row[0] = view.TxtOFS[r - 1];
        row[1] = view.TxtCON[r - 1];
        row[2] = view.TxtCOF[r - 1];
    }
    AggiornaGrafica();
}

void Editor::Puls0(int i) {
    view.TxtOFS[i] = "0";
    view.TxtCON[i] = "0";
    view.TxtCOF[i] = std::to_string(static_cast<long long>(ctx.model.MaxPosition) + 1);
    notify();
}

void Editor::Puls1(int i) {
    view.TxtOFS[i] = "0";
    view.TxtCON[i] = std::to_string(static_cast<long long>(ctx.model.MaxPosition) + 1);
    view.TxtCOF[i] = "0";
    notify();
}

// ---- menus ----

void Editor::MenEnableGraphic() {
    const std::string& m = ctx.model.ModelType;
    view.MenEnableGraphicChecked = !view.MenEnableGraphicChecked;
    if (m == "KMT71" || m == "V820HX" || m == "Px71") view.MenEnableGraphicChecked = false;
    const bool wasVisible = st.graphVisible;
    st.graphVisible = view.MenEnableGraphicChecked;
    if (st.graphVisible && !wasVisible && graph.redraws == 0) graphLoad();
    notify();
    if (st.graphVisible) leggiLav(99);
}

void Editor::graphClosed() {
    view.MenEnableGraphicChecked = false;
    st.graphVisible = false;
    notify();
}

void Editor::exitMenu() {
    queryUnload();
    unload();
    notify();
}

}  // namespace gyrel
