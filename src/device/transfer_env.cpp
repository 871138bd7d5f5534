#include "device/transfer_env.h"

#include "platform/working_folder.h"

namespace gyrel {

std::string TransferEnv::WorkFilePath() const { return inWorkingFolder("lav.lav"); }

bool TransferEnv::leggiLav(int code) { return procs.LeggiLav ? procs.LeggiLav(code) : false; }

void TransferEnv::aggBox() {
    if (procs.AggBox) procs.AggBox();
    else if (ctx.hooks.aggBox) ctx.hooks.aggBox();
}

int TransferEnv::checkModif(int mode) {
    if (procs.CheckModif) return procs.CheckModif(mode);
    if (ctx.hooks.checkModif) return ctx.hooks.checkModif(mode);
    return AnswerYes;
}

void TransferEnv::aggColori(int mode) {
    if (procs.AggColori) procs.AggColori(mode);
}

void TransferEnv::showProgress(const std::string& caption, const std::string& label) {
    if (!ed.wait.visible) ctx.CancelRequested = false;
    ed.wait.caption = caption;
    ed.wait.label = label;
    ed.wait.textVisible = true;
    ed.wait.buttonVisible = true;
    ed.wait.visible = true;
    ctx.svc.clock.pumpEvents();
}

void TransferEnv::beginCount(long steps, bool receiving) {
    ed.wait.progress.begin(steps, ctx.svc.clock.nowMs(), receiving);
}

void TransferEnv::stepCount(long done) { ed.wait.progress.step(done, ctx.svc.clock.nowMs()); }

void TransferEnv::endCount(ProgressOutcome how, const char* WindowTexts::*why) {
    const WindowTexts& texts = windowTextsFor(ctx.LanguageCode);
    ed.wait.progress.finish(how, why ? texts.*why : "", ctx.svc.clock.nowMs());
}

void TransferEnv::logEntry(const std::string& entry) {
    if (ed.Text2.size() > 32000) ed.Text2.clear();
    ed.Text2 = entry + "\r\n" + ed.Text2;
}

}  // namespace gyrel
