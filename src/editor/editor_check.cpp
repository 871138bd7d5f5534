#include "editor/editor_check.h"

#include <cmath>

#include "editor/colours.h"
#include "editor/editor_files.h"
#include "editor/leggi712.h"
#include "editor/offsets.h"
#include "editor/prepare.h"

namespace gyrel {

namespace {

int programFontSize(const Context& ctx) { return ctx.model.info().programFontSize; }

std::function<std::string(int)> messages(const Context& ctx) {
    return [&ctx](int i) { return std::string(ctx.msg(i)); };
}

StyledRange styled(int start, int length, Rgb colour, int size, bool bold, bool italic) {
    StyledRange r;
    r.start = start;
    r.length = length;
    r.colour = colour;
    r.fontSize = size;
    r.bold = bold;
    r.italic = italic;
    return r;
}

bool hasSpans(const EditorState& ed, int row) {
    return row >= 0 && row < static_cast<int>(ed.CamRowSpans.size()) &&
           ed.CamRowSpans[static_cast<std::size_t>(row)].start[2] + ed.CamRowSpans[static_cast<std::size_t>(row)].length[2] <=
               static_cast<int>(ed.ProgBox.size());
}

// The marks of a data control: always rows accepted, and the row of an error.
void markText(EditorEnv& e, const PrepareOutcome& outcome) {
    EditorState& ed = e.ed;
    AggColori(ed, 1, programFontSize(e.ctx));
    for (const AlwaysMark& m : outcome.marks) {
        for (int r = 0; r < ed.CamRowCount; ++r) {
            const auto& row = ed.CamRows[static_cast<std::size_t>(r)];
            if (row[0] != m.output || row[1] != m.value || row[2] != m.value || !hasSpans(ed, r)) continue;
            const RowSpans& s = ed.CamRowSpans[static_cast<std::size_t>(r)];
            paintRange(ed.ProgBoxStyles, styled(s.start[1], s.length[1], {0, 200, 120}, 12, false, true));
            paintRange(ed.ProgBoxStyles, styled(s.start[2], s.length[2], {0, 200, 120}, 12, false, true));
            paintRange(ed.ProgBoxStyles,
                       styled(s.start[0], s.length[0], {250, 0, 180}, programFontSize(e.ctx), true, false));
        }
    }
    if (outcome.failed && hasSpans(ed, outcome.failure.reportedRow)) {
        const RowSpans& s = ed.CamRowSpans[static_cast<std::size_t>(outcome.failure.reportedRow)];
        paintRange(ed.ProgBoxStyles, styled(s.start[1], s.length[1], {255, 0, 0}, 12, false, false));
        paintRange(ed.ProgBoxStyles, styled(s.start[2], s.length[2], {200, 40, 240}, 12, false, false));
    }
}

// The progress bar of a check: 6200 wide, redrawn (and events let through)
// only when it has grown by more than 25.
ProgressFn progressBar(EditorEnv& e) {
    return [&e](const char* label, double fraction) {
        WaitView& w = e.ed.wait;
        if (w.label != label) {
            w.label = label;
            if (w.label == "Data Control") {
                w.barFrameWidth = 6200;
                w.barWidth = 0;
            }
        }
        const int width = static_cast<int>(std::lround(fraction * 6200));
        if (width > w.barWidth + 25) {
            w.barWidth = width;
            e.ctx.svc.clock.pumpEvents();
        }
    };
}

}  // namespace

ParseMessage parseMessage(const Context& ctx, const ParseError& error) {
    ParseMessage m;
    m.title = ctx.msg(error.word);
    m.prompt = std::string(ctx.msg(8)) + "  ' " + error.token + " '";
    if (error.tooManyRows) m.prompt += "\r\nMAX NUM of ROWS = 2001 !!!";
    return m;
}

std::string tooMuchCamsPrompt(double n) {
    return "Programmed " + std::to_string(static_cast<long long>(n)) + " camms\r\nMAX NUM of CAMS = 120 !!!";
}

bool PreparaDati(EditorEnv& e, int mode) {
    EditorState& ed = e.ed;
    if (ed.PreparingBusy) return false;
    ed.PreparingBusy = true;
    ed.Command2Enabled = false;
    double count = 0;
    if (e.ctx.model.ModelType != "V712" && ed.CamRowCount >= 1) {
        const PrepareOutcome outcome =
            prepareCamTable(ed.CamRows.data(), ed.CamRowCount, ed.ActiveOffsets, ed.check2, e.ctx.model.MaxPosition,
                            e.ctx.model.LastOutputIndex, mode, ed.camTable, progressBar(e));
        for (int i = 0; i < 16; ++i)
            if (outcome.alwaysOutputs & (1u << i)) setOffsetColours(ed, i, false);
        if (mode != 1) markText(e, outcome);
        ed.FailedRow = outcome.failed ? outcome.failure.reportedRow : -1;
        if (outcome.failed) {
            ed.CheckArmed = false;
            const CheckMessage m = checkMessage(messages(e.ctx), outcome.failure, ed.CamRows.data(), ed.ActiveOffsets,
                                                e.ctx.model.MaxPosition);
            e.ctx.svc.op.messageBox(m.prompt, MsgButtons::Ok, MsgIcon::Exclamation, m.title);
            ed.ProgBoxFocus = true;  // the caret stays where the operator left it
            ed.ProgBoxSelect = false;
            ed.PreparingBusy = false;
            return true;
        }
        if (outcome.tooManyCams() && !ed.CheckBeforeSend)
            e.ctx.svc.op.messageBox(tooMuchCamsPrompt(outcome.camCount), MsgButtons::Ok, MsgIcon::Stop,
                                    kTooMuchCamsTitle);
        count = outcome.camCount;
    }
    if (e.hooks.redrawGraphics) e.hooks.redrawGraphics();
    ed.wait.visible = false;
    ed.camTable.CamCount = count;
    ed.PreparingBusy = false;
    ed.LastCheckedText = ed.ProgBox;
    ed.Command2Enabled = true;
    return false;
}

bool TabelleOffset(EditorEnv& e, int mode) {
    EditorState& ed = e.ed;
    takeOffsets(ed);
    if (!ed.ResizeSeen) return false;
    WaitView& w = ed.wait;
    w.visible = true;
    w.caption = "Syntax analyzing";
    w.label.clear();
    w.textVisible = false;
    w.buttonVisible = false;
    w.barVisible = true;
    const bool failed = PreparaDati(e, mode);
    w.barVisible = false;
    w.caption = "Graphic Mode";
    w.textVisible = true;
    w.buttonVisible = true;
    return failed;
}

bool LeggiLav(EditorEnv& e, int& slot) {
    EditorState& ed = e.ed;
    if (ed.ParsingBusy) return false;
    ed.ParsingBusy = true;
    if (ed.graphVisible) {
        ed.wait.visible = true;
        ed.wait.label = "Update Graphics .....";
    }
    if (e.hooks.saveOffs) e.hooks.saveOffs();
    mirrorWorkFile(e.ctx.svc.fs, e.ed.ProgBox);

    ParseResult parsed;
    if (e.ctx.model.ModelType == "V712") {
        ed.ParseOk = true;
    } else {
        ed.CheckArmed = true;
        ed.ParseOk = true;
        // A last line without its line end is parsed as the box will hold it
        // once the line end is appended, so the row counts in this very run:
        // otherwise a download right after loading would send the program
        // without its last row.
        const bool endsWithLineFeed = !ed.ProgBox.empty() && ed.ProgBox.back() == '\n';
        const std::string completed = ed.ProgBox.empty() || endsWithLineFeed ? ed.ProgBox : ed.ProgBox + "\r\n";
        parsed = parseCamText(completed, e.ctx.model.MaxPosition, ed);
        ed.ParseOk = parsed.ok;
        if ((parsed.ok || parsed.error.inOffsets) && completed.size() != ed.ProgBox.size()) {
            ed.ProgBox = completed;
            mirrorWorkFile(e.ctx.svc.fs, e.ed.ProgBox);
            ed.FullRecolour = 1;  // the box was loaded again
        }
    }
    ed.ParsingBusy = false;
    ed.EditedSinceCheck = false;

    if (!ed.ParseOk) {
        ed.CheckArmed = false;
        ed.wait.visible = false;
        const ParseMessage m = parseMessage(e.ctx, parsed.error);
        e.ctx.svc.op.messageBox(m.prompt, MsgButtons::Ok, MsgIcon::Exclamation, m.title);
        ed.ProgBoxFocus = true;
        ed.ProgBoxSelect = true;
        ed.SelStart = parsed.error.tokenStart;
        ed.SelLength = static_cast<int>(parsed.error.token.size());
        return false;
    }

    AggColori(ed, ed.FullRecolour, programFontSize(e.ctx));
    bool failed = false;
    if (slot >= 0 && slot <= 16) {
        if (ed.ProgBox != ed.SlotTexts[static_cast<std::size_t>(slot)]) {
            ed.ButtVerificaPrgEnabled = true;
            failed = TabelleOffset(e, 1);
        } else {
            ed.ButtVerificaPrgEnabled = false;
        }
    } else if (slot >= 80 && slot <= 96) {
        // What is sent is always prepared afresh, offsets and data control
        // included: a table left by a quick check (no offsets) or by an
        // earlier offsets panel must never reach the device.
        slot -= 80;
        ed.CheckBeforeSend = true;
        failed = TabelleOffset(e, 0);
        ed.CheckBeforeSend = false;
        if (!failed) ed.SlotTexts[static_cast<std::size_t>(slot)] = ed.ProgBox;
        ed.ButtVerificaPrgEnabled = false;
    } else if (slot == 99) {
        failed = TabelleOffset(e, 0);
        if (!failed) {
            ed.ButtVerificaPrgEnabled = false;
            if (!ed.SelezMulti || ed.CurrentSlot < 0 || ed.CurrentSlot > 16) ed.CurrentSlot = 16;
            ed.SlotTexts[static_cast<std::size_t>(ed.CurrentSlot)] = ed.ProgBox;
        }
    }
    return !failed;
}

void Leggi712(EditorEnv& e) {
    EditorState& ed = e.ed;
    if (ed.ParsingBusy) return;
    ed.ParsingBusy = true;
    mirrorWorkFile(e.ctx.svc.fs, e.ed.ProgBox);
    AggColori(ed, 1, programFontSize(e.ctx));
    readHeaderParams(ed.ProgBox, ed);
    ed.ParsingBusy = false;
    ed.ButtVerificaPrgEnabled = false;
    ed.EditedSinceCheck = false;
    if (e.hooks.aggFrame) e.hooks.aggFrame();
    else if (e.hooks.redrawGraphics) e.hooks.redrawGraphics();
}

void verifyProgram(EditorEnv& e) {
    if (e.ctx.model.ModelType == "V712") return Leggi712(e);
    int slot = 99;
    LeggiLav(e, slot);
}

}  // namespace gyrel
