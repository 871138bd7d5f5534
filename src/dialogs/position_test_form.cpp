#include "dialogs/position_test_form.h"

namespace gyrel {

void PositionTestForm::load() {
    Init();
    Abilita(false);
    ctx_.posTest.TxtPassword.clear();
    ctx_.posTest.loaded = true;
}

void PositionTestForm::show() {
    if (!ctx_.posTest.loaded) load();
    ctx_.posTest.visible = true;
}

void PositionTestForm::close() {
    ctx_.posTest.visible = false;
    ctx_.posTest.loaded = false;
    ctx_.posTest.unlocked = false;
    ctx_.main.testEncoderChecked = false;
}

void PositionTestForm::Init() {
    PositionTestView& v = ctx_.posTest;
    for (auto& line : v.Label1) line.clear();
    v.Label6.clear();
    v.LblMax = "0";
    v.LblMin = "0";
    v.TxtPrimi = ctx_.settings.Primi;
    v.TxtSuccessivi = ctx_.settings.Success;
    v.Label5.clear();
}

void PositionTestForm::TxtPasswordKeyPress(int keyCode) {
    if (keyCode == 13 && ctx_.posTest.TxtPassword == kPassword) Abilita(true);
}

void PositionTestForm::TxtPrimiChange(const std::string& text) {
    ctx_.posTest.TxtPrimi = text;
    ctx_.settings.Primi = text;
}

void PositionTestForm::TxtSuccessiviChange(const std::string& text) {
    ctx_.posTest.TxtSuccessivi = text;
    ctx_.settings.Success = text;
}

}  // namespace gyrel
