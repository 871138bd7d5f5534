#include "device/tx712.h"

#include "device/tx712_val.h"
#include "device/txdati.h"
#include "link/serial_link.h"

namespace gyrel {

void Text712::send(char ch) {
    try {
        env_.ctx.line.send(static_cast<std::uint8_t>(ch));
    } catch (const SerialError&) {
        lineUp_ = false;
    }
}

void Text712::collect() {
    try {
        LineOwner& line = env_.ctx.line;
        if (line.isOpen() && line.waiting() > 0) ReplyText += toString(line.take());
    } catch (const SerialError&) {
        lineUp_ = false;
    }
}

void Text712::beginDownload() {
    InComment = false;
    LineStarted = false;
    ReplyText.clear();
    linesAwaited = 0;
    rejectedLines = 0;
    lineUp_ = true;
    try {
        LineOwner& line = env_.ctx.line;
        line.emptyBoth();
        line.setMode(InputMode::Text);
    } catch (const SerialError&) {
        lineUp_ = false;
    }
    send('|');
    env_.ed.FinRisp.clear();
}

void Text712::awaitReply() {
    Context& ctx = env_.ctx;
    Clock& clock = ctx.svc.clock;
    ++linesAwaited;
    collect();
    const double end = clock.nowMs() + kReplyWaitMs;
    for (;;) {
        collect();
        env_.ed.wait.text = ReplyText;
        if (!ReplyText.empty() && ReplyText.back() == '>') break;
        if (ctx.CancelRequested || !lineUp_ || clock.nowMs() >= end) break;
        clock.waitMs(kReplyPollMs);
    }
    if (ReplyText.size() < 6) ReplyText += "xxxxxx";
    if (ReplyText.compare(ReplyText.size() - 6, 2, "OK") != 0) {
        ++rejectedLines;
        ctx.editorLayout.progBoxHeight = 4600;
        env_.ed.FinRisp = ReplyText.substr(0, ReplyText.size() - 1) + env_.ed.FinRisp;
        ReplyText.clear();
    }
    sender_.Pausa(500);
}

void Text712::Tx712(char ch) {
    EditorState& ed = env_.ed;
    if (ch == '\'') {
        InComment = true;
        return;
    }
    if (ch == '\r') {
        if (LineStarted) send(ch);
        return;
    }
    if (ch == '\n') {
        if (LineStarted && !InComment) awaitReply();
        InComment = false;
        LineStarted = false;
        if (ed.Text2.size() > 32000) ed.Text2.clear();
        if (ed.wait.text.size() >= 4) ed.Text2 = ed.wait.text.substr(0, ed.wait.text.size() - 2) + ed.Text2;
        ReplyText.clear();
        return;
    }
    if (!LineStarted) ed.wait.text.clear();
    if (InComment) return;
    LineStarted = true;
    send(ch);
    sender_.Pausa(10);
    collect();
    ed.wait.text = ReplyText;
}

void Text712::Invia712(const std::string& title) {
    Context& ctx = env_.ctx;
    EditorState& ed = env_.ed;
    if (env_.link.transferRunning()) return;
    const LineOwner::Claim claim = ctx.line.claim("V712 exchange");
    if (!claim) return;
    ed.Frame4Enabled = false;
    CommandText += "\r\n";
    ctx.editorLayout.progBoxHeight = 5400;
    ctx.EditorBusy = true;
    env_.showProgress(".. Trasmitting .....", title);
    ed.FinRisp.clear();
    ctx.svc.clock.pumpEvents();
    InComment = false;
    LineStarted = false;
    ReplyText.clear();
    linesAwaited = 0;
    rejectedLines = 0;
    lineUp_ = env_.link.apri_com(UserOldModel);
    if (lineUp_) {
        env_.link.awaitStatusReply();
        try {
            LineOwner& line = ctx.line;
            line.emptyBoth();
            line.setMode(InputMode::Text);
        } catch (const SerialError&) {
            lineUp_ = false;
        }
        for (char c : CommandText) {
            if (!lineUp_) break;
            Tx712(c);
        }
        env_.link.chiudi_com(UserOldModel);
    }
    env_.hideProgress();
    ed.Frame4Enabled = true;
    sender_.RiprQuery();
}

void Text712::PulsInvio(int i, const std::string& programNumber, const std::string& ofs, const std::string& con,
                        const std::string& cof, const std::string& caption) {
    if (!con.empty() && !cof.empty() && Val(con) + Val(cof) < Val(ofs)) {
        env_.ctx.svc.op.messageBox(ofs + " > " + con + " + " + cof, MsgButtons::Ok, MsgIcon::None, kAppTitle);
        if (env_.procs.AggTab) env_.procs.AggTab(i);
        return;
    }
    CommandText = "PRG=" + programNumber;
    if (!ofs.empty() || !con.empty() || !cof.empty()) CommandText += ",OUT=" + std::to_string(i + 1);
    if (!ofs.empty()) CommandText += ",OFS=" + generalNumber(Val(ofs));
    if (!con.empty()) CommandText += ",CON=" + generalNumber(Val(con));
    if (!cof.empty()) CommandText += ",COF=" + generalNumber(Val(cof));
    if (env_.procs.AggTab) env_.procs.AggTab(i);
    Invia712(caption);
}

void Text712::CmdDFT(const std::string& programNumber) {
    CommandText = "DFT=" + programNumber;
    Invia712("Default");
}

void Text712::CmdRST(const std::string& programNumber) {
    CommandText = "RST=" + programNumber;
    Invia712("Reset");
}

}  // namespace gyrel
