#pragma once
#include <string>
#include <vector>

#include "app/context.h"

namespace gyrel {

// The procedures that apply a device model: the model globals, the port speed,
// the main window's displays and the editor's panels and menus. Each is a fixed
// sequence of steps; when the operator declines to drop unsaved work on a model
// change, the steps before that question stay applied and the rest are skipped.
class ModelConfig {
public:
    explicit ModelConfig(Context& ctx) : ctx_(ctx) {}

    // Applies the stored ModelType; "Px71", "NORM" and anything unknown become "NORM".
    void PreConf();
    void Configura712();
    void Configura820AX();
    void Configura820HX();
    void ConfiguraKMT();
    void ConfiguraPx71();
    // old != 0: "OLD", else "NORM". The two share one family: switching keeps the text.
    void ConfiguraSingolo(int old);

    // When set, the name of every step is appended as it runs (for checking orders):
    // "S" speed, "T" turn displays, "Z" sizes, "F" font, "M" marks, "C" change,
    // "N" number base, "E" extension, "R" receive factor, "L" language, "U" menus,
    // "W" panels, "K" name, "A" reload, "D" display; "LastOutputIndex", "MaxPosition",
    // "StepsPerTurn" where a procedure sets a size on its own.
    std::vector<std::string>* trace = nullptr;

private:
    struct Run;
    void configureMultiTurn(const char* code);
    Context& ctx_;
};

}  // namespace gyrel
