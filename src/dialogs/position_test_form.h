#pragma once
#include <string>

#include "app/context.h"

namespace gyrel {

// The position test window Form3 over ctx.posTest. Its results stay hidden
// behind the service password; the test itself runs regardless.
class PositionTestForm {
public:
    static constexpr const char* kTitle = "Position test";
    static constexpr const char* kPassword = "Tirn";

    explicit PositionTestForm(Context& ctx) : ctx_(ctx) {}

    // Makes the window visible, loading it (locked and cleared) when it is not loaded.
    void show();
    // Hidden by the menu: stays loaded as it is.
    void hide() { ctx_.posTest.visible = false; }
    // Closed by the operator: unloaded, and the position test stops.
    void close();

    void Abilita(bool unlocked) { ctx_.posTest.unlocked = unlocked; }
    void Init();

    // Window events.
    void TxtPasswordKeyPress(int keyCode);
    void Command1Click() { Init(); }  // "CLEAR ALL"
    void TxtPrimiChange(const std::string& text);
    void TxtSuccessiviChange(const std::string& text);

private:
    void load();
    Context& ctx_;
};

}  // namespace gyrel
