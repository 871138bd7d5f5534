#pragma once
#include <array>

#include "app/context.h"

namespace gyrel {

// The receive time-out dialog Filtform ("Rx Timeout"): three options whose
// indices are the factors themselves; a click takes effect at once.
class FiltForm {
public:
    static constexpr const char* kTitle = "Rx Timeout";
    struct Option {
        int index;  // the factor
        const char* caption;
    };
    static const std::array<Option, 3>& options();

    explicit FiltForm(Context& ctx) : ctx_(ctx) {}

    // Shows the dialog with the option of the factor in force selected (none
    // when the factor has no option).
    void show();
    void hide() { ctx_.filter.visible = false; }
    void optionClick(int index);

private:
    Context& ctx_;
};

}  // namespace gyrel
