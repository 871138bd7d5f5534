#pragma once
#include <functional>
#include <string>

#include "app/context.h"
#include "editor/editor_state.h"
#include "editor/parse.h"

namespace gyrel {

// What the check reaches in the other editor pieces; an unset hook does nothing.
struct EditorHooks {
    std::function<void()> saveOffs;        // SaveOffs: the offsets panel into "Offs.lav"
    std::function<void()> redrawGraphics;  // AggiornaGrafica
    std::function<void()> aggFrame;        // V712 grid from HeaderParams (redraws too)
};

// The editor's check as one unit: the shared context, the editor state, hooks.
struct EditorEnv {
    Context& ctx;
    EditorState& ed;
    EditorHooks hooks;
};

// LeggiLav: parse the ProgBox text (through the work file "lav.lav"), then act
// by the slot selector: 0..16 quick, 80..96 a download of slot-80 (always a
// full preparation; the selector is rewritten to slot-80), 99 verify, anything
// else nothing. A text without a final line end is parsed with it, and gets it
// unless a cam line is in error. Returns ok.
bool LeggiLav(EditorEnv& e, int& slot);

// TabelleOffset: take the offsets, then (once the window is laid out) prepare
// in mode 0 (full) or 1 (table only). Returns failed.
bool TabelleOffset(EditorEnv& e, int mode);

// PreparaDati: data control, offsets and the cam table. Returns failed.
bool PreparaDati(EditorEnv& e, int mode);

// Leggi712: the V712 header lines into HeaderParams.
void Leggi712(EditorEnv& e);

// The verify button ButtVerificaPrg: slot 99, or Leggi712 on "V712".
void verifyProgram(EditorEnv& e);

// The message box of a parse error: title and prompt.
struct ParseMessage {
    std::string title;
    std::string prompt;
};
ParseMessage parseMessage(const Context& ctx, const ParseError& error);

// The "too much cams" box text for n change points.
std::string tooMuchCamsPrompt(double n);
constexpr const char* kTooMuchCamsTitle = "too much cams";

}  // namespace gyrel
