#include "dialogs/filt_form.h"

namespace gyrel {

const std::array<FiltForm::Option, 3>& FiltForm::options() {
    static const std::array<Option, 3> kOptions = {{{100, " x 100"}, {10, " x 10"}, {1, " x   1"}}};
    return kOptions;
}

void FiltForm::show() {
    // Selected again at every showing: a model change may have set the factor
    // since the dialog was last open, and the dialog must show what is in force.
    ctx_.filter.selected = 0;
    for (const Option& o : options())
        if (o.index == ctx_.model.RxTimeoutFactor) ctx_.filter.selected = o.index;
    ctx_.filter.visible = true;
}

void FiltForm::optionClick(int index) {
    for (const Option& o : options()) {
        if (o.index != index) continue;
        ctx_.model.RxTimeoutFactor = index;
        ctx_.filter.selected = index;
    }
}

}  // namespace gyrel
