#pragma once
#include "app/context.h"

namespace gyrel {

// "SW KRT71 Rev " and the version of the build (project(VERSION) in CMakeLists.txt).
extern const char* const kVersionText;

// The about box creditform, also the start-up splash. Its state is ctx.about.
class CreditForm {
public:
    explicit CreditForm(Context& ctx) : ctx_(ctx) {}

    // Writes the version text; done before every showing.
    void aarelease();
    // Loads the box on first use (contact text) and shows it.
    void show();
    void hide() { ctx_.about.visible = false; }
    void Command1Click() { hide(); }  // OK

    static const char* contactText();

private:
    Context& ctx_;
};

}  // namespace gyrel
