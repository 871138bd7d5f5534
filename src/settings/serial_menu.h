#pragma once
#include <string>

#include "app/context.h"
#include "link/serial_link.h"
#include "settings/set_seriale.h"

namespace gyrel {

// The main window's side of the serial settings dialog: the "Serial line" menu
// item, and the dialog offered when the port cannot be opened.
class SerialMenu {
public:
    SerialMenu(Context& ctx, SerialLink& link, SetSeriale& dialog) : ctx_(ctx), link_(link), dialog_(dialog) {}

    // Polling pauses while the dialog is open; afterwards the speed and the
    // title follow the port's settings.
    void SerialeClick();

    // The port could not be opened: the dialog is shown with the reason. true
    // when the operator confirmed a choice (try again), false when they gave up.
    bool openFailure();

    // How often the dialog's visibility is looked at while waiting for it.
    static constexpr int kPollMs = 10;

private:
    void waitWhileVisible();

    Context& ctx_;
    SerialLink& link_;
    SetSeriale& dialog_;
};

// The speed part of a Settings text: the text before its first comma.
std::string speedOf(const std::string& settings);

}  // namespace gyrel
