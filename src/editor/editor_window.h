#pragma once
#include <array>
#include <functional>
#include <string>

#include "app/context.h"
#include "editor/editor_check.h"
#include "editor/editor_state.h"
#include "editor/graph_geometry.h"
#include "editor/multi_files.h"

namespace gyrel {

// Key codes of the window system, as the editor's key handlers receive them.
enum EditorKey : int { KeyEnter = 13, KeyUp = 38, KeyDown = 40 };

// What the editor window shows beyond the program state: the program frame's
// caption, the program selector, the V712 grid, the menus' state.
struct EditorView {
    bool loaded = false;
    bool visible = false;
    std::string Frame1Caption;      // the program frame
    Rgb Frame1Colour{0, 0, 0};      // its text: yellow while the text is modified
    int VScroll1 = 1;               // program selector 1..16
    std::string Text1 = "1";        // program number box
    std::array<std::string, 16> TxtOFS{}, TxtCON{}, TxtCOF{};  // V712 grid
    bool MenEnableGraphicChecked = false;
    // The offsets box that should hold the focus after a key: column 0 Text4, 1 Text5.
    int focusColumn = -1;
    int focusIndex = -1;
};

// What the graph window shows.
struct GraphView {
    GraphDrawing drawing;
    bool Frame1Visible = false;  // the pitch and scale panel
    std::string pitchText;       // Text1(0)
    std::string scaleText;       // Text1(1)
    bool pitchSelected = false;  // the whole pitch text selected for typing over
    int redraws = 0;             // times the graph was drawn
};

// The cam program editor (Form1) and its graph window (Form2) as logic: the
// windows render this state and forward their events to it.
class Editor {
public:
    explicit Editor(Context& ctx);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    Context& ctx;
    EditorState st;
    EditorEnv env;  // the check's view of this editor
    MultiFiles multi{ctx, st};  // the multiple-files panel, lists and the DESKPL import
    EditorView view;
    GraphView graph;
    // 0-based device program slot: the one the transfers address, kept in the state they share.
    int& ProgramIndex{st.ProgramIndex};
    int TimerTicks = 0;
    double workAreaHeight = 11000;  // twips, told by the window system

    // Wired when the program is assembled.
    std::function<void(int user)> chiudi_com;  // release the port
    std::function<void()> refresh;             // the windows draw the state again

    // Life cycle.
    void load();
    void firstResize();
    void queryUnload();  // the close request: saves the offsets, warns, releases the port
    void unload();
    void exitMenu();  // menu Exit: the close request, then the unload
    void AggBox();
    void Pausa(int ms);

    // Working sheet files.
    int CheckModif(int mode);
    void SalvaFoglio();
    void RichiamaFoglio();
    void MenuLoadProgram();
    void MenuSaveProgram() { SalvaFoglio(); }

    // The program text box.
    void progBoxKeyDown(int key, int caret);
    void progBoxKeyUp(int key);
    void progBoxChange(const std::string& text);
    void runCheck();          // the check the keys and the graph menu start
    void ButtVerificaPrg();   // the verify button
    bool leggiLav(int slot);  // the check of the program text
    void leggi712();

    // The offsets panel.
    void offsetKey(int column, int i, int key);  // column 0 Text4, 1 Text5
    bool offsetLostFocus(int column, int i);     // false: the focus stays in the box
    void Option1Click();
    void Option2Click();
    void Check1MouseUp(bool ticked);
    void check2MouseUp(int i, bool ticked);

    // Program selector and the V712 grid.
    void VScroll1Change(int value);
    void Text1Change(const std::string& text);
    void AggFrame();
    void AggTab(int index = 0);
    void Puls0(int i);
    void Puls1(int i);
    // PulsAppend(0): the row boxes as the block of the program in Text1;
    // PulsAppend(1): the program text read back into the row boxes.
    void PulsAppend(int index);

    // Menus.
    void MenEnableGraphic();
    void graphClosed();

    // The graph window.
    void AggiornaGrafica();
    void Barre712();
    void graphLoad();
    void graphClick();
    void graphLabelClick();
    void graphKeyPress(int which, int key);  // which 0 pitch, 1 scale

    std::string frameCaption() const { return view.Frame1Caption; }

private:
    void delay();
    void markModified();
    void notify() {
        if (refresh) refresh();
    }
    int selectedProgram() const;  // 0..15, or -1 for a number outside 1..16
    bool validOffsetBox(int column, int i);
    void recolour(int full);
    void takeOffsets(int mode);
    void installHooks();
    void saveOffsQuietly();  // an offsets file that cannot be written never stops a check or a close

    bool closeAsked_ = false;  // the close request has run since the last load
    std::vector<std::uint32_t> preparedProfile() const;
};

}  // namespace gyrel
