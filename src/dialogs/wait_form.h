#pragma once
#include <string>

#include "app/context.h"
#include "editor/editor_state.h"
#include "lang/window_texts.h"

namespace gyrel {

// The progress window WaitForm. Whoever shows it sets its texts and bar and tests
// ctx.CancelRequested in its loop; the window itself only raises and clears that flag.
class WaitForm {
public:
    static constexpr const char* kDesignCaption = "Graphic Mode";
    static constexpr const char* kDesignLabel = "Update Graphics .....";

    WaitForm(Context& ctx, WaitView& view) : ctx_(ctx), view_(view) {}

    // Shows the window with a label; showing makes it the active window.
    void show(const std::string& label);
    void hide() { view_.visible = false; }
    void setCaption(const std::string& caption) { view_.caption = caption; }
    void setLabel(const std::string& label) { view_.label = label; }
    // BarraElabora: width in twips, kept within its frame.
    void setBarWidth(int width);
    // BarraElabora for done of total steps.
    void setProgress(long done, long total);

    // Window events.
    void Activate();        // became the active window: a cancel left from before is forgotten
    void Command1Click();   // "Cancel"
    void closedByUser();    // the close box counts as Cancel

    // The texts of the count and the outcome, in the current language.
    const WindowTexts& texts() const { return windowTextsFor(ctx_.LanguageCode); }

private:
    Context& ctx_;
    WaitView& view_;
};

}  // namespace gyrel
