#include "dialogs/wait_form.h"

#include <algorithm>

namespace gyrel {

void WaitForm::show(const std::string& label) {
    view_.label = label;
    view_.visible = true;
    Activate();
}

void WaitForm::setBarWidth(int width) {
    view_.barVisible = true;
    view_.barWidth = std::clamp(width, 0, view_.barFrameWidth);
}

void WaitForm::setProgress(long done, long total) {
    if (total <= 0) {
        setBarWidth(0);
        return;
    }
    const double part = static_cast<double>(std::clamp(done, 0L, total)) / static_cast<double>(total);
    setBarWidth(static_cast<int>(part * view_.barFrameWidth));
}

void WaitForm::Activate() { ctx_.CancelRequested = false; }

void WaitForm::Command1Click() { ctx_.CancelRequested = true; }

void WaitForm::closedByUser() {
    ctx_.CancelRequested = true;
    view_.visible = false;
}

}  // namespace gyrel
