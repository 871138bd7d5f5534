#pragma once
#include <array>
#include <string>

#include "device/model_table.h"

namespace gyrel {

enum class FillStyle { Transparent, Solid, HorizontalHatch };
enum class BorderStyle { Solid, Dotted };

// Everything the main window shows, as plain data. The logic writes it; the
// window only draws it. Widths are in the window's twips, as the logic reasons.
struct MainView {
    std::string title = "GYREL Utility --  COM 1  -  9600";
    bool minimized = false;  // told by the window

    std::string FinQuota = "offline";
    Rgb FinQuotaBack{224, 224, 224};
    int FinQuotaFontSize = 48;
    std::string FinProgr = "--";
    std::string FinCamme = "--";
    std::string FinOrigin = "--";
    bool originVisible = false;  // FinOrigin and its caption Label6

    bool turnDisplaysVisible = false;  // LblGiri, LblGiro
    std::string LblGiri = "0";
    std::string LblGiro = "0";

    std::array<FillStyle, 16> Shape1Fill{};
    std::array<BorderStyle, 16> Shape1Border{};
    std::array<bool, 16> Label1On{};

    int barFrameLeft = 120;     // Shape2(0)
    int barFrameWidth = 6480;
    int barFillWidth = 0;       // Shape2(1)
    Rgb barFillColour{192, 192, 255};
    bool turnMarksVisible = false;  // Line1(0..30)
    std::array<int, 31> turnMarkX{};

    std::array<bool, 5> Shape3Visible{};
    std::array<Rgb, 5> Shape3Colour{};

    std::string Label4 = "KRT71";  // model name
    Rgb Label4Colour{0, 128, 0};
    bool Label4Visible = true;

    bool econVisible = false;        // Label5 "econ"
    Rgb econBack{192, 192, 255};

    bool Check1Checked = false;
    std::string busyNotice;  // why going on line waits (a transfer runs); shown in the status bar
    std::string Check1Caption = " On line";

    bool testEncoderChecked = false;  // menu TestEncoder
    bool enbEconChecked = false;      // menu EnbEcon

    bool visible = false;  // the main window is shown at the end of start-up
};

// The about box creditform.
struct AboutView {
    bool visible = false;
    std::string versionText;  // written by aarelease before each showing
    std::string contactText;  // lines joined with CR LF
};

// The receive time-out dialog Filtform: options " x 100", " x 10", " x   1".
struct FilterView {
    bool visible = false;
    int selected = 0;  // index (= factor) of the selected option; 0 = none selected
};

// What the model configuration sets on the editor window: panels, buttons, menus.
struct EditorLayout {
    int progBoxHeight = 5400;      // twips
    bool offsetsPanel = true;      // Frame2
    bool outputGrid712 = false;    // Frame4
    bool multiFilePanel = false;   // Frame3
    std::string multiFileCaption;  // Frame3 caption
    bool multiFileBox = true;      // SelezMulti shown
    bool multiFileChecked = false; // SelezMulti ticked
    bool appendButtons = false;    // PulsAppend(0), PulsAppend(1)
    bool selectorEnabled = true;   // VScroll1
    bool menuOrigin = false;       // MenuSettings
    bool menuLists = true;         // MenuLoadList, MenuSaveList
    bool menuUpload = false;       // Menuencoder
    bool menuDeskpl = true;        // MenuDeskpl
    bool menuGraph = true;         // MenEnableGraphic
};

// The position test window's fields.
struct PositionTestView {
    bool loaded = false;  // unloaded when closed; loaded again locked and cleared
    bool visible = false;
    bool unlocked = false;
    std::string TxtPassword;
    std::string TxtPrimi = "20";
    std::string TxtSuccessivi = "200";
    Rgb TxtPrimiBack{224, 224, 224};
    Rgb TxtSuccessiviBack{224, 224, 224};
    std::string LblMax = "0";
    std::string LblMin = "0";
    std::string Label6;  // last step
    std::string Label5;  // error count
    std::array<std::string, 15> Label1{};  // error lines
};

}  // namespace gyrel
