#include "device/editor_transfers.h"

#include "editor/colours.h"
#include "editor/editor_files.h"

namespace gyrel {

EditorTransfers::EditorTransfers(Context& ctx, SerialLink& link, Editor& editor)
    : env{ctx, link, editor.st, {}, {}}, origin(ctx, link, editor.st.wait), editor_(editor) {
    EditorProcs& p = env.procs;
    p.LeggiLav = [&editor](int code) { return editor.leggiLav(code); };
    p.Leggi712 = [&editor] { editor.leggi712(); };
    p.AggTab = [&editor](int row) { editor.AggTab(row); };
    p.AggColori = [&editor](int mode) { AggColori(editor.st, mode, editor.ctx.model.info().programFontSize); };
    p.AggBox = [&editor] { editor.AggBox(); };
    p.CheckModif = [&editor](int mode) { return editor.CheckModif(mode); };
    wireSlotPanel(env.slots, editor.multi);
}

void EditorTransfers::upload() {
    const std::string before = editor_.st.ProgBox;
    up.Menuencoder(editor_.view.Text1);
    if (!editor_.st.SelezMulti && editor_.st.ProgBox != before) mirrorWorkFile(editor_.ctx.svc.fs, editor_.st.ProgBox);
}

}  // namespace gyrel
