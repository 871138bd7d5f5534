#include "safety/backup.h"

#include <memory>

#include "lang/safety_texts.h"
#include "platform/file_system.h"
#include "safety/backup_list.h"
#include "safety/slot_io.h"

namespace gyrel {

namespace {

// Writes the folder beside its name and renames it into place; on any failure
// the half-written folder is removed again.
bool writeFolder(FileSystem& fs, const std::string& folder, const std::array<std::string, 16>& names,
                 const std::array<std::string, 16>& texts, const std::string& list, const std::string* presets,
                 std::string& why) {
    const std::string staging = folder + ".partial~";
    try {
        if (fs.folderExists(staging) || fs.fileExists(staging)) fs.removeTree(staging);
        fs.createFolder(staging);
        for (std::size_t k = 0; k < 16; ++k)
            if (!names[k].empty()) fs.replaceFile(joinPath(staging, names[k]), texts[k]);
        if (presets) fs.replaceFile(joinPath(staging, kBackupPresetsName), *presets);
        // The list last: a folder holding it holds everything it names.
        fs.replaceFile(joinPath(staging, kBackupListName), list);
        fs.renameNew(staging, folder);
    } catch (const FileError& e) {
        why = e.what();
        try {
            fs.removeTree(staging);
        } catch (const FileError&) {
        }
        return false;
    }
    return true;
}

}  // namespace

BackupReport runBackup(Context& ctx, SerialLink& link, const std::string& folder, const JobHooks& hooks) {
    BackupReport r;
    r.folder = folder;
    const SafetyTexts& t = safetyTextsFor(ctx.LanguageCode);
    const ModelInfo& model = ctx.model.info();
    if (model.upload == UploadKind::None) {
        r.refused = true;
        r.why = t.notAvailable;
        return r;
    }
    FileSystem& fs = ctx.svc.fs;
    if (folder.empty() || fs.folderExists(folder) || fs.fileExists(folder)) {
        r.refused = true;
        r.why = t.folderExists;
        return r;
    }
    r.presets = model.menuOrigin;
    auto io = std::make_unique<SlotIo>(ctx, link);
    JobMeter meter(ctx, hooks, 16 + (r.presets ? 1 : 0));
    std::array<std::string, 16> texts;
    SlotPaths listed;
    std::array<bool, 16> empty{};
    for (int k = 0; k < 16; ++k) {
        if (meter.cancelled()) break;
        meter.at(k);
        const SlotIo::ReadBack rb = io->read(k);
        meter.step();
        const std::size_t i = static_cast<std::size_t>(k);
        if (!rb.ok) {
            r.ends[i] = BackupSlotEnd::Failed;
            r.slotWhy[i] = rb.why;
            r.lineError = true;
            continue;
        }
        if (rb.table.empty()) {
            r.ends[i] = BackupSlotEnd::Empty;
            empty[i] = true;
            continue;
        }
        r.ends[i] = BackupSlotEnd::Program;
        r.files[i] = backupProgramName(k, ctx.model.ProgramNumberOffset, ctx.model.FileExtension);
        texts[i] = rb.text;
        listed[i] = r.files[i];
    }
    std::string presetsText;
    if (r.presets && !meter.stopped() && !meter.cancelled()) {
        meter.at(15);
        r.presetsTried = true;
        const PresetTable table = io->readPresets(r.presetRead);
        meter.step();
        for (bool ok : r.presetRead) r.lineError = r.lineError || !ok;
        presetsText = formatPresets(table);
    }
    r.cancelled = meter.stopped();
    if (r.cancelled || r.lineError) return r;
    if (!writeFolder(fs, folder, r.files, texts, formatBackupList(listed, empty), r.presets ? &presetsText : nullptr,
                     r.why))
        return r;
    r.complete = true;
    return r;
}

std::string backupReportText(const Context& ctx, const BackupReport& r) {
    const SafetyTexts& t = safetyTextsFor(ctx.LanguageCode);
    if (r.refused) return r.why + "\r\n";
    std::string out;
    for (std::size_t k = 0; k < 16; ++k) {
        out += withNumber(t.slotProgram, static_cast<long long>(k + 1)) + " ";
        switch (r.ends[k]) {
            case BackupSlotEnd::Program: out += r.files[k]; break;
            case BackupSlotEnd::Empty: out += t.emptyOnDevice; break;
            case BackupSlotEnd::Failed: out += std::string(t.readFailed) + " (" + r.slotWhy[k] + ")"; break;
            case BackupSlotEnd::NotRead: out += t.cancelled; break;
        }
        out += "\r\n";
    }
    if (r.presetsTried) {
        int failed = 0;
        for (bool ok : r.presetRead) failed += ok ? 0 : 1;
        if (failed) out += std::string(t.readFailed) + ": " + kBackupPresetsName + " (" + std::to_string(failed) + "/16)\r\n";
    }
    if (!r.complete && !r.why.empty()) out += r.why + "\r\n";
    out += r.complete ? t.backupDone : t.backupNotMade;
    out += "\r\n";
    return out;
}

}  // namespace gyrel
