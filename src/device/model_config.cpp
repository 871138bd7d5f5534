#include "device/model_config.h"

#include <cmath>

#include "app/main_title.h"
#include "platform/working_folder.h"

namespace gyrel {

// One run of a configuration procedure: the steps it is built from, each
// writing its part of the model's values.
struct ModelConfig::Run {
    Context& ctx;
    const ModelInfo& m;
    std::vector<std::string>* trace;

    void mark(const char* step) const {
        if (trace) trace->push_back(step);
    }

    // S: line speed, port settings and the title that shows them.
    void speed() const {
        mark("S");
        ctx.model.SpeedText = m.speed;
        try {
            ctx.svc.port.setSettings(ctx.model.SpeedText + ",n,8,1");
        } catch (const SerialError&) {
            // The port refuses the speed: the title still shows what was chosen and
            // the next opening of the port reports the problem.
        }
        setMainTitle(ctx);
    }

    // T: the turn count and position-in-turn displays.
    void turnTexts(const char* text) const {
        mark("T");
        ctx.main.LblGiri = text;
        ctx.main.LblGiro = text;
    }
    void turnVisible(bool shown) const {
        mark("T");
        ctx.main.turnDisplaysVisible = shown;
    }
    void turnShowEmpty() const {
        mark("T");
        ctx.main.turnDisplaysVisible = true;
        ctx.main.LblGiri.clear();
        ctx.main.LblGiro.clear();
    }
    void turnHideZero() const {
        mark("T");
        ctx.main.turnDisplaysVisible = false;
        ctx.main.LblGiri = "0";
        ctx.main.LblGiro = "0";
    }

    // Z and its parts.
    void lastOutput() const { ctx.model.LastOutputIndex = m.outputs - 1; }
    void maxPosition() const { ctx.model.MaxPosition = m.maxPosition; }
    void stepsPerTurn() const {
        ctx.model.StepsPerTurn = m.stepsPerTurn;
        // Kept consistent with the range even where the model sheet leaves it as
        // it was: the number of turns is what the range and the turn size give.
        ctx.model.TurnCount = (ctx.model.MaxPosition + 1) / ctx.model.StepsPerTurn;
    }
    void sizes() const {
        mark("Z");
        lastOutput();
        maxPosition();
        if (m.stepsPerTurn > 0) stepsPerTurn();
    }

    // F: the position display's font size.
    void font() const {
        mark("F");
        ctx.main.FinQuotaFontSize = m.positionFontSize;
    }

    // M: the 31 turn marks cut the position bar into 32 equal parts on the
    // model that counts 32 turns; hidden on every other.
    void marks() const {
        mark("M");
        ctx.main.turnMarksVisible = m.turnMarks;
        if (!m.turnMarks) return;
        const double part = ctx.main.barFrameWidth / 32.0;
        for (int i = 0; i < 31; ++i)
            ctx.main.turnMarkX[static_cast<std::size_t>(i)] =
                static_cast<int>(std::lround(ctx.main.barFrameLeft - 15 + part * (i + 1)));
    }

    // C: a change of model drops the editor's program after the operator agrees.
    // False when the operator declined: the procedure ends there.
    bool change(bool sameFamily, bool reload) const {
        mark("C");
        if (sameFamily) return true;
        const int answer = ctx.hooks.checkModif ? ctx.hooks.checkModif(1) : AnswerYes;
        if (answer == AnswerNo) return false;
        if (ctx.hooks.emptyEditor) ctx.hooks.emptyEditor();
        try {
            ctx.svc.fs.replaceFile(inWorkingFolder("lav.lav"), std::string());
        } catch (const FileError& e) {
            ctx.svc.op.messageBox(e.what(), MsgButtons::Ok, MsgIcon::Exclamation, "GYREL");
        }
        if (reload && ctx.hooks.aggBox) ctx.hooks.aggBox();
        return true;
    }

    void numberBase(int offset) const {
        mark("N");
        ctx.model.ProgramNumberOffset = offset;
    }
    void extension() const {
        mark("E");
        ctx.model.FileExtension = m.fileExtension;
    }
    void receiveFactor() const {
        mark("R");
        ctx.model.RxTimeoutFactor = m.rxTimeoutFactor;
    }
    void language() const {
        mark("L");
        ctx.applyLanguage(ctx.LanguageCode);
    }

    // U: the editor's menu entries offered for the model.
    void menus() const {
        mark("U");
        EditorLayout& e = ctx.editorLayout;
        e.menuOrigin = m.menuOrigin;
        e.menuLists = m.menuLists;
        e.menuUpload = m.menuUpload;
        e.menuDeskpl = m.menuDeskpl;
        e.menuGraph = m.menuGraph;
    }

    // W: the editor's panels and buttons.
    void panels() const {
        mark("W");
        EditorLayout& e = ctx.editorLayout;
        const bool is712 = std::string(m.code) == "V712";
        if (!is712) e.progBoxHeight = 5400;
        e.offsetsPanel = m.offsetsPanel;
        e.outputGrid712 = m.outputGrid712;
        e.multiFilePanel = false;
        if (is712) e.multiFileCaption = "Multiple Files ";
        e.appendButtons = m.appendButtons;
        e.selectorEnabled = true;
        e.multiFileBox = m.multiFileBox;
        e.multiFileChecked = false;
    }

    // K: the model code and its name on the main window.
    void name() const {
        mark("K");
        ctx.model.ModelType = m.code;
        ctx.main.Label4 = m.name;
        ctx.main.Label4Visible = true;
        ctx.main.Label4Colour = m.nameColour;
    }

    void reload() const {
        mark("A");
        if (ctx.hooks.aggBox) ctx.hooks.aggBox();
    }
    void display() const {
        mark("D");
        if (ctx.hooks.leggiDato) ctx.hooks.leggiDato();
    }
};

void ModelConfig::PreConf() {
    const std::string& t = ctx_.model.ModelType;
    if (t == "OLD") {
        ConfiguraSingolo(1);
    } else if (t == "V712") {
        Configura712();
    } else if (t == "V820AX") {
        Configura820AX();
    } else if (t == "V820HX") {
        Configura820HX();
    } else if (t == "KMT71") {
        ConfiguraKMT();
    } else {
        ctx_.model.ModelType = "NORM";
        ConfiguraSingolo(0);
    }
}

void ModelConfig::Configura712() {
    const Run r{ctx_, *findModel("V712"), trace};
    r.speed();
    r.turnTexts("0");
    r.mark("LastOutputIndex");
    r.lastOutput();
    r.turnVisible(false);
    if (!r.change(ctx_.model.ModelType == "V712", false)) return;
    r.extension();
    r.mark("MaxPosition");
    r.maxPosition();
    r.marks();
    r.numberBase(r.m.programNumberOffset);
    r.language();
    r.menus();
    r.font();
    r.receiveFactor();
    r.panels();
    r.name();
    r.reload();
    r.display();
}

void ModelConfig::Configura820AX() {
    const Run r{ctx_, *findModel("V820AX"), trace};
    r.speed();
    r.turnShowEmpty();
    r.extension();
    r.sizes();
    r.font();
    if (!r.change(ctx_.model.ModelType == "V820AX", false)) return;
    r.marks();
    r.numberBase(r.m.programNumberOffset);
    r.language();
    r.menus();
    r.receiveFactor();
    r.panels();
    r.name();
    r.reload();
    r.display();
}

void ModelConfig::configureMultiTurn(const char* code) {
    const Run r{ctx_, *findModel(code), trace};
    r.speed();
    r.turnShowEmpty();
    r.font();
    r.marks();
    r.receiveFactor();
    r.numberBase(r.m.programNumberOffset);
    r.extension();
    r.sizes();
    if (!r.change(ctx_.model.ModelType == code, false)) return;
    r.language();
    r.menus();
    r.panels();
    r.name();
    r.reload();
    r.display();
}

void ModelConfig::Configura820HX() { configureMultiTurn("V820HX"); }

void ModelConfig::ConfiguraKMT() { configureMultiTurn("KMT71"); }

void ModelConfig::ConfiguraPx71() {
    const Run r{ctx_, *findModel("Px71"), trace};
    r.speed();
    r.turnShowEmpty();
    r.mark("MaxPosition");
    r.maxPosition();
    r.lastOutput();
    r.font();
    r.extension();
    r.mark("StepsPerTurn");
    r.stepsPerTurn();
    if (!r.change(ctx_.model.ModelType == "Px71", false)) return;
    r.marks();
    r.numberBase(r.m.programNumberOffset);
    r.language();
    r.menus();
    r.receiveFactor();
    r.panels();
    r.name();
    r.reload();
    r.display();
}

void ModelConfig::ConfiguraSingolo(int old) {
    const Run r{ctx_, *findModel(old ? "OLD" : "NORM"), trace};
    const std::string& current = ctx_.model.ModelType;
    r.speed();
    r.sizes();
    r.font();
    r.turnHideZero();
    r.extension();
    if (!r.change(current == "NORM" || current == "OLD", true)) return;
    r.marks();
    r.numberBase(old ? 1 : 0);
    r.language();
    r.menus();
    r.name();
    r.receiveFactor();
    r.panels();
    r.display();
}

}  // namespace gyrel
