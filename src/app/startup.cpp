#include "app/startup.h"

#include "app/main_title.h"
#include "device/model_config.h"
#include "dialogs/credit_form.h"
#include "platform/working_folder.h"

namespace gyrel {

void MainStartup::load() {
    CreditForm about(ctx_);
    about.aarelease();
    ctx_.main.originVisible = false;
    about.show();  // the splash
    ctx_.svc.clock.pumpEvents();

    link_.presetPort("9600");
    if (ctx_.hooks.serialDialogDefaults) ctx_.hooks.serialDialogDefaults();

    ctx_.settings.read(ctx_.svc.settings);
    applySettings();

    ctx_.main.barFillWidth = 0;
    setMainTitle(ctx_);
    ini_par();
}

// Hands the values read from the store to their owners during the run and
// configures the port with the stored number and speed.
void MainStartup::applySettings() {
    const AppSettings& s = ctx_.settings;
    ctx_.model.RxTimeoutFactor = s.RxTimeoutFactor;
    ctx_.LanguageCode = s.LanguageCode;
    ctx_.model.ModelType = s.ModelType;
    ctx_.model.SpeedText = s.SpeedText;
    ctx_.posTest.TxtPrimi = s.Primi;
    ctx_.posTest.TxtSuccessivi = s.Success;

    SerialPort& port = ctx_.svc.port;
    try {
        if (ctx_.line.isOpen()) ctx_.line.close();
    } catch (const SerialError&) {
    }
    try {
        port.setPortName(s.PortName);
        port.setCommPort(s.PortaMem);  // never 0: the settings turn 0 into 1
    } catch (const SerialError&) {
        // The port is missing today; opening it later explains that. The stored
        // number is kept so the next start tries it again.
        refusedPortNumber_ = s.PortaMem;
        portAfterRefusal_ = port.commPort();
    }
    // The model applied in ini_par sets its own line speed over this one.
    link_.presetPort(ctx_.model.SpeedText);
}

void MainStartup::ini_par() {
    MainView& m = ctx_.main;
    for (int i = 0; i < 16; ++i) ctx_.svc.clock.pumpEvents();  // after each output label
    m.econVisible = m.enbEconChecked;

    createFolders();
    ModelConfig(ctx_).PreConf();

    link_.PollingActive = false;
    m.Check1Checked = false;
    m.Check1Caption = " On line";
    link_.LeggiDato();
    link_.ShowLinkQuality();

    ctx_.applyLanguage(ctx_.LanguageCode);
    ctx_.svc.clock.waitMs(kSplashMs);

    CreditForm(ctx_).hide();
    m.visible = true;
    if (ctx_.hooks.mainWindowVisible)
        ctx_.svc.clock.waitUntil([this] { return ctx_.hooks.mainWindowVisible(); }, kShowTimeoutMs);
}

void MainStartup::createFolders() {
    FileSystem& fs = ctx_.svc.fs;
    const std::string parent = workingFolderParent();
    const std::string folder = workingFolder();
    try {
        if (!parent.empty() && !fs.folderExists(parent)) fs.createFolder(parent);
        if (!fs.folderExists(folder)) fs.createFolder(folder);
    } catch (const FileError& e) {
        // Without the folder the work file cannot be kept; say so instead of
        // failing later on every check of the program text.
        ctx_.svc.op.messageBox(std::string("Cannot create the working folder ") + folder + "\r\n" + e.what(),
                               MsgButtons::Ok, MsgIcon::Exclamation, "GYREL");
    }
}

void MainStartup::TerminaTutto() {
    // Both the query-unload and the unload handler of the main window end here;
    // the editor must not be asked twice nor the settings written twice.
    if (terminated_) return;
    terminated_ = true;
    link_.chiudi_com(link_.PortUsers);
    try {
        // Nobody may keep the port: it is closed whatever the mask said.
        if (ctx_.line.isOpen()) ctx_.line.close();
    } catch (const SerialError&) {
    }
    if (ctx_.hooks.editorVisible && ctx_.hooks.editorVisible() && ctx_.hooks.editorQueryUnload)
        ctx_.hooks.editorQueryUnload();
    gatherSettings();
    ctx_.settings.write(ctx_.svc.settings);
}

// Collects the values whose owners changed them during the run.
void MainStartup::gatherSettings() {
    AppSettings& s = ctx_.settings;
    const SerialPort& port = ctx_.svc.port;
    s.RxTimeoutFactor = ctx_.model.RxTimeoutFactor;
    s.LanguageCode = ctx_.LanguageCode;
    s.ModelType = ctx_.model.ModelType;
    s.PortaMem = port.commPort();
    if (refusedPortNumber_ && port.commPort() == portAfterRefusal_) s.PortaMem = *refusedPortNumber_;
    s.PortName = port.portName();
    const std::string settings = port.settings();
    s.SpeedText = settings.substr(0, settings.find(','));
}

}  // namespace gyrel
