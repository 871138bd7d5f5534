#pragma once
#include <optional>

#include "app/context.h"
#include "link/serial_link.h"

namespace gyrel {

// The main window's start-up and shutdown: the splash, the port presets, the
// stored settings, the working folder, the stored model and language; and at
// the end the port released, the editor closed and the settings written.
class MainStartup {
public:
    MainStartup(Context& ctx, SerialLink& link) : ctx_(ctx), link_(link) {}

    // The main window's load handler; ends with ini_par.
    void load();
    // Second half of start-up: displays, folders, model, language, splash time.
    void ini_par();
    // Shutdown: releases the port, lets the editor close, writes the settings.
    void TerminaTutto();

    // Longest wait for the main window to report itself shown.
    static constexpr int kShowTimeoutMs = 5000;
    static constexpr int kSplashMs = 4000;

private:
    void applySettings();
    void createFolders();
    void gatherSettings();

    Context& ctx_;
    SerialLink& link_;
    // The stored port number when the port refused it at start-up (the adapter
    // was not plugged in); written back unchanged unless another port was chosen.
    std::optional<int> refusedPortNumber_;
    int portAfterRefusal_ = 0;
    bool terminated_ = false;
};

}  // namespace gyrel
