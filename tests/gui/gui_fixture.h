#pragma once
// Shared set-up of the window tests: the whole program against the simulated
// encoder, on simulated time, with its own working folder and settings file.
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/qt_settings_store.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"
#include "ui/gyrel_app.h"
#include "ui/simulated_encoder.h"

namespace gyrel::test {

// Answers every message box with a scripted answer (OK by default) and keeps its text.
struct ScriptedOperator : Operator {
    std::vector<std::string> boxes;
    int answer = AnswerOk;
    int beeps = 0;
    int messageBox(const std::string& prompt, MsgButtons, MsgIcon, const std::string& title) override {
        boxes.push_back(title + "|" + prompt);
        return answer;
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    void beep() override { ++beeps; }
};

struct GuiRig {
    QTemporaryDir dir;
    VirtualClock clock;
    std::unique_ptr<QtSettingsStore> settings;
    StdFileSystem fs;
    ScriptedOperator op;
    std::unique_ptr<ui::SimulatedEncoder> encoder;
    std::unique_ptr<ui::GyrelApp> app;
    int quits = 0;

    // `stored` are settings written before start, as "Key=value".
    explicit GuiRig(const std::string& model = "NORM", const std::vector<std::pair<std::string, std::string>>& stored = {}) {
        qputenv("GYREL_HOME", dir.filePath("home").toLocal8Bit());
        settings = std::make_unique<QtSettingsStore>(dir.filePath("gyrel.ini"));
        for (const auto& [k, v] : stored) settings->set("startup", k, v);
        encoder = std::make_unique<ui::SimulatedEncoder>(model, clock);
        ui::AppOptions options;
        options.quit = [this] { ++quits; };
        options.modelChanged = [this](const std::string& m) { encoder->switchModel(m); };
        app = std::make_unique<ui::GyrelApp>(Services{*encoder, clock, *settings, fs, op}, options);
        app->start();
        app->refreshAll();
    }
    ~GuiRig() {
        app.reset();
        qunsetenv("GYREL_HOME");
    }
};

}  // namespace gyrel::test
