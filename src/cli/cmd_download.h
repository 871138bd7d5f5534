#pragma once
// What the device jobs of gyrel-cli (download, upload, preset) share: one
// context over a real port, the model applied, a working folder of their own.
#include <memory>
#include <string>

#include "cli/cli.h"
#include "device/download.h"
#include "device/model_table.h"
#include "device/upload.h"
#include "editor/editor_check.h"
#include "link/serial_link.h"
#include "platform/memory_settings_store.h"
#include "platform/std_file_system.h"

namespace gyrel::cli {

// Message boxes go to standard error (title, then the prompt); questions are
// answered Yes only when the job was told so (--yes).
class StderrOperator : public Operator {
public:
    StderrOperator(std::ostream& err, bool yes) : err_(err), yes_(yes) {}
    int messageBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon, const std::string& title) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    void beep() override {}
    int boxes = 0;
    int questionsDeclined = 0;

private:
    std::ostream& err_;
    bool yes_;
};

// A working folder of the job's own for the time it runs, so that the work file
// of an editor open at the same time is never overwritten.
class ScopedWorkFolder {
public:
    ScopedWorkFolder();
    ~ScopedWorkFolder();
    ScopedWorkFolder(const ScopedWorkFolder&) = delete;
    ScopedWorkFolder& operator=(const ScopedWorkFolder&) = delete;

private:
    std::string path_;
    bool hadOld_ = false;
    std::string old_;
};

struct DeviceJob {
    DeviceJob(Env& env, const ModelInfo& model, const std::string& language, const std::string& portPath, bool yes);
    ~DeviceJob();

    // Opens the port at the model's line speed; false (and the reason on standard error) when it cannot.
    bool open();

    Env& cli;
    std::string portPath;
    ScopedWorkFolder folder;
    std::unique_ptr<SerialPort> port;
    MemorySettingsStore settings;
    StdFileSystem fs;
    StderrOperator op;
    std::unique_ptr<Context> ctx;
    std::unique_ptr<SerialLink> link;
    EditorState ed;
    std::unique_ptr<EditorEnv> check;
    std::unique_ptr<TransferEnv> transfer;
    std::unique_ptr<DownloadCommand> download;
    std::unique_ptr<UploadCommand> upload;
};

// The model globals of a model-table entry.
// "unknown model" on standard error when the code names none.
const ModelInfo* modelFor(Env& env, const std::string& code);

// A program number 1..16; false with "--slot must be ..." on standard error.
bool slotInRange(Env& env, int slot);

}  // namespace gyrel::cli
