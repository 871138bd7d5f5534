#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/context.h"
#include "app/startup.h"
#include "device/model_config.h"
#include "dialogs/credit_form.h"
#include "dialogs/filt_form.h"
#include "dialogs/position_test_form.h"
#include "link/serial_link.h"
#include "settings/serial_menu.h"
#include "settings/set_seriale.h"

class QTimer;

namespace gyrel::ui {
class Mainform;
class SetSerialeWindow;
class FiltformWindow;
class Form3Window;
class CreditformWindow;
class SafetyRunner;

// What differs between the program, its tests and the platforms.
struct AppOptions {
    // Device paths may be typed in the serial dialog, and these are tried by its scan.
    bool typedPathsAllowed = false;
    std::function<std::vector<std::string>()> listDevicePaths;
    // Runs after the shutdown when the main window closes (the program ends).
    std::function<void()> quit;
    // Runs after a model menu item changed ModelType (a simulator follows it).
    std::function<void(const std::string& model)> modelChanged;
    // Opens the cam program editor instead of the editor window (tests).
    std::function<void()> openEditor;
};

// The whole program put together: the shared state, the logic of every window,
// the windows, and the hooks between them. The windows are redrawn from the
// logic's state after every event they forward and on a short timer.
class GyrelApp {
public:
    GyrelApp(Services services, AppOptions options);
    ~GyrelApp();

    // The main window's load: splash, settings, model, language, then the main
    // window shown with the monitor off line.
    void start();
    // Applies a model as its menu item does (false for an unknown code).
    bool selectModel(const std::string& code);
    // Redraws every window from the logic's state.
    void refreshAll();
    // More windows to relabel when a language is applied (the editor's, ...).
    void addRelabel(std::function<void()> relabel) { relabelers_.push_back(std::move(relabel)); }
    void addRefresh(std::function<void()> refresh) { refreshers_.push_back(std::move(refresh)); }

    Context ctx;
    SerialLink link;
    ModelConfig models;
    MainStartup startup;
    SetSeriale serialDialog;
    SerialMenu serialMenu;
    FiltForm filter;
    PositionTestForm positionTest;
    CreditForm credit;

    std::unique_ptr<Mainform> mainform;
    std::unique_ptr<SetSerialeWindow> serialWindow;
    std::unique_ptr<FiltformWindow> filterWindow;
    std::unique_ptr<Form3Window> positionTestWindow;
    std::unique_ptr<CreditformWindow> creditWindow;
    std::unique_ptr<SafetyRunner> safety;  // backup, restore, compare: the application's, not a window's

    static constexpr int kRefreshMs = 50;

private:
    void wireHooks();
    void openEditorWindow();
    void selectModel(int menuIndex);
    void shutdown();

    AppOptions options_;
    std::vector<std::function<void()>> relabelers_;
    std::vector<std::function<void()>> refreshers_;
    std::unique_ptr<QTimer> refreshTimer_;
    bool shutDown_ = false;
};

}  // namespace gyrel::ui
