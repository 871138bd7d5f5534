#include "safety/verify_download.h"

#include <memory>

#include "lang/safety_texts.h"
#include "platform/file_checks.h"
#include "safety/slot_io.h"

namespace gyrel {

std::vector<SlotComparison> verifyAfterDownload(TransferEnv& editor, const DownloadCommand& download) {
    Context& ctx = editor.ctx;
    std::vector<SlotComparison> done;
    if (!ctx.settings.VerifyAfterDownload || ctx.model.info().upload == UploadKind::None ||
        download.lastOutcome != DownloadCommand::Outcome::Sent)
        return done;
    auto io = std::make_unique<SlotIo>(ctx, editor.link);
    if (!editor.ed.SelezMulti) {
        done.push_back(io->verify(editor.ed.ProgramIndex, sentTable(editor.ed.camTable, io->wide())));
    } else {
        for (int k = 0; k < 16; ++k) {
            const std::string path = editor.slots.path ? editor.slots.path(k) : std::string();
            if (path.empty()) continue;
            SlotComparison c;
            c.slot = k;
            c.file = path;
            try {
                const std::string why = unreadableReason(path, kProgramFileLimit, "program file");
                if (!why.empty()) throw FileError(why);
                const SlotIo::Prepared p = io->prepare(ctx.svc.fs.readAll(path));
                if (p.ok) {
                    c = io->verify(k, p.table);
                } else {
                    c.state = SlotState::FileBad;
                    c.detail = p.why;
                }
            } catch (const FileError& e) {
                c.state = SlotState::FileBad;
                c.detail = e.what();
            }
            done.push_back(c);
        }
    }
    const SafetyTexts& t = safetyTextsFor(ctx.LanguageCode);
    for (const SlotComparison& c : done) {
        editor.logEntry("verify: " + describeSlot(c));
        if (c.state == SlotState::Same) continue;
        std::string prompt = c.state == SlotState::ReadFailed ? withNumber(t.verifyReadFailed, c.slot + 1)
                                                              : withNumber(t.verifyDiffers, c.slot + 1);
        if (c.state == SlotState::Differs) prompt += ":\r\n" + differenceDetail(c);
        else if (!c.detail.empty()) prompt += ":\r\n" + c.detail;
        ctx.svc.op.messageBox(prompt, MsgButtons::Ok, MsgIcon::Exclamation, t.verifyEntry);
    }
    return done;
}

}  // namespace gyrel
