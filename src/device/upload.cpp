#include "device/upload.h"

#include "device/tx712_val.h"
#include "device/txdati.h"
#include "link/serial_link.h"

namespace gyrel {

Frame19 UploadCommand::requestFrame(int slot) {
    Frame19 f{};
    f[0] = 10;
    f[2] = static_cast<std::uint8_t>(slot);
    sealFrame(f);
    return f;
}

bool UploadCommand::hiRes() const {
    return encodingFor(env_.ctx.model.ModelType) == FrameEncoding::HighResolution;
}

int UploadCommand::ImportaEncoder(int slot) {
    Context& ctx = env_.ctx;
    EditorState& ed = env_.ed;
    ed.ButtVerificaPrgEnabled = false;
    ed.ProgramFilePath.clear();
    ImportOk = 0;
    repliesRead = 0;
    ed.wait.label = "Importing page #" + std::to_string(ctx.model.ProgramNumberOffset + slot);
    const LineOwner::Claim claim = env_.link.transferRunning() ? LineOwner::Claim() : ctx.line.claim("upload");
    if (!claim) {
        lastEnd = UploadEnd::Busy;
        return ImportOk;
    }
    if (!env_.link.apri_com(UserUpload)) {
        lastEnd = UploadEnd::NoPort;
        return ImportOk;
    }
    // A status query in the middle of the exchange would mix its reply into ours.
    ctx.EditorBusy = true;
    env_.link.awaitStatusReply();
    lastEnd = exchange(slot);
    sender_.RiprQuery();
    // Nothing is left to read after a failed exchange either: give the port back.
    env_.link.chiudi_com(UserUpload);
    if (lastEnd == UploadEnd::Complete) {
        if (CostruisciProgramma()) {
            env_.aggColori(1);
            ImportOk = 1;
        } else {
            lastEnd = UploadEnd::OutOfRange;
        }
    }
    return ImportOk;
}

UploadEnd UploadCommand::exchange(int slot) {
    Context& ctx = env_.ctx;
    EditorState& ed = env_.ed;
    LineOwner& line = ctx.line;
    const Frame19 request = requestFrame(slot);
    try {
        line.emptyBoth();
        line.setMode(InputMode::Binary);
        ctx.svc.clock.pumpEvents();
        ed.wait.text.clear();
        for (std::uint8_t b : request) {
            line.send(b);
            ed.wait.text += std::to_string(b) + " ";
        }
    } catch (const SerialError&) {
        return UploadEnd::NoReply;
    }
    env_.logEntry(ed.wait.text + "    req_ok");
    ctx.svc.clock.pumpEvents();

    const bool wide = hiRes();
    const int perPage = wide ? 4 : 8;
    const int width = wide ? 4 : 2;
    bool headerSeen = false;
    RemainingPositions = 0;
    RemainingMasks = 0;
    do {
        Bytes r;
        try {
            int n = 0;
            if (line.isOpen()) {
                for (int w = 0; w < 13; ++w) {
                    sender_.Pausa(50);
                    n = line.waiting();
                    if (n >= 19 || ctx.CancelRequested) break;
                }
                r = line.take();
            }
        } catch (const SerialError&) {
            r.clear();
        }
        if (r.size() < 19) return UploadEnd::NoReply;
        if (byteSum(r.data(), 18) != r[18]) return UploadEnd::BadChecksum;
        std::string shown;
        for (int i = 0; i < 19; ++i) shown += std::to_string(r[static_cast<std::size_t>(i)]) + " ";
        ed.wait.text = shown;
        ++repliesRead;

        auto entry = [&](int k) {
            double v = 0, scale = 1;
            for (int b = 0; b < width; ++b, scale *= 256) v += r[static_cast<std::size_t>(2 + width * k + b)] * scale;
            return v;
        };
        switch (r[0]) {
            case 1: {
                const int count = wide ? r[4] + 256 * r[5] : r[3];
                if (count > ImportedTable::kRows) {
                    env_.logEntry(shown + "    too many entries");
                    return UploadEnd::OutOfRange;
                }
                ed.ProgramIndex = r[2];
                ed.camTable.CamCount = count;
                RemainingPositions = RemainingMasks = count;
                headerSeen = true;
                // The header, then the position pages and as many mask pages.
                if (countFrames_) env_.beginCount(1 + 2 * ((count + perPage - 1) / perPage), true);
                break;
            }
            case 2:
            case 3: {
                const int column = r[0] == 2 ? 0 : 1;
                if (perPage * r[1] >= ImportedTable::kRows) {
                    env_.logEntry(shown + "    page out of range");
                    return UploadEnd::OutOfRange;
                }
                for (int k = 0; k < perPage; ++k) {
                    const int i = perPage * r[1] + k;
                    if (column == 0) --RemainingPositions;
                    else --RemainingMasks;
                    // Stray entries behind the last change point are never read; beyond
                    // the table they are not kept either.
                    if (i >= ImportedTable::kRows) continue;
                    Imported.rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(column)] = entry(k);
                    if (wide) {
                        auto& target = column == 0 ? ed.camTable.CamTablePos : ed.camTable.CamTableMask;
                        for (int b = 0; b < 4; ++b) target[b][i] = r[static_cast<std::size_t>(2 + 4 * k + b)];
                    }
                }
                break;
            }
            default:
                --RemainingPositions;
                --RemainingMasks;
                break;
        }
        env_.logEntry(shown + "    ok");
        if (countFrames_) env_.stepCount(repliesRead);
        try {
            line.send(0xFF);
        } catch (const SerialError&) {
            return UploadEnd::NoReply;
        }
    } while (RemainingPositions >= 1 || RemainingMasks >= 1);
    return headerSeen ? UploadEnd::Complete : UploadEnd::NoHeader;
}

bool UploadCommand::CostruisciProgramma() {
    Context& ctx = env_.ctx;
    EditorState& ed = env_.ed;
    const int n = static_cast<int>(ed.camTable.CamCount);
    auto rows = rebuildRows(Imported, n);
    if (!rows) {
        ctx.svc.op.messageBox("Program # " + std::to_string(ed.ProgramIndex + ctx.model.ProgramNumberOffset) +
                                  " holds more than 241 cam rows; it was not imported.",
                              MsgButtons::Ok, MsgIcon::Exclamation, "Import from encoder");
        return false;
    }
    const std::string date = env_.procs.dateNow ? env_.procs.dateNow() : generalDateNow();
    ed.ProgBox = rebuiltProgramText(*rows, ctx.msg(48), date, ctx.msg(50),
                                    ed.ProgramIndex + ctx.model.ProgramNumberOffset);
    return true;
}

void UploadCommand::Menuencoder(const std::string& programNumberText) {
    Context& ctx = env_.ctx;
    EditorState& ed = env_.ed;
    ed.wait.text.clear();
    ed.wait.label.clear();
    env_.showProgress("Import from encoder", "");
    ed.wait.progress.clear();
    if (!ed.SelezMulti) {
        const int slot = static_cast<int>(static_cast<long long>(Val(programNumberText)) - 1) & 0xFF;
        env_.beginCount(0, true);
        countFrames_ = true;
        ImportaEncoder(slot);
        countFrames_ = false;
        ed.SlotTexts[16] = ed.ProgBox;
        showOutcome();
        env_.hideProgress();
        return;
    }
    SlotPanel& slots = env_.slots;
    ed.ProgramFilePath.clear();
    ed.ModifiedFlag = false;
    for (int k = 0; k < 16; ++k) {
        if (slots.setPath) slots.setPath(k, "");
    }
    const std::string list = slots.selectList ? slots.selectList() : std::string();
    if (!list.empty()) {
        const std::size_t dot = list.find_last_of('.');
        const std::string base = dot == std::string::npos ? std::string() : list.substr(0, dot);
        env_.beginCount(16, true);
        for (int k = 0; k < 16 && !ctx.CancelRequested; ++k) {
            const int read = ImportaEncoder(k);
            env_.stepCount(k + 1);
            if (read != 1) continue;
            const std::string path = base + "_" + std::to_string(k + ctx.model.ProgramNumberOffset) + "." +
                                     ctx.model.FileExtension;
            if (slots.setPath) slots.setPath(k, path);
            try {
                ctx.svc.fs.replaceFile(env_.WorkFilePath(), ed.ProgBox);
                ed.SlotTexts[static_cast<std::size_t>(k)] = ed.ProgBox;
                ctx.svc.fs.replaceFile(path, ed.ProgBox);
            } catch (const FileError& e) {
                ctx.svc.op.messageBox(e.what(), MsgButtons::Ok, MsgIcon::Exclamation, path);
                if (slots.setPath) slots.setPath(k, "");
            }
        }
        if (slots.saveList) slots.saveList();
        if (ctx.CancelRequested)
            env_.endCount(ProgressOutcome::Cancelled);
        else if (lastEnd == UploadEnd::NoPort)
            env_.endCount(ProgressOutcome::Failed, &WindowTexts::noPort);
        else
            env_.endCount(ProgressOutcome::Done);
    }
    env_.hideProgress();
}

// The progress window ends with how the reading went.
void UploadCommand::showOutcome() {
    switch (lastEnd) {
        case UploadEnd::Complete: env_.endCount(ProgressOutcome::Done); break;
        case UploadEnd::NoPort: env_.endCount(ProgressOutcome::Failed, &WindowTexts::noPort); break;
        case UploadEnd::Busy: env_.ed.wait.progress.clear(); break;
        case UploadEnd::BadChecksum:
        case UploadEnd::OutOfRange:
        case UploadEnd::NoHeader: env_.endCount(ProgressOutcome::Failed, &WindowTexts::badReply); break;
        case UploadEnd::NoReply:
            env_.endCount(env_.ctx.CancelRequested ? ProgressOutcome::Cancelled : ProgressOutcome::Failed,
                          &WindowTexts::noReply);
            break;
    }
}

}  // namespace gyrel
