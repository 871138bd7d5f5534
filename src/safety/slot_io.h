#pragma once
#include <array>
#include <memory>
#include <string>

#include "app/context.h"
#include "device/download.h"
#include "device/upload.h"
#include "editor/editor_check.h"
#include "editor/editor_state.h"
#include "safety/compare.h"
#include "safety/presets_file.h"

namespace gyrel {

class SerialLink;

// What the safety jobs (backup, restore, compare, verify) do with one slot,
// on an editor state of their own: the editor's text, work file and panels are
// never touched, and nothing asks about unsaved changes. The exchanges are the
// editor's own download, upload and preset transfers over the application's one link.
class SlotIo {
public:
    SlotIo(Context& ctx, SerialLink& link);

    bool wide() const;

    // Checks and prepares a program text as the download would, without boxes.
    struct Prepared {
        bool ok = false;
        std::string why;  // the check's message on one line
        ChangePoints table;  // as the device will hold it
    };
    Prepared prepare(const std::string& text);

    // Reads a slot back (the upload exchange).
    struct ReadBack {
        bool ok = false;
        std::string why;
        ChangePoints table;  // empty: the slot holds no program
        std::string text;    // the program text rebuilt from it
    };
    ReadBack read(int slot);

    // Sends a program text into a slot; false with the reason in *why.
    bool write(int slot, const std::string& text, std::string* why);

    // Preset and origin of every program; confirmed[i] false where the read failed.
    PresetTable readPresets(std::array<bool, 16>& confirmed);
    // Writes the known entries; confirmed[i] for those the device acknowledged.
    void writePresets(const PresetTable& table, std::array<bool, 16>& confirmed);

    // Prepares, reads back and compares in one step.
    SlotComparison verify(int slot, const ChangePoints& sent);

    EditorState& state() { return ed_; }

private:
    bool prepareQuiet();

    Context& ctx_;
    SerialLink& link_;
    EditorState ed_;
    TransferEnv env_;
    std::unique_ptr<DownloadCommand> download_;
    std::unique_ptr<UploadCommand> upload_;
    std::string lastWhy_;
};

// Why an upload ended, in a few words.
const char* uploadEndText(UploadEnd end);

}  // namespace gyrel
