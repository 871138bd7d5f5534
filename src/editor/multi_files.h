#pragma once
#include <array>
#include <functional>
#include <string>

#include "app/context.h"
#include "editor/editor_state.h"
#include "editor/program_list.h"

namespace gyrel {

// Background of a slot box: normal, and light red when its file is missing.
constexpr ColourValue kSlotNormal = 15923442;  // 0xF2F8F2
constexpr ColourValue kSlotMissing = 0x8080FF;

constexpr const char* kListFilter = "List Files(*.lis)|*.lis|All Files (*.*)|*.*";
constexpr const char* kMultiCaption = "Multiple Files ";

// The multiple-files panel Frame3 as plain data: the window draws it.
struct MultiPanel {
    SlotPaths MultiPath{};
    std::array<ColourValue, 16> MultiPathBack{};
    bool MultiButtEnabled = true;
    std::string ListFilePath;
    std::string DeskplPath;
    MultiPanel() { MultiPathBack.fill(kSlotNormal); }
};

// What the panel needs of the rest of the editor. Unwired hooks do nothing
// (leggiLav then answers true, the date is the clock's local time).
struct MultiFilesHooks {
    // Checks the editor text: code k (0..15) quick for slot k, 99 full, 80 + k
    // before sending slot k. False when the text has errors.
    std::function<bool(int code)> leggiLav;
    std::function<void()> preConf;                          // apply the stored model again
    std::function<void(const std::string&)> setProgramNumber;  // the program-number box Text1
    std::function<void(const std::string&)> programPathToMain;  // the main window stores it
    std::function<void()> clearProgramFrame;                // Frame1: colour 0, caption empty
    std::function<std::string()> dateNow;                   // "general date" text for file headers
};

// The multiple-files mode of the editor: sixteen slots each naming a program
// file, list files that keep the assignment, and the DESKPL import into a list.
class MultiFiles {
public:
    MultiFiles(Context& ctx, EditorState& ed);

    MultiPanel panel;
    MultiFilesHooks hooks;

    // Entering and leaving the mode.
    void ConfiguraLista();
    void SelezMultiReleased(bool ticked);

    // List files.
    void MenuLoadList();
    void LoadList();
    void MenuSaveList();
    void SelectList();
    bool SaveList();  // false when the file could not be written

    // Slot boxes.
    void MultiButt(int k);
    void OpenSlot(int k);  // the operator selected box k
    enum class Key { Enter, Down, Up, Other };
    // A key in box k; returns the box that gets the focus next.
    int MultiPathKeyDown(int k, Key key);
    // The operator left box k (focus loss, or the mouse released on another box).
    void MultiPathLeave(int k);
    // Colours box k by whether its file exists; false (after the message) when missing.
    bool CheckSlotFile(int k);

    // DESKPL import into a list.
    void MenuDeskpl();
    void RichiamaDeskpl();

    // Shows "File not present".
    void fileNotPresent(const std::string& title = std::string());

private:
    int checkModif(int mode);
    void aggBox();
    bool leggiLav(int code);
    void loadProgramFile(const std::string& path);  // copy onto the work file and reload
    std::string programFilter() const;

    Context& ctx_;
    EditorState& ed_;
};

// The list name proposed for a DESKPL file: every "." of its file-name part
// becomes "_".
std::string proposedListName(const std::string& deskplPath);
// The stem of generated file names: the list path without its ".lis".
std::string listBaseOf(const std::string& listPath);

}  // namespace gyrel
