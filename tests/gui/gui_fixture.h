#pragma once
// Shared set-up of the window tests: the whole program against the simulated
// encoder, on simulated time, with its own working folder and settings file.
#include <QtTest>
#include <QtWidgets>
#include <memory>
#include <optional>

#include "device/editor_transfers.h"
#include "editor/editor_files.h"
#include "platform/operator.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"
#include "ui/editor_window.h"
#include "ui/gyrel_app.h"
#include "ui/mainform.h"
#include "ui/set_seriale_window.h"
#include "ui/simulated_encoder.h"
#include "ui/small_windows.h"

namespace gyrel::test {

// Answers every message box with a scripted answer (OK by default) and keeps its
// text; a file dialog chooses the scripted file (none: cancelled).
struct ScriptedOperator : Operator {
    std::vector<std::string> boxes;
    int answer = AnswerOk;
    std::optional<std::string> openChoice, saveChoice;
    int messageBox(const std::string& prompt, MsgButtons, MsgIcon, const std::string& title) override {
        boxes.push_back(title + "|" + prompt);
        return answer;
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override { return openChoice; }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return saveChoice; }
    void beep() override {}
};

// The named child; a missing one ends the test program with its name.
template <typename T = QWidget>
T* child(QObject* w, const char* name) {
    T* c = w->findChild<T*>(name);
    if (!c) qFatal("no child %s", name);
    return c;
}

// Clicks a check or option button on its indicator: a click beside its text,
// in the empty part of a stretched button, is no click at all.
inline void clickOption(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(7, b->height() / 2)); }

inline void press(QWidget* w, const char* n) { QTest::mouseClick(child<QPushButton>(w, n), Qt::LeftButton); }
inline QString label(QWidget* w, const char* name) { return child<QLabel>(w, name)->text(); }

struct GuiRig {
    QTemporaryDir dir;
    VirtualClock clock;
    std::unique_ptr<QtSettingsStore> settings;
    StdFileSystem fs;
    ScriptedOperator op;
    std::unique_ptr<sim::InProcessPort> encoder;
    std::unique_ptr<ui::GyrelApp> app;
    int quits = 0;

    // `stored` are settings written before start, as "Key=value"; `typedPaths`
    // lets the serial dialog take a typed device path.
    explicit GuiRig(const std::string& model = "NORM", const std::vector<std::pair<std::string, std::string>>& stored = {},
                    bool typedPaths = false) {
        qputenv("GYREL_HOME", dir.filePath("home").toLocal8Bit());
        settings = std::make_unique<QtSettingsStore>(dir.filePath("gyrel.ini"));
        for (const auto& [k, v] : stored) settings->set("startup", k, v);
        encoder = ui::makeDemoEncoder(model, clock);
        ui::AppOptions options;
        options.typedPathsAllowed = typedPaths;
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

    QAction* action(const char* name) { return app->mainform->action(name); }

    // The editor opened from the main window in English, once laid out (the
    // check prepares a program only then), with `typed` typed into its program
    // box; without it the test program ends.
    EditorWindow* editor(const QString& typed = {}) {
        action("Inglese")->trigger();
        action("Communications")->trigger();
        EditorWindow* e = currentEditor();
        if (!e || !QTest::qWaitFor([e] { return e->editor().st.ResizeSeen != 0; }))
            qFatal("no editor laid out");
        QTest::keyClicks(child<QTextEdit>(e, "ProgBox"), typed);
        return e;
    }
};

}  // namespace gyrel::test
