#include "device/txdati.h"

#include "link/serial_link.h"
#include "platform/serial_port.h"

namespace gyrel {

int pausaHalf(int ms) {
    if (ms < 2) ms = 2;
    const int whole = ms / 2;
    if (ms % 2 == 0) return whole;
    return whole % 2 == 0 ? whole : whole + 1;
}

void FrameSender::Pausa(int ms) { env_.ctx.svc.clock.waitMs(2 * pausaHalf(ms)); }

void FrameSender::RiprQuery() {
    LineOwner& line = env_.ctx.line;
    try {
        if (line.isOpen()) line.emptyBoth();
    } catch (const SerialError&) {
        // A port that has just failed has nothing left to empty.
    }
    env_.ctx.EditorBusy = false;
}

bool FrameSender::sendFrameBytes() {
    LineOwner& line = env_.ctx.line;
    try {
        for (int i = 1; i <= 19; ++i) line.send(TxFrame[static_cast<std::size_t>(i)]);
        return true;
    } catch (const SerialError&) {
        return false;
    }
}

void FrameSender::TxDati() {
    Context& ctx = env_.ctx;
    unsigned sum = 0;
    for (int i = 1; i <= 18; ++i) sum += TxFrame[static_cast<std::size_t>(i)];
    TxFrame[19] = static_cast<std::uint8_t>(sum & 0xFF);

    std::string& text = env_.ed.wait.text;
    bool lineUp = true;
    try {
        ctx.line.setMode(InputMode::Binary);
    } catch (const SerialError&) {
        lineUp = false;
    }
    text.clear();
    for (int i = 1; i <= 19; ++i) text += std::to_string(TxFrame[static_cast<std::size_t>(i)]) + " ";
    lineUp = lineUp && sendFrameBytes();

    int tries = 0;
    LastReplyCode = RxNoReply;
    while (lineUp) {
        Pausa(30);
        LastReplyCode = env_.link.rx_msg();
        ++tries;
        if (tries > 11 || ctx.CancelRequested) break;
        if (LastReplyCode == RxAck) break;
        Pausa(400);
        if (tries > 9) {
            lineUp = sendFrameBytes();
            text += " .r.";
            Pausa(1200);
        } else {
            text += " . ";
        }
    }
    if (LastReplyCode != RxAck) {
        TxError = true;
    } else {
        text += "  ok";
        ++framesAcknowledged;
    }
    Pausa(200);
    text += "     .(" + std::to_string(tries) + ")";
    env_.logEntry(text);
    if (TxFrame[1] == 3) Pausa(800);
}

void FrameSender::failureEnd() {
    Context& ctx = env_.ctx;
    RiprQuery();
    env_.hideProgress();
    env_.link.chiudi_com(UserEditor);
    cancelledByOperator = ctx.CancelRequested;
    if (!ctx.CancelRequested) {
        ctx.svc.op.messageBox(ctx.msg(16), MsgButtons::Ok, MsgIcon::Stop,
                              "Trasmission  Prog." + std::to_string(env_.ed.ProgramIndex + 1));
    }
    ctx.CancelRequested = false;
}

bool FrameSender::sendProgram(FrameEncoding encoding) {
    Context& ctx = env_.ctx;
    EditorState& ed = env_.ed;
    framesAcknowledged = 0;
    framesTotal = 0;
    cancelledByOperator = false;
    if (auto refusal = checkDownloadable(ed.camTable, ed.ProgramIndex)) {
        TxError = true;
        ctx.svc.op.messageBox(refusal->prompt, MsgButtons::Ok, MsgIcon::Stop, refusal->title);
        return TxError;
    }
    const std::vector<Frame19> frames = buildDownloadFrames(ed.camTable, ed.ProgramIndex, encoding);
    framesTotal = static_cast<int>(frames.size());

    ctx.EditorBusy = true;
    env_.showProgress(".. Trasmitting .....",
                      fileNameOf(ed.ProgramFilePath) + "  => Prog.  " + std::to_string(ed.ProgramIndex + 1));
    TxFrame.fill(0);
    TxError = false;
    try {
        ctx.line.emptyBoth();
    } catch (const SerialError&) {
        // The first frame finds out whether the line is there.
    }
    env_.aggBox();
    env_.beginCount(framesTotal);

    for (const Frame19& frame : frames) {
        for (int i = 0; i < 19; ++i) TxFrame[static_cast<std::size_t>(i + 1)] = frame[static_cast<std::size_t>(i)];
        TxDati();
        env_.stepCount(framesAcknowledged);
        if (afterFrame) afterFrame();
        // A Cancel whose check happened to read the acknowledgement still ends
        // the download here rather than letting the remaining frames go out.
        if (ctx.CancelRequested) TxError = true;
        if (TxError) {
            failureEnd();
            return TxError;
        }
    }
    Pausa(20);
    ctx.svc.clock.pumpEvents();
    RiprQuery();
    if (!ed.SelezMulti) env_.hideProgress();
    return TxError;
}

}  // namespace gyrel
