#include "settings/serial_menu.h"

#include "app/main_title.h"

namespace gyrel {

std::string speedOf(const std::string& settings) { return settings.substr(0, settings.find(',')); }

void SerialMenu::waitWhileVisible() {
    while (dialog_.view().visible) ctx_.svc.clock.waitMs(kPollMs);
}

void SerialMenu::SerialeClick() {
    // A polling loop running beneath this handler is held while the dialog is
    // open and goes on afterwards; a stopped monitor stays stopped (setting the
    // flag regardless would light the quality bars of an idle monitor).
    const bool wasPolling = link_.PollingActive;
    link_.PollingActive = false;
    dialog_.Setta();
    waitWhileVisible();
    ctx_.model.SpeedText = speedOf(ctx_.svc.port.settings());
    setMainTitle(ctx_);
    link_.PollingActive = wasPolling;
}

bool SerialMenu::openFailure() {
    SerialPort& port = ctx_.svc.port;
    std::string reason;
    try {
        ctx_.line.open();
        if (ctx_.line.isOpen()) return true;  // it came back meanwhile
    } catch (const SerialError& e) {
        reason = e.what();
    }
    dialog_.showForOpenFailure(reason);
    waitWhileVisible();
    if (!dialog_.closedByOk()) return false;
    ctx_.model.SpeedText = speedOf(port.settings());
    setMainTitle(ctx_);
    return true;
}

}  // namespace gyrel
