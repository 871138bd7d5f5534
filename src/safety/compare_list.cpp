#include "safety/compare_list.h"

#include <memory>

#include "lang/safety_texts.h"
#include "platform/file_checks.h"
#include "platform/file_system.h"
#include "safety/backup_list.h"
#include "safety/restore.h"
#include "safety/slot_io.h"

namespace gyrel {

bool CompareReport::anyDifference() const {
    for (const SlotComparison& c : bySlot)
        if (c.difference()) return true;
    return false;
}

bool CompareReport::anyReadFailed() const {
    for (const SlotComparison& c : bySlot)
        if (c.state == SlotState::ReadFailed) return true;
    return false;
}

CompareReport runCompare(Context& ctx, SerialLink& link, const std::string& folderOrList, const JobHooks& hooks) {
    CompareReport r;
    for (int k = 0; k < 16; ++k) r.bySlot[static_cast<std::size_t>(k)].slot = k;
    if (ctx.model.info().upload == UploadKind::None) {
        r.refused = true;
        r.why = safetyTextsFor(ctx.LanguageCode).notAvailable;
        return r;
    }
    FileSystem& fs = ctx.svc.fs;
    r.listPath = listPathOf(fs, folderOrList);
    BackupListRead list;
    try {
        const std::string why = unreadableReason(r.listPath, kListFileLimit, "list file");
        if (!why.empty()) throw FileError(why);
        list = readBackupList(fs.readAll(r.listPath), r.listPath);
    } catch (const FileError& e) {
        r.refused = true;
        r.why = "cannot read " + r.listPath + ": " + e.what();
        return r;
    }
    if (!list.ok) {
        r.refused = true;
        r.why = r.listPath + ": a slot number outside 1..16";
        return r;
    }
    auto io = std::make_unique<SlotIo>(ctx, link);
    JobMeter meter(ctx, hooks, 16);
    for (int k = 0; k < 16; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        SlotComparison& c = r.bySlot[i];
        c.file = list.paths[i];
        if (meter.cancelled()) break;
        meter.at(k);
        meter.step();
        ChangePoints fromFile;
        if (!list.paths[i].empty()) {
            std::string text;
            try {
                if (!fs.fileExists(list.paths[i])) {
                    c.state = SlotState::FileMissing;
                    continue;
                }
                const std::string why = unreadableReason(list.paths[i], kProgramFileLimit, "program file");
                if (!why.empty()) throw FileError(why);
                text = fs.readAll(list.paths[i]);
            } catch (const FileError& e) {
                c.state = SlotState::FileBad;
                c.detail = e.what();
                continue;
            }
            const SlotIo::Prepared p = io->prepare(text);
            if (!p.ok) {
                c.state = SlotState::FileBad;
                c.detail = p.why;
                continue;
            }
            fromFile = p.table;
        } else if (!list.empty[i]) {
            continue;  // not listed
        }
        const std::string file = c.file;
        if (list.empty[i]) {
            const SlotIo::ReadBack rb = io->read(k);
            c.state = !rb.ok ? SlotState::ReadFailed : rb.table.empty() ? SlotState::EmptyBoth : SlotState::NotEmpty;
            c.detail = rb.ok ? "" : rb.why;
            c.deviceCount = static_cast<int>(rb.table.size());
        } else {
            c = io->verify(k, fromFile);
        }
        c.file = file;
    }
    r.cancelled = meter.stopped();
    return r;
}

std::string compareReportText(const CompareReport& r) {
    if (r.refused) return r.why + "\r\n";
    std::string out;
    for (const SlotComparison& c : r.bySlot) out += describeSlot(c) + "\r\n";
    return out;
}

}  // namespace gyrel
