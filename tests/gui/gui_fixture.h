#pragma once
// Shared set-up of the window tests: the whole program against the simulated
// encoder, on simulated time, with its own working folder and settings file.
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/qt_settings_store.h"
#include "scripted_operator.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"
#include "ui/gyrel_app.h"
#include "ui/simulated_encoder.h"

namespace gyrel::test {

struct GuiRig {
    QTemporaryDir dir;
    VirtualClock clock;
    std::unique_ptr<QtSettingsStore> settings;
    StdFileSystem fs;
    ScriptedOperator op;
    std::unique_ptr<sim::InProcessPort> encoder;
    std::unique_ptr<ui::GyrelApp> app;
    int quits = 0;

    // `stored` are settings written before start, as "Key=value".
    explicit GuiRig(const std::string& model = "NORM", const std::vector<std::pair<std::string, std::string>>& stored = {}) {
        qputenv("GYREL_HOME", dir.filePath("home").toLocal8Bit());
        settings = std::make_unique<QtSettingsStore>(dir.filePath("gyrel.ini"));
        for (const auto& [k, v] : stored) settings->set("startup", k, v);
        encoder = ui::makeDemoEncoder(model, clock);
        ui::AppOptions options;
        options.quit = [this] { ++quits; };
        options.modelChanged = [this](const std::string& m) { ui::switchDemoModel(*encoder, m, clock); };
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
