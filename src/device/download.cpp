#include "device/download.h"

#include "device/text712_check.h"
#include "link/serial_link.h"

namespace gyrel {

void DownloadCommand::Command2() {
    const LineOwner::Claim claim =
        env_.link.transferRunning() ? LineOwner::Claim() : env_.ctx.line.claim("download");
    if (!claim) {
        lastOutcome = Outcome::Busy;
        return;
    }
    env_.link.awaitStatusReply();
    env_.ed.wait.progress.clear();
    if (env_.ctx.model.ModelType == "V712") {
        oldGeneration();
    } else {
        newGeneration();
    }
    showOutcome();
}

// The progress window ends with how the download went, so the operator need
// not read the log to know.
void DownloadCommand::showOutcome() {
    if (sender.cancelledByOperator && lastOutcome == Outcome::TransmissionError) lastOutcome = Outcome::Cancelled;
    switch (lastOutcome) {
        case Outcome::Sent: env_.endCount(ProgressOutcome::Done); break;
        case Outcome::Cancelled: env_.endCount(ProgressOutcome::Cancelled); break;
        case Outcome::TransmissionError: env_.endCount(ProgressOutcome::Failed, &WindowTexts::noReply); break;
        case Outcome::NoPort: env_.endCount(ProgressOutcome::Failed, &WindowTexts::noPort); break;
        case Outcome::Refused: env_.endCount(ProgressOutcome::Failed, &WindowTexts::refused); break;
        case Outcome::CheckFailed: env_.endCount(ProgressOutcome::Failed, &WindowTexts::programErrors); break;
        case Outcome::Declined:
        case Outcome::Busy: env_.ed.wait.progress.clear(); break;
    }
}

bool DownloadCommand::askEmptyProgram() {
    Context& ctx = env_.ctx;
    const std::string prompt = std::string(ctx.msg(30)) + " " + std::to_string(env_.ed.ProgramIndex + 1) + " " +
                               ctx.msg(31) + "!\r\n     " + ctx.msg(25);
    const std::string title = std::string("     ") + ctx.msg(26) + " ! ";
    return ctx.svc.op.messageBox(prompt, MsgButtons::YesNo, MsgIcon::Question, title) == AnswerYes;
}

bool DownloadCommand::sendPrepared() {
    const bool failed = encodingFor(env_.ctx.model.ModelType) == FrameEncoding::HighResolution
                            ? sender.PreparaTxHiRes()
                            : sender.PreparaTx();
    if (!failed) {
        lastOutcome = Outcome::Sent;
    } else if (sender.framesTotal == 0) {
        lastOutcome = Outcome::Refused;
    } else {
        lastOutcome = Outcome::TransmissionError;
    }
    return !failed;
}

void DownloadCommand::newGeneration() {
    env_.ed.ParsingBusy = false;
    if (!env_.link.apri_com(UserEditor)) {
        lastOutcome = Outcome::NoPort;
        return;
    }
    if (env_.ed.SelezMulti) {
        multipleFiles();
    } else {
        singleProgram();
    }
    env_.link.chiudi_com(UserEditor);
    env_.hideProgress();
}

bool DownloadCommand::singleProgram() {
    if (env_.checkModif(2) == AnswerNo) {
        lastOutcome = Outcome::Declined;
        return false;
    }
    if (!env_.leggiLav(96)) {
        lastOutcome = Outcome::CheckFailed;
        return false;
    }
    if (env_.ed.CamRowCount == 0 && !askEmptyProgram()) {
        lastOutcome = Outcome::Declined;
        return false;
    }
    return sendPrepared();
}

void DownloadCommand::multipleFiles() {
    Context& ctx = env_.ctx;
    EditorState& ed = env_.ed;
    SlotPanel& slots = env_.slots;
    for (int k = 0; k < 16; ++k) {
        if (slots.markMissing) slots.markMissing(k, false);
    }
    env_.showProgress(".. Trasmitting .....", "");
    if (env_.checkModif(1) == AnswerNo) {
        env_.hideProgress();
        lastOutcome = Outcome::Declined;
        return;
    }
    const std::string remembered = ed.ProgramFilePath;
    bool answerRemembered = false;
    bool anySent = false;
    lastOutcome = Outcome::Sent;
    auto setNumber = [&](const std::string& text) {
        if (slots.setProgramNumber) slots.setProgramNumber(text);
        if (!text.empty()) ed.ProgramIndex = std::stoi(text) - 1;
    };
    for (int k = 0; k < 16; ++k) {
        setNumber("");
        if (slots.clearProgramFrame) slots.clearProgramFrame();
        const std::string path = slots.path ? slots.path(k) : std::string();
        if (path.empty()) continue;
        if (!ctx.svc.fs.fileExists(path)) {
            env_.hideProgress();
            if (slots.markMissing) slots.markMissing(k, true);
            ctx.svc.op.messageBox(ctx.msg(17), MsgButtons::Ok, MsgIcon::Exclamation, path);
            lastOutcome = Outcome::Refused;
            break;
        }
        setNumber(std::to_string(k + 1));
        try {
            ctx.svc.fs.copyFile(path, env_.WorkFilePath());
        } catch (const FileError& e) {
            env_.hideProgress();
            ctx.svc.op.messageBox(e.what(), MsgButtons::Ok, MsgIcon::Exclamation, path);
            lastOutcome = Outcome::Refused;
            break;
        }
        ed.ProgramFilePath = path;
        env_.aggBox();
        if (!env_.leggiLav(80 + k)) {
            env_.hideProgress();
            lastOutcome = Outcome::CheckFailed;
            break;
        }
        if (!answerRemembered && ed.CamRowCount == 0) {
            if (!askEmptyProgram()) {
                env_.hideProgress();
                lastOutcome = Outcome::Declined;
                break;
            }
            const std::string title = std::string("     ") + ctx.msg(26) + " ! ";
            if (ctx.svc.op.messageBox(ctx.msg(32), MsgButtons::YesNo, MsgIcon::Question, title) == AnswerYes) {
                answerRemembered = true;
            }
        }
        if (!sendPrepared()) break;
        anySent = true;
        if (ctx.CancelRequested) {
            lastOutcome = Outcome::Cancelled;
            break;
        }
        setNumber("");
    }
    // Sixteen empty boxes send nothing, which is no success.
    if (!anySent && lastOutcome == Outcome::Sent) {
        env_.hideProgress();
        ctx.svc.op.messageBox(ctx.msg(17), MsgButtons::Ok, MsgIcon::Exclamation, "");
        lastOutcome = Outcome::Refused;
    }
    ed.ProgramFilePath = remembered;
    if (!remembered.empty()) {
        try {
            ctx.svc.fs.copyFile(remembered, env_.WorkFilePath());
        } catch (const FileError&) {
            // The program file has gone; the work file keeps the last slot's text.
        }
    }
    env_.aggBox();
}

void DownloadCommand::oldGeneration() {
    Context& ctx = env_.ctx;
    EditorState& ed = env_.ed;
    ctx.editorLayout.progBoxHeight = 5400;
    ed.Frame4Enabled = false;
    ctx.EditorBusy = true;
    env_.showProgress(".. Trasmitting .....", fileNameOf(ed.ProgramFilePath));
    if (!env_.link.apri_com(UserEditor)) {
        ed.Frame4Enabled = true;
        env_.hideProgress();
        sender.RiprQuery();
        lastOutcome = Outcome::NoPort;
        return;
    }
    if (env_.procs.Leggi712) env_.procs.Leggi712();
    ed.ParsingBusy = true;
    std::string text;
    try {
        text = ctx.svc.fs.readAll(env_.WorkFilePath());
    } catch (const FileError& e) {
        // Without its text a download would send only its start mark and pass for done.
        ed.ParsingBusy = false;
        ed.Frame4Enabled = true;
        env_.hideProgress();
        sender.RiprQuery();
        env_.link.chiudi_com(UserEditor);
        ctx.svc.op.messageBox(e.what(), MsgButtons::Ok, MsgIcon::Exclamation, env_.WorkFilePath());
        lastOutcome = Outcome::CheckFailed;
        return;
    }
    lastOutcome = Outcome::Sent;
    if (firstControlCharacter(text) != std::string::npos) {
        // Binary bytes are no program: nothing is typed to the device.
        ctx.svc.op.messageBox(ctx.msg(47), MsgButtons::Ok, MsgIcon::Exclamation, fileNameOf(ed.ProgramFilePath));
        lastOutcome = Outcome::Refused;
    } else {
        text712.beginDownload();
        TextReader reader(text);
        env_.beginCount(static_cast<long>(text.size()));  // the text goes character by character
        while (!ctx.CancelRequested && !reader.atEnd() && text712.lineUp()) {
            text712.Tx712(reader.read());
            env_.stepCount(static_cast<long>(reader.position()));
        }
        if (ctx.CancelRequested) lastOutcome = Outcome::Cancelled;
        else if (!text712.lineUp()) lastOutcome = Outcome::TransmissionError;
        else if (text712.rejectedLines > 0) lastOutcome = Outcome::TransmissionError;
    }
    ed.ParsingBusy = false;
    ctx.CancelRequested = false;
    ed.Frame4Enabled = true;
    env_.hideProgress();
    sender.RiprQuery();
    // Nothing else needs the port held once the text is through.
    env_.link.chiudi_com(UserEditor);
}

void DownloadCommand::ButtVerificaPrg() {
    if (env_.ctx.model.ModelType == "V712") {
        if (env_.procs.Leggi712) env_.procs.Leggi712();
    } else {
        env_.leggiLav(99);
    }
}

void DownloadCommand::Command5() {
    EditorState& ed = env_.ed;
    std::string section = "&\r\n";
    for (int k = 0; k < 16; ++k) {
        if (!ed.check2[static_cast<std::size_t>(k)]) continue;
        section += std::to_string(k + 1) + "\t" + ed.Text4[static_cast<std::size_t>(k)] + "\t" +
                   ed.Text5[static_cast<std::size_t>(k)] + "\r\n";
    }
    try {
        appendWhole(env_.ctx.svc.fs, env_.WorkFilePath(), section);
    } catch (const FileError& e) {
        env_.ctx.svc.op.messageBox(e.what(), MsgButtons::Ok, MsgIcon::Exclamation, env_.WorkFilePath());
        return;
    }
    env_.aggBox();
}

}  // namespace gyrel
