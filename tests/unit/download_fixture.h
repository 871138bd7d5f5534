#pragma once
// A complete editor transfer set-up over the simulated encoder and a virtual clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "device/download.h"
#include "device/model_table.h"
#include "device/upload.h"
#include "link/serial_link.h"
#include "platform/memory_settings_store.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"
#include "sim/device.h"
#include "sim/inprocess_port.h"

namespace gyrel::xfertest {

struct Box {
    std::string prompt;
    MsgButtons buttons;
    MsgIcon icon;
    std::string title;
};

// Answers questions and file dialogs from a script (Yes or Cancel when it has run out)
// and records every box and dialog.
class ScriptedOperator : public Operator {
public:
    int messageBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon, const std::string& title) override {
        boxes.push_back({prompt, buttons, icon, title});
        if (onBox) onBox();
        if (answers.empty()) return buttons == MsgButtons::YesNo ? AnswerYes : AnswerOk;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest& r) override { return dialog(r); }
    std::optional<std::string> saveFileDialog(const FileDialogRequest& r) override { return dialog(r); }
    void beep() override {}
    // Every box so far, one "title|prompt" line each.
    std::string boxLog() const {
        std::string s;
        for (const Box& b : boxes) s += b.title + "|" + b.prompt + "\n";
        return s;
    }
    std::vector<Box> boxes;
    std::deque<int> answers;
    std::deque<std::string> files;
    std::vector<FileDialogRequest> dialogs;
    std::function<void()> onBox;

private:
    std::optional<std::string> dialog(const FileDialogRequest& r) {
        dialogs.push_back(r);
        if (files.empty()) return std::nullopt;
        const std::string f = files.front();
        files.pop_front();
        return f;
    }
};

// A temporary working folder for the test's lifetime.
class TempHome {
public:
    TempHome() {
        char pattern[] = "/tmp/gyrel_xfer_XXXXXX";
        path_ = mkdtemp(pattern);
        setenv("GYREL_HOME", path_.c_str(), 1);
    }
    ~TempHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        unsetenv("GYREL_HOME");
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

struct Rig {
    explicit Rig(const std::string& model = "NORM")
        : device(model),
          port(device, clock),
          ctx(Services{port, clock, settings, fs, op}),
          link(ctx),
          env{ctx, link, ed, {}, {}},
          download(env),
          upload(env, download.sender) {
        ctx.model = globalsOf(*findModel(model));
        ctx.applyLanguage("EN");
        link.presetPort(ctx.model.SpeedText);
        env.procs.dateNow = [] { return std::string("06/12/2026 07:30:00"); };
    }

    // A prepared table in the editor, ready for PreparaTx.
    void prepare(std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> entries, int slot = 0) {
        int i = 0;
        for (auto [p, m] : entries) ed.camTable.set(i++, p, m);
        ed.camTable.CamCount = i;
        ed.CamRowCount = i;
        ed.ProgramIndex = slot;
    }

    // The editor's download, and how it ended.
    DownloadCommand::Outcome send() {
        download.Command2();
        return download.lastOutcome;
    }

    // After a transfer: the port given back, the editor free, no wait window.
    void expectFree() const {
        EXPECT_EQ(link.PortUsers, 0);
        EXPECT_FALSE(ctx.EditorBusy);
        EXPECT_FALSE(ed.wait.visible);
    }

    TempHome home;
    VirtualClock clock;
    sim::Device device;
    sim::InProcessPort port;
    MemorySettingsStore settings;
    StdFileSystem fs;
    ScriptedOperator op;
    Context ctx;
    SerialLink link;
    EditorState ed;
    TransferEnv env;
    DownloadCommand download;
    UploadCommand upload;
};

inline int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

}  // namespace gyrel::xfertest
