#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/model_table.h"
#include "dialogs/progress_state.h"
#include "editor/cam_table.h"

namespace gyrel {

// A stretch of ProgBox text drawn in one style. The editor keeps them sorted and
// never overlapping; text outside every range is drawn in the program style.
struct StyledRange {
    int start = 0;   // character index in ProgBox
    int length = 0;
    Rgb colour{0, 0, 0};
    int fontSize = 11;
    bool bold = false;     // the first emphasis of the marks
    bool italic = false;   // the second emphasis of the marks
    bool operator==(const StyledRange& o) const {
        return start == o.start && length == o.length && colour == o.colour && fontSize == o.fontSize &&
               bold == o.bold && italic == o.italic;
    }
};

// Colour values as stored by the windows: 24-bit with red in the low byte, or a
// system colour (0x80000005 = window background).
using ColourValue = std::uint32_t;
constexpr ColourValue kOffsetAppliedBack = 0xC0C0FF;   // check2 of an applied output (light red)
constexpr ColourValue kOffsetAppliedBox = 0xC0FFFF;    // Text4/Text5 of an applied output (light yellow)
constexpr ColourValue kOffsetOffBack = 12632256;       // check2 not applied (grey)
constexpr ColourValue kSystemWindowBack = 0x80000005;  // Text4/Text5 not applied

// Where the three numbers of one cam row stand in ProgBox (start, length), so a
// check can mark the very line a row came from.
struct RowSpans {
    std::array<int, 3> start{};
    std::array<int, 3> length{};
};

// What the progress window WaitForm shows while the editor checks or prepares.
struct WaitView {
    bool visible = false;
    std::string caption = "Graphic Mode";
    std::string label;          // Label1
    bool barVisible = false;    // BarraElabora
    int barFrameWidth = 6200;
    int barWidth = 0;
    bool textVisible = true;    // Text1
    std::string text;           // Text1: the bytes being sent or received
    bool buttonVisible = true;  // Command1 "Cancel"
    ProgressState progress;     // steps through, time left, how it ended
};

// The cam program editor's state as plain data: the logic writes it, the editor
// window (Form1), the graph window and the download read and render it.
struct EditorState {
    static constexpr int kMaxRows = 2001;

    // The parsed program.
    std::array<std::array<double, 3>, kMaxRows> CamRows{};  // output, ON, OFF
    int CamRowCount = 0;
    std::array<std::array<std::int16_t, 16>, 2> TextOffsets{};  // [0] ON, [1] OFF offsets per output
    std::array<std::int16_t, 32> ActiveOffsets{};                // 0..15 ON, 16..31 OFF
    // V712 header values: [program][output][0 OFS, 1 CON, 2 COF]; empty when absent.
    std::array<std::array<std::array<std::string, 3>, 16>, 16> HeaderParams{};
    CamTable camTable;  // CamTablePos, CamTableMask, CamCount
    std::vector<RowSpans> CamRowSpans;  // one per parsed row

    // Check flags.
    bool CheckArmed = false;
    bool ParseOk = false;
    bool ParsingBusy = false;
    bool PreparingBusy = false;
    bool BoxBusy = false;
    bool EditedSinceCheck = false;
    int CaretPosition = 0;
    int FullRecolour = 0;
    std::string LastCheckedText;
    int FailedRow = -1;  // the cam row the last data control stopped at, -1 none
    bool CheckBeforeSend = false;  // the download's refusal, not the check, tells of too many cams
    std::array<std::string, 17> SlotTexts{};  // 0..15 multiple-file slots, 16 the single program
    int CurrentSlot = 16;

    // The offsets panel (Frame2).
    bool Check1 = true;  // offsets from the program text
    std::array<bool, 16> check2{};
    std::array<std::string, 16> Text4{};  // ON offsets
    std::array<std::string, 16> Text5{};  // OFF offsets
    std::array<ColourValue, 16> check2Back{};
    std::array<ColourValue, 16> Text4Back{};
    std::array<ColourValue, 16> Text5Back{};
    bool Option1 = false;  // "Select all"
    bool Option2 = false;  // "Deselect all"

    // Buttons.
    bool ButtVerificaPrgEnabled = false;
    bool Command2Enabled = false;

    // The program text box (Windows-1252 bytes) and how it is drawn.
    std::string ProgBox;
    int SelStart = 0;
    int SelLength = 0;
    bool ProgBoxFocus = false;   // the logic asked for the focus in ProgBox
    bool ProgBoxSelect = false;  // with that focus, select SelStart..SelLength; else the caret stays
    std::vector<StyledRange> ProgBoxStyles;

    // Files and windows.
    std::string ProgramFilePath;
    bool ModifiedFlag = false;
    bool graphVisible = false;  // Form2 shown
    int ResizeSeen = 0;
    bool SelezMulti = false;    // multiple files ticked
    int ProgramIndex = 0;       // 0-based device slot addressed by download and upload (Text1 - 1)
    std::string Text2;          // communication log, newest entry first
    std::string FinRisp;        // V712 replies that were not "OK", newest first
    bool Frame4Enabled = true;  // the V712 row table takes input (off while sending)
    WaitView wait;

    EditorState() {
        check2Back.fill(kOffsetOffBack);
        Text4Back.fill(kSystemWindowBack);
        Text5Back.fill(kSystemWindowBack);
    }
};

}  // namespace gyrel
