#pragma once
#include <functional>
#include <string>

#include "app/app_settings.h"
#include "app/main_view.h"
#include "device/model_table.h"
#include "lang/texts.h"
#include "link/line_owner.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/operator.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"

namespace gyrel {

// The services the logic reaches the outside through.
struct Services {
    SerialPort& port;
    Clock& clock;
    SettingsStore& settings;
    FileSystem& fs;
    Operator& op;
};

// Calls that cross from one window's logic into another's. They are wired when
// the program is assembled; an unwired hook does nothing (or answers the default).
struct Hooks {
    std::function<void()> leggiDato;                 // refresh the status display
    std::function<int(int mode)> checkModif;         // unsaved-changes question; 7 = declined
    std::function<void()> aggBox;                    // reload the editor box from the work file
    std::function<void()> languageApplied;           // relabel every window
    std::function<void()> titleChanged;              // main window title
    std::function<bool()> serialDialogForOpenFailure;  // show the serial dialog; false = operator gave up
    std::function<bool()> serialDialogVisible;
    std::function<void(bool visible)> showPositionTest;  // position test window shown / hidden
    std::function<bool()> editorVisible;
    std::function<bool()> graphVisible;
    std::function<void()> emptyEditor;        // model change: ProgBox text and ProgramFilePath emptied
    std::function<void()> editorQueryUnload;  // shutdown: the editor's own close (may save the work sheet)
    std::function<void()> aggiornaGrafica;    // redraw the graph window after a preparation
    std::function<void()> serialDialogDefaults;  // start-up: Default(port, 9600, 115200), Sfondi(grey), port scan
    std::function<bool()> mainWindowVisible;     // the main window reports itself shown
};

// Shared state of the whole program: the services, the model globals, the
// current language and the flags that keep re-entered handlers apart.
struct Context {
    explicit Context(Services s) : svc(s), line(s.port) {}

    Services svc;
    ModelGlobals model;
    std::string LanguageCode = "IT";
    const TextSet* texts = &textSetFor("IT");
    bool EditorBusy = false;
    bool CancelRequested = false;
    // The one owner of the serial line: every conversation with the device claims
    // it and reaches the port through it. While a conversation (download, V712,
    // upload, origin) holds it, nothing else may use the port, and nothing it
    // runs on may be freed.
    LineOwner line;
    bool lineClaimed() const { return line.busy(); }
    MainView main;              // what the main window shows
    PositionTestView posTest;   // what the position test window shows
    EditorLayout editorLayout;  // the editor's panels and menus for the model
    AboutView about;            // the about box (also the start-up splash)
    FilterView filter;          // the receive time-out dialog
    // The values kept between runs. PercorsoTxt, Primi, Success, GraphScale and
    // GraphPitch live here during the run; ModelType, SpeedText, RxTimeoutFactor,
    // LanguageCode and the port are handed to model, LanguageCode and the port at
    // start-up and gathered back from there at shutdown.
    AppSettings settings;
    Hooks hooks;

    const char* msg(int i) const { return texts->msg.at(static_cast<std::size_t>(i)); }
    const char* ui(int i) const { return texts->ui.at(static_cast<std::size_t>(i)); }

    // Chooses the text set, remembers the code, and lets the windows relabel.
    void applyLanguage(const std::string& code) {
        LanguageCode = code;
        texts = &textSetFor(code);
        if (hooks.languageApplied) hooks.languageApplied();
    }
};

}  // namespace gyrel
