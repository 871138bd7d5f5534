#include "device/model_config.h"
#include "editor/editor_files.h"
#include "editor/editor_window.h"
#include "editor/offsets_file.h"
#include "platform/working_folder.h"

namespace gyrel {

int Editor::CheckModif(int mode) {
    FileSystem& fs = ctx.svc.fs;
    if (st.ProgramFilePath.empty() || !fs.fileExists(st.ProgramFilePath)) return AnswerYes;
    std::string saved;
    try {
        saved = fs.readAll(st.ProgramFilePath);
    } catch (const FileError&) {
        return AnswerYes;  // nothing readable to compare against
    }
    Pausa(300);
    st.ModifiedFlag = false;
    if (st.ProgBox.empty() || st.ProgBox == saved) return AnswerYes;

    mirrorWorkFile(fs, st.ProgBox);
    st.ModifiedFlag = true;
    ctx.svc.op.beep();
    const bool question = mode == 1 || mode == 2;
    const int answer = ctx.svc.op.messageBox(checkModifText(*ctx.texts, mode),
                                             question ? MsgButtons::YesNo : MsgButtons::Ok,
                                             question ? MsgIcon::Question : MsgIcon::None, st.ProgramFilePath);
    if (mode == 1 && answer == AnswerYes) st.ModifiedFlag = false;
    AggBox();
    return answer;
}

void Editor::SalvaFoglio() {
    FileSystem& fs = ctx.svc.fs;
    const auto chosen = ctx.svc.op.saveFileDialog(
        {"", programFileFilter(ctx.model.FileExtension), st.ProgramFilePath});
    if (!chosen) return;
    if (!chosen->empty()) {
        try {
            writeWorkFile(fs, st.ProgBox);
            // Written beside the old copy and swapped in, so a failure leaves the old file whole.
            fs.replaceFile(*chosen, st.ProgBox);
        } catch (const FileError& e) {
            ctx.svc.op.messageBox(e.what(), MsgButtons::Ok, MsgIcon::Exclamation, *chosen);
            AggBox();
            return;
        }
        st.ProgramFilePath = *chosen;
        st.ModifiedFlag = false;
        if (!st.ProgBox.empty() && st.ProgBox.back() != '\n') {
            appendWhole(fs, WorkFilePath(), "\r\n");
            st.ProgBox = readWorkFile(fs);
        }
    }
    AggBox();
}

void Editor::RichiamaFoglio() {
    FileSystem& fs = ctx.svc.fs;
    const auto chosen = ctx.svc.op.openFileDialog(
        {"", programFileFilter(ctx.model.FileExtension), st.ProgramFilePath});
    if (!chosen) return;
    if (chosen->empty()) {
        AggBox();
        ctx.svc.op.messageBox("ERROR               ", MsgButtons::Ok, MsgIcon::Exclamation, "");
        return;
    }
    try {
        if (!fs.fileExists(*chosen)) fs.createTextFile(*chosen);
        if (!fs.fileExists(WorkFilePath())) fs.createTextFile(WorkFilePath());
        ctx.svc.clock.pumpEvents();
        fs.copyFile(*chosen, WorkFilePath());  // swapped in whole: a failure keeps the old text
    } catch (const FileError& e) {
        ctx.svc.op.messageBox(e.what(), MsgButtons::Ok, MsgIcon::Exclamation, *chosen);
        return;  // the editor keeps its text
    }
    st.ProgramFilePath = *chosen;
    ctx.settings.PercorsoTxt = st.ProgramFilePath;
    st.ModifiedFlag = false;
    AggBox();
}

void Editor::MenuLoadProgram() {
    if (CheckModif(1) == AnswerNo) return;
    const std::string& model = ctx.model.ModelType;
    if (model == "V712") {
        RichiamaFoglio();
        leggi712();
        AggFrame();
        return;
    }
    // The single-program view is set again for the single-turn models; "Px71" keeps
    // its own configuration (setting the single view would switch the model).
    if (model != "V820HX" && model != "V820AX" && model != "KMT71" && model != "Px71")
        ModelConfig(ctx).ConfiguraSingolo(ctx.model.ProgramNumberOffset);
    RichiamaFoglio();
    st.Check1 = true;
    leggiLav(16);
}

void Editor::queryUnload() {
    // The shutdown asks the editor to close and the window system then closes its
    // window as well: the operator hears about unsaved changes once.
    if (closeAsked_) return;
    closeAsked_ = true;
    ctx.EditorBusy = false;
    saveOffsQuietly();
    st.graphVisible = false;
    view.MenEnableGraphicChecked = false;
    CheckModif(3);
    ctx.settings.PercorsoTxt = st.ProgramFilePath;
    if (chiudi_com) chiudi_com(8);
}

}  // namespace gyrel
