#include "ui/gyrel_app.h"

#include <QTimer>

#include "editor/editor_window.h"
#include "link/monitor.h"
#include "ui/editor_window.h"
#include "ui/mainform.h"
#include "ui/origin_dialog.h"
#include "ui/safety_window.h"
#include "ui/set_seriale_window.h"
#include "ui/small_windows.h"

namespace gyrel::ui {

GyrelApp::GyrelApp(Services services, AppOptions options)
    : ctx(services),
      link(ctx),
      models(ctx),
      startup(ctx, link),
      serialDialog(services.port, services.clock, services.op),
      serialMenu(ctx, link, serialDialog),
      filter(ctx),
      positionTest(ctx),
      credit(ctx),
      options_(std::move(options)) {
    serialDialog.typedPathsAllowed = options_.typedPathsAllowed;
    serialDialog.listDevicePaths = options_.listDevicePaths;
    serialDialog.lineBusy = [this]() -> const char* { return link.transferRunning() ? ctx.texts->lineBusy : nullptr; };
    serialDialog.line = &ctx.line;

    Mainform::Actions a;
    a.communications = options_.openEditor ? options_.openEditor : [this] { openEditorWindow(); };
    a.testEncoder = [this] { link.monitor().TestEncoderClick(); };
    a.model = [this](int i) { selectModel(i); };
    a.language = [this](const char* code) { ctx.applyLanguage(code); };
    a.seriale = [this] { serialMenu.SerialeClick(); };
    a.filter = [this] { filter.show(); };
    a.enbEcon = [this] { link.monitor().EnbEconClick(); };
    a.info = [this] {
        credit.aarelease();
        credit.show();
    };
    a.check1MouseUp = [this](bool checked) { link.check1MouseUp(checked); };
    a.windowStateChanged = [this] { link.monitor().windowResized(); };
    a.closing = [this] { shutdown(); };
    a.afterEvent = [this] { refreshAll(); };
    mainform = std::make_unique<Mainform>(ctx, a);
    serialWindow = std::make_unique<SetSerialeWindow>(serialDialog, mainform.get());
    filterWindow = std::make_unique<FiltformWindow>(ctx, filter, mainform.get());
    positionTestWindow = std::make_unique<Form3Window>(ctx, positionTest, mainform.get());
    creditWindow = std::make_unique<CreditformWindow>(ctx, credit, nullptr);
    safety = std::make_unique<SafetyRunner>(ctx, link);
    wireHooks();

    refreshTimer_ = std::make_unique<QTimer>();
    refreshTimer_->setInterval(kRefreshMs);
    QObject::connect(refreshTimer_.get(), &QTimer::timeout, [this] { refreshAll(); });
    refreshTimer_->start();
}

GyrelApp::~GyrelApp() {
    refreshTimer_->stop();
    // The windows go before the logic they draw.
    delete currentEditor();
    safety.reset();
    creditWindow.reset();
    positionTestWindow.reset();
    filterWindow.reset();
    serialWindow.reset();
    mainform.reset();
}

void GyrelApp::wireHooks() {
    Hooks& h = ctx.hooks;
    h.titleChanged = [this] { mainform->refresh(); };
    h.languageApplied = [this] {
        mainform->relabel();
        if (EditorWindow* e = currentEditor()) e->render();
        for (auto& r : relabelers_) r();
    };
    h.serialDialogForOpenFailure = [this] { return serialMenu.openFailure(); };
    h.serialDialogVisible = [this] { return serialDialog.view().visible; };
    h.showPositionTest = [this](bool visible) {
        if (visible)
            positionTest.show();
        else
            positionTest.hide();
        positionTestWindow->refresh();
    };
    h.serialDialogDefaults = [this] {
        serialDialog.Default({9600, 115200});
        serialDialog.Sfondi(Rgb{192, 192, 192});
    };
    h.mainWindowVisible = [this] {
        mainform->refresh();
        return mainform->isVisible();
    };
}

void GyrelApp::openEditorWindow() {
    EditorWindow* w =
        openEditor(ctx, mainform.get(), [this](Editor& e) { e.chiudi_com = [this](int user) { link.chiudi_com(user); }; });
    // The editor's progress window goes with the editor window, which owns its state.
    if (w && !w->findChild<WaitFormWindow*>()) {
        Editor& e = w->editor();
        new WaitFormWindow(e.st.wait, std::make_unique<WaitForm>(ctx, e.st.wait), w);
    }
    if (w) w->attachLink(link);
    if (w) safety->attach(*w);
}

void GyrelApp::start() {
    startup.load();
    refreshAll();
}

void GyrelApp::refreshAll() {
    // Until the shutdown has run (a transfer may still be ending) the windows keep drawing.
    if (shutDown_) return;
    mainform->refresh();
    serialWindow->refresh();
    filterWindow->refresh();
    positionTestWindow->refresh();
    creditWindow->refresh();
    if (EditorWindow* e = currentEditor()) {
        if (auto* wait = e->findChild<WaitFormWindow*>()) wait->refresh();
        if (auto* origin = e->findChild<OriginDialogWidget*>()) origin->renderLineBusy();
    }
    for (auto& r : refreshers_) r();
}

bool GyrelApp::selectModel(const std::string& code) {
    const ModelInfo* m = findModel(code);
    if (!m) return false;
    for (std::size_t i = 0; i < Mainform::modelMenuNames().size(); ++i)
        if (std::string(Mainform::modelMenuNames()[i]) == m->menuEntry) selectModel(static_cast<int>(i));
    refreshAll();
    return true;
}

void GyrelApp::selectModel(int menuIndex) {
    const std::string before = ctx.model.ModelType;
    switch (menuIndex) {
        case 0: models.ConfiguraSingolo(0); break;
        case 1: models.ConfiguraKMT(); break;
        case 2: models.ConfiguraSingolo(1); break;
        case 3: models.Configura712(); break;
        case 4: models.ConfiguraPx71(); break;
        case 5: models.Configura820AX(); break;
        case 6: models.Configura820HX(); break;
        default: return;
    }
    if (ctx.model.ModelType != before && options_.modelChanged) options_.modelChanged(ctx.model.ModelType);
}

// The main window closes: a running polling loop is told to end (it lies
// beneath this handler and must unwind for the program to finish), then the
// shutdown releases the port and writes the settings.
void GyrelApp::shutdown() {
    if (shutDown_) return;
    // A transfer waits beneath this handler: it is cancelled, and the shutdown
    // runs once it has ended (its waits would otherwise return at once against
    // a closed port, and the windows it draws on would go from under it).
    if (link.transferRunning() || editorTransferRunning()) {
        ctx.CancelRequested = true;
        link.PollingActive = false;
        if (!shutdownPending_) {
            shutdownPending_ = true;
            QTimer::singleShot(kShutdownRetryMs, [this] {
                shutdownPending_ = false;
                shutdown();
            });
        }
        return;
    }
    shutDown_ = true;
    refreshTimer_->stop();
    link.PollingActive = false;
    startup.TerminaTutto();
    for (QWidget* w : std::initializer_list<QWidget*>{serialWindow.get(), filterWindow.get(), positionTestWindow.get(),
                                                     creditWindow.get()})
        w->hide();
    if (EditorWindow* e = currentEditor()) e->hide();  // its own close ran in the shutdown
    if (options_.quit) options_.quit();
}

bool GyrelApp::editorTransferRunning() {
    EditorWindow* e = currentEditor();
    return e != nullptr && e->transferRunning();
}

}  // namespace gyrel::ui
