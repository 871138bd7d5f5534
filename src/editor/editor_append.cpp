// The V712 program blocks: the row boxes appended to the program text as the
// block of the program in Text1, and the text read back into the row boxes.
#include "editor/editor_files.h"
#include "editor/editor_window.h"
#include "editor/pulsappend.h"

namespace gyrel {

void Editor::PulsAppend(int index) {
    if (index == 1) {
        leggi712();
        AggFrame();
        notify();
        return;
    }
    if (view.Text1.empty()) return;
    RowBoxes rows;
    rows.ofs = view.TxtOFS;
    rows.con = view.TxtCON;
    rows.cof = view.TxtCOF;
    std::vector<std::string> warnings;
    const std::string text = appendProgramBlock(st.ProgBox, view.Text1, ctx.msg(50), rows, &warnings);
    for (const std::string& w : warnings) ctx.svc.op.messageBox(w, MsgButtons::Ok, MsgIcon::None, "");
    st.ProgBox = text;
    // The editor box is reloaded from the work file, so the block goes there too.
    mirrorWorkFile(ctx.svc.fs, st.ProgBox);
    notify();
}

}  // namespace gyrel
