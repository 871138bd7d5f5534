#include "origin/origin_dialog.h"

#include <cmath>

#include "device/tx712_val.h"
#include "device/txdati.h"
#include "editor/cam_table.h"
#include "link/line_owner.h"
#include "link/serial_link.h"

namespace gyrel {

namespace {

void showWait(Context& ctx, WaitView& wait) {
    if (!wait.visible) ctx.CancelRequested = false;
    wait.textVisible = true;
    wait.buttonVisible = true;
    wait.label = "Preset & Origin .....";
    wait.visible = true;
    ctx.svc.clock.pumpEvents();
}

std::uint32_t le32(const Bytes& r, int at) {
    return static_cast<std::uint32_t>(r[at]) | static_cast<std::uint32_t>(r[at + 1]) << 8 |
           static_cast<std::uint32_t>(r[at + 2]) << 16 | static_cast<std::uint32_t>(r[at + 3]) << 24;
}

}  // namespace

void OriginDialog::Pausa(int ms) { ctx_.svc.clock.waitMs(2 * pausaHalf(ms)); }

bool OriginDialog::TxOrigine(int program, int mode) {
    if (!visible) return false;
    if (mode == 1) wait_.label = "Prog.  " + std::to_string(program + 1);
    if (!link_.apri_com(UserOrigin)) return false;
    LineOwner& line = ctx_.line;
    try {
        line.emptyBoth();
        line.setMode(InputMode::Binary);
        OriginFrame[0] = 129;
        OriginFrame[1] = mode;
        OriginFrame[2] = program;
        int sum = 0;
        for (int i = 0; i <= 17 * mode; ++i) sum += OriginFrame[static_cast<std::size_t>(i)];
        OriginFrame[18] = sum % 256;
        ctx_.svc.clock.pumpEvents();
        wait_.text.clear();
        for (int i = 0; i <= 16 * mode + 2; ++i) {
            line.send(static_cast<std::uint8_t>(OriginFrame[static_cast<std::size_t>(i)]));
            wait_.text += std::to_string(OriginFrame[static_cast<std::size_t>(i)]) + " ";
        }
    } catch (const SerialError&) {
        return false;
    }
    return true;
}

bool OriginDialog::awaitBytes(int need) {
    int waits = 0;
    try {
        do {
            Pausa(100);
            wait_.text += ".";
            ++waits;
        } while (ctx_.line.waiting() < need && waits < 11);
    } catch (const SerialError&) {
        return false;
    }
    return waits < 11;
}

void OriginDialog::PulsRx() {
    // The buttons are off while a transfer runs; a click that still comes is refused.
    if (link_.transferRunning()) return;
    const LineOwner::Claim claim = ctx_.line.claim("origin exchange");
    if (!claim) return;
    link_.awaitStatusReply();
    ctx_.CancelRequested = false;
    for (auto& r : rows) r.presetBack = r.originBack = kOriginIdle;
    OriginFrame.fill(0);
    confirmed.fill(false);
    showWait(ctx_, wait_);
    wait_.progress.begin(16, ctx_.svc.clock.nowMs(), true);
    bool lineLost = false;
    const double max = ctx_.model.MaxPosition;
    for (int i = 0; i < 16 && !ctx_.CancelRequested; ++i) {
        wait_.progress.step(i, ctx_.svc.clock.nowMs());
        OriginRow& row = rows[static_cast<std::size_t>(i)];
        wait_.caption = ".. Trasmitting .....";
        row.presetBack = row.originBack = kOriginPending;
        row.TxtPreset.clear();
        if (ChkOrig) row.TxtOrigin.clear();
        notify();
        const bool sent = TxOrigine(i, 0);
        wait_.caption = "... Receiving .....";
        if (!sent || !ctx_.line.isOpen()) {  // no port: nothing more can be read
            lineLost = true;
            break;
        }
        if (!awaitBytes(19)) continue;
        Bytes r;
        try {
            r = ctx_.line.take();
        } catch (const SerialError&) {
            continue;
        }
        if (r.size() < 19) continue;
        int sum = 0;
        for (int k = 0; k <= 17; ++k) {
            sum += r[static_cast<std::size_t>(k)];
            wait_.text += std::to_string(r[static_cast<std::size_t>(k)]) + " ";
        }
        if (r[0] != 129 || r[2] != i) continue;
        const std::uint32_t preset = le32(r, 6);
        const std::uint32_t origin = le32(r, 10);
        row.TxtPreset = std::to_string(preset);
        row.TxtOrigin = std::to_string(origin);
        notify();
        if (sum % 256 != r[18]) continue;
        if (origin <= max) row.originBack = kOriginConfirmed;
        else row.TxtOrigin = kOriginPlaceholder;
        if (preset <= max) row.presetBack = kOriginConfirmed;
        else row.TxtPreset = kOriginPlaceholder;
        confirmed[static_cast<std::size_t>(i)] = true;
        notify();
    }
    endWait(16, lineLost);
    wait_.visible = false;
    // The read is over; the port is not kept for a write that may never come.
    link_.chiudi_com(UserOrigin);
    notify();
}

bool OriginDialog::refuseInvalid() {
    for (int i = 0; i < 16; ++i) {
        OriginRow& row = rows[static_cast<std::size_t>(i)];
        auto bad = [](const std::string& t) {
            return !t.empty() && t != kOriginPlaceholder && !isPlainUnsigned(t);
        };
        const bool presetBad = bad(row.TxtPreset);
        const bool originBad = ChkOrig && bad(row.TxtOrigin);
        if (!presetBad && !originBad) continue;
        const std::string& text = presetBad ? row.TxtPreset : row.TxtOrigin;
        if (presetBad) row.presetBack = kOriginTooHigh;
        else row.originBack = kOriginTooHigh;
        notify();
        ctx_.svc.op.messageBox(std::string(ctx_.msg(8)) + "  ' " + text + " '\r\n" + ctx_.msg(50) +
                                   std::to_string(i + 1) + "\r\n\r\nNothing was sent.",
                               MsgButtons::Ok, MsgIcon::Exclamation,
                               presetBad ? ctx_.ui(29) : ctx_.ui(30));
        return true;
    }
    return false;
}

void OriginDialog::PulsTx() {
    if (link_.transferRunning()) return;
    const LineOwner::Claim claim = ctx_.line.claim("origin exchange");
    if (!claim) return;
    link_.awaitStatusReply();
    confirmed.fill(false);
    showWait(ctx_, wait_);
    ctx_.CancelRequested = false;
    OriginFrame.fill(0);
    for (auto& r : rows) r.presetBack = r.originBack = kOriginIdle;
    // A value that cannot go into four unsigned bytes stops the write before any program is sent.
    if (refuseInvalid()) {
        wait_.visible = false;
        return;
    }
    const double max = ctx_.model.MaxPosition;
    wait_.progress.begin(16, ctx_.svc.clock.nowMs());
    int attempted = 0;
    bool lineLost = false;
    for (int i = 0; i < 16; ++i) {
        wait_.progress.step(i, ctx_.svc.clock.nowMs());
        OriginRow& row = rows[static_cast<std::size_t>(i)];
        if (row.TxtPreset == kOriginPlaceholder) row.TxtPreset.clear();
        if (ChkOrig && row.TxtOrigin == kOriginPlaceholder) row.TxtOrigin.clear();
        const std::string p = row.TxtPreset;
        const std::string o = row.TxtOrigin;
        if (p.empty() || (ChkOrig && o.empty())) continue;
        if (Val(p) > max) {
            row.presetBack = kOriginTooHigh;
            wait_.visible = false;
            notify();
            ctx_.svc.op.messageBox("Too High", MsgButtons::Ok, MsgIcon::None, p);
            ctx_.CancelRequested = true;
        }
        if (ctx_.CancelRequested) break;
        double v = Val(p);
        const auto presetBytes = SplitToBytes(v);
        for (int b = 0; b < 4; ++b) OriginFrame[static_cast<std::size_t>(6 + b)] = presetBytes[static_cast<std::size_t>(b)];
        row.presetBack = kOriginPending;
        if (ChkOrig) {
            if (Val(o) > max) {
                row.originBack = kOriginTooHigh;
                wait_.visible = false;
                notify();
                ctx_.svc.op.messageBox("Too High", MsgButtons::Ok, MsgIcon::None, o);
                ctx_.CancelRequested = true;
                break;
            }
            double w = Val(o);
            const auto originBytes = SplitToBytes(w);
            for (int b = 0; b < 4; ++b)
                OriginFrame[static_cast<std::size_t>(10 + b)] = originBytes[static_cast<std::size_t>(b)];
            row.originBack = kOriginPending;
        }
        notify();
        ++attempted;
        if (!TxOrigine(i, 1)) {
            lineLost = true;
            break;
        }
        if (!ctx_.line.isOpen() || !awaitBytes(1)) continue;
        Bytes r;
        try {
            r = ctx_.line.take();
        } catch (const SerialError&) {
            continue;
        }
        if (!r.empty() && r[0] == 255) {
            wait_.text += "   -  OK";
            row.presetBack = row.originBack = kOriginConfirmed;
            confirmed[static_cast<std::size_t>(i)] = true;
            notify();
        }
    }
    link_.chiudi_com(UserOrigin);
    endWait(attempted, lineLost);
    wait_.visible = false;
    notify();
}

// The progress window ends with how the exchange went: every program that was
// asked for confirmed, or why not.
void OriginDialog::endWait(int asked, bool lineLost) {
    const WindowTexts& t = windowTextsFor(ctx_.LanguageCode);
    const double now = ctx_.svc.clock.nowMs();
    int done = 0;
    for (bool c : confirmed) done += c ? 1 : 0;
    wait_.progress.step(wait_.progress.total, now);
    if (ctx_.CancelRequested && done < asked)
        wait_.progress.finish(ProgressOutcome::Cancelled, "", now);
    else if (lineLost)
        wait_.progress.finish(ProgressOutcome::Failed, t.noPort, now);
    else if (done < asked)
        wait_.progress.finish(ProgressOutcome::Failed, t.noReply, now);
    else
        wait_.progress.finish(ProgressOutcome::Done, "", now);
}

void OriginDialog::PulsClonaPres() {
    const std::string title = std::string(ctx_.ui(28)) + " " + ctx_.ui(29);
    if (ctx_.svc.op.messageBox(std::string(ctx_.msg(33)) + "\r\n\r\n" + ctx_.msg(25), MsgButtons::YesNo,
                               MsgIcon::None, title) != AnswerYes)
        return;
    for (int i = 1; i < 16; ++i) rows[static_cast<std::size_t>(i)].TxtPreset = rows[0].TxtPreset;
    notify();
}

void OriginDialog::PulsClonaOrig() {
    const std::string title = std::string(ctx_.ui(28)) + " " + ctx_.ui(30);
    if (ctx_.svc.op.messageBox(std::string(ctx_.msg(33)) + "\r\n\r\n" + ctx_.msg(25), MsgButtons::YesNo,
                               MsgIcon::None, title) != AnswerYes)
        return;
    for (int i = 1; i < 16; ++i) rows[static_cast<std::size_t>(i)].TxtOrigin = rows[0].TxtOrigin;
    notify();
}

void OriginDialog::presetEdited(int program, const std::string& text) {
    OriginRow& row = rows.at(static_cast<std::size_t>(program));
    row.TxtPreset = text;
    if (row.presetBack == kOriginConfirmed) row.presetBack = kOriginIdle;
    notify();
}

void OriginDialog::originEdited(int program, const std::string& text) {
    OriginRow& row = rows.at(static_cast<std::size_t>(program));
    row.TxtOrigin = text;
    if (row.originBack == kOriginConfirmed) row.originBack = kOriginIdle;
    notify();
}

void OriginDialog::ChkOrigClick(bool ticked) {
    ChkOrig = ticked;
    for (auto& r : rows) r.TxtOrigin = kOriginPlaceholder;
    notify();
}

}  // namespace gyrel
