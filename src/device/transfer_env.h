#pragma once
#include <functional>
#include <string>

#include "app/context.h"
#include "editor/editor_state.h"

namespace gyrel {

class SerialLink;

// Editor procedures the transfers call. The editor wires them when it is
// assembled; an unwired one falls back to the context's hooks or does nothing
// (LeggiLav then answers that the text has errors, so nothing is ever sent
// unchecked).
struct EditorProcs {
    std::function<bool(int code)> LeggiLav;       // 96 single program, 80 + k slot k, 99 check only
    std::function<void()> Leggi712;               // V712 text into HeaderParams and the row table
    std::function<void(int row)> AggTab;          // row table boxes into HeaderParams
    std::function<void(int mode)> AggColori;      // recolour ProgBox
    std::function<void()> AggBox;                 // reload ProgBox from the work file
    std::function<int(int mode)> CheckModif;      // unsaved changes; 7 = declined
    std::function<std::string()> dateNow;         // general date text for imported programs
};

// The multiple-files panel as the transfers see it (the lists window owns it).
struct SlotPanel {
    std::function<std::string(int k)> path;                   // MultiPath(k)
    std::function<void(int k, const std::string&)> setPath;
    std::function<void(int k, bool missing)> markMissing;      // light red / normal background
    std::function<void(const std::string&)> setProgramNumber;  // Text1 (sets ProgramIndex)
    std::function<void()> clearProgramFrame;                   // program frame caption ""
    std::function<std::string()> selectList;                   // SelectList; the list path or ""
    std::function<void()> saveList;
};

// What every editor transfer works with.
struct TransferEnv {
    Context& ctx;
    SerialLink& link;
    EditorState& ed;
    EditorProcs procs;
    SlotPanel slots;

    std::string WorkFilePath() const;
    bool leggiLav(int code);
    void aggBox();
    int checkModif(int mode);
    void aggColori(int mode);

    // The progress window: showing it clears a Cancel left over from before.
    void showProgress(const std::string& caption, const std::string& label);
    void hideProgress() { ed.wait.visible = false; }
    // The count, the time left and the outcome the progress window shows.
    void beginCount(long steps, bool receiving = false);
    void stepCount(long done);
    void endCount(ProgressOutcome how, const char* WindowTexts::*why = nullptr);
    // A log entry in front of the communication log, emptied first above 32000 characters.
    void logEntry(const std::string& entry);
};

// The application's own title for message boxes that name none.
constexpr const char* kAppTitle = "gyrel";

}  // namespace gyrel
