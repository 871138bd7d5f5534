#include "safety/restore.h"

#include <memory>

#include "lang/safety_texts.h"
#include "platform/file_checks.h"
#include "platform/file_system.h"
#include "safety/backup_list.h"
#include "safety/slot_io.h"

namespace gyrel {

std::string listPathOf(const FileSystem& fs, const std::string& folderOrList) {
    return fs.folderExists(folderOrList) ? joinPath(folderOrList, kBackupListName) : folderOrList;
}

namespace {

// Reads and checks everything before a byte is sent; false with the reasons in r.why.
bool loadBackup(Context& ctx, SlotIo& io, const std::string& folderOrList, RestoreReport& r,
                std::array<ChangePoints, 16>& tables, std::array<std::string, 16>& texts, PresetTable& presets) {
    FileSystem& fs = ctx.svc.fs;
    const std::string listPath = listPathOf(fs, folderOrList);
    BackupListRead list;
    try {
        const std::string why = unreadableReason(listPath, kListFileLimit, "list file");
        if (!why.empty()) throw FileError(why);
        list = readBackupList(fs.readAll(listPath), listPath);
    } catch (const FileError& e) {
        r.why = std::string("cannot read ") + listPath + ": " + e.what();
        return false;
    }
    if (!list.ok) {
        r.why = listPath + ": a slot number outside 1..16";
        return false;
    }
    std::string bad;
    for (std::size_t k = 0; k < 16; ++k) {
        r.files[k] = list.paths[k];
        if (list.empty[k]) r.plan[k] = RestoreSlotPlan::LeftAlone;
        if (list.paths[k].empty()) continue;
        r.plan[k] = RestoreSlotPlan::Program;
        const std::string slot = std::to_string(k + 1);
        try {
            if (!fs.fileExists(list.paths[k])) throw FileError("no such file");
            const std::string why = unreadableReason(list.paths[k], kProgramFileLimit, "program file");
            if (!why.empty()) throw FileError(why);
            texts[k] = fs.readAll(list.paths[k]);
        } catch (const FileError& e) {
            bad += slot + " " + list.paths[k] + ": " + e.what() + "\r\n";
            continue;
        }
        const SlotIo::Prepared p = io.prepare(texts[k]);
        if (!p.ok) bad += slot + " " + list.paths[k] + ": " + p.why + "\r\n";
        tables[k] = p.table;
    }
    // A list beside no presets file restores programs only.
    const std::string folder = listPath.substr(0, listPath.find_last_of("/\\") == std::string::npos
                                                      ? 0
                                                      : listPath.find_last_of("/\\"));
    const std::string presetsPath = joinPath(folder, kBackupPresetsName);
    if (ctx.model.info().menuOrigin && !folder.empty() && fs.fileExists(presetsPath)) {
        PresetsReadResult pr;
        try {
            const std::string why = unreadableReason(presetsPath, kListFileLimit, "presets file");
            if (!why.empty()) throw FileError(why);
            pr = parsePresets(fs.readAll(presetsPath));
        } catch (const FileError& e) {
            pr.ok = false;
            pr.why = e.what();
        }
        if (!pr.ok) bad += presetsPath + ": " + pr.why + "\r\n";
        for (std::size_t k = 0; k < 16 && pr.ok; ++k) {
            if (!pr.table[k]) continue;
            r.presets = true;
            if (pr.table[k]->preset > ctx.model.MaxPosition || pr.table[k]->origin > ctx.model.MaxPosition)
                bad += presetsPath + ": program " + std::to_string(k + 1) + " beyond the largest position\r\n";
        }
        presets = pr.table;
    }
    r.why = bad;
    return bad.empty();
}

}  // namespace

RestoreReport runRestore(Context& ctx, SerialLink& link, const std::string& folderOrList, const JobHooks& hooks) {
    RestoreReport r;
    const SafetyTexts& t = safetyTextsFor(ctx.LanguageCode);
    if (ctx.model.info().upload == UploadKind::None) {
        r.end = RestoreReport::End::Refused;
        r.why = t.notAvailable;
        return r;
    }
    auto io = std::make_unique<SlotIo>(ctx, link);
    std::array<ChangePoints, 16> tables;
    std::array<std::string, 16> texts;
    PresetTable presets;
    if (!loadBackup(ctx, *io, folderOrList, r, tables, texts, presets)) {
        r.end = RestoreReport::End::FileFailed;
        return r;
    }
    if (ctx.svc.op.messageBox(restorePlanText(ctx, r), MsgButtons::YesNo, MsgIcon::Question, t.restoreTitle) !=
        AnswerYes) {
        r.end = RestoreReport::End::Declined;
        return r;
    }
    int programs = 0;
    for (RestoreSlotPlan p : r.plan) programs += p == RestoreSlotPlan::Program ? 1 : 0;
    JobMeter meter(ctx, hooks, 2 * programs + (r.presets ? 1 : 0));
    for (int k = 0; k < 16; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        if (r.plan[i] != RestoreSlotPlan::Program) continue;
        if (meter.cancelled()) break;
        meter.at(k);
        r.written[i] = io->write(k, texts[i], &r.writeWhy[i]);
        meter.step();
        if (!r.written[i]) {
            if (meter.cancelled()) break;
            r.end = RestoreReport::End::LineError;
            r.why = withNumber(t.slotProgram, k + 1) + " " + r.writeWhy[i];
            return r;
        }
    }
    if (meter.stopped()) {
        r.end = RestoreReport::End::Cancelled;
        return r;
    }
    if (r.presets) {
        meter.at(15);
        std::array<bool, 16> confirmed{};
        io->writePresets(presets, confirmed);
        meter.step();
        r.presetsWritten = true;
        for (std::size_t k = 0; k < 16; ++k) r.presetsWritten = r.presetsWritten && (!presets[k] || confirmed[k]);
    }
    bool differs = false, readFailed = false;
    for (int k = 0; k < 16; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        r.verified[i].slot = k;
        if (!r.written[i]) continue;
        if (meter.cancelled()) break;
        meter.at(k);
        r.verified[i] = io->verify(k, tables[i]);
        r.verified[i].file = r.files[i];
        meter.step();
        differs = differs || r.verified[i].difference();
        readFailed = readFailed || r.verified[i].state == SlotState::ReadFailed;
    }
    if (meter.stopped()) r.end = RestoreReport::End::Cancelled;
    else if (readFailed || (r.presets && !r.presetsWritten)) r.end = RestoreReport::End::LineError;
    else if (differs) r.end = RestoreReport::End::Differs;
    else r.end = RestoreReport::End::Verified;
    return r;
}

std::string restorePlanText(const Context& ctx, const RestoreReport& r) {
    const SafetyTexts& t = safetyTextsFor(ctx.LanguageCode);
    std::string out = std::string(t.planIntro) + "\r\n";
    for (std::size_t k = 0; k < 16; ++k) {
        if (r.plan[k] == RestoreSlotPlan::NotListed) continue;
        out += withNumber(t.slotProgram, static_cast<long long>(k + 1)) + " " +
               (r.plan[k] == RestoreSlotPlan::Program ? fileNameOf(r.files[k]) : std::string(t.leftAlone)) + "\r\n";
    }
    if (r.presets) out += std::string(kBackupPresetsName) + "\r\n";
    return out + "\r\n" + t.planQuestion;
}

std::string restoreReportText(const Context& ctx, const RestoreReport& r) {
    const SafetyTexts& t = safetyTextsFor(ctx.LanguageCode);
    using End = RestoreReport::End;
    if (r.end == End::Refused || r.end == End::FileFailed) return r.why + (r.why.empty() ? "" : "\r\n") + t.restoreNotDone + "\r\n";
    std::string out;
    for (std::size_t k = 0; k < 16; ++k) {
        if (r.plan[k] == RestoreSlotPlan::NotListed) continue;
        out += withNumber(t.slotProgram, static_cast<long long>(k + 1)) + " ";
        if (r.plan[k] == RestoreSlotPlan::LeftAlone) {
            out += t.leftAlone;
        } else if (!r.written[k]) {
            out += t.notWritten;
            if (!r.writeWhy[k].empty()) out += " (" + r.writeWhy[k] + ")";
        } else {
            switch (r.verified[k].state) {
                case SlotState::Same: out += t.written; break;
                case SlotState::ReadFailed: out += std::string(t.readFailed) + " (" + r.verified[k].detail + ")"; break;
                case SlotState::NotListed: out += t.writtenNotVerified; break;
                default: out += std::string(t.writtenDiffers) + ": " + describeSlot(r.verified[k]); break;
            }
        }
        out += "\r\n";
    }
    if (r.presets) out += std::string(r.presetsWritten ? t.presetsWritten : t.presetsNotWritten) + "\r\n";
    if (r.end == End::Cancelled) out += std::string(t.cancelled) + "\r\n";
    if (r.end == End::LineError && !r.why.empty()) out += r.why + "\r\n";
    out += r.end == End::Verified ? t.restoreDone : t.restoreNotDone;
    return out + "\r\n";
}

}  // namespace gyrel
