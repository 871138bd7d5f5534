#include "safety/slot_io.h"

#include "device/tx712_val.h"
#include "editor/check.h"
#include "editor/offsets.h"
#include "editor/parse.h"
#include "editor/prepare.h"
#include "link/serial_link.h"
#include "origin/origin_dialog.h"

namespace gyrel {

namespace {

std::string oneLine(std::string t) {
    std::string out;
    for (char c : t) {
        if (c == '\r') continue;
        out += c == '\n' ? ' ' : c;
    }
    return out;
}

}  // namespace

const char* uploadEndText(UploadEnd end) {
    switch (end) {
        case UploadEnd::Complete: return "read";
        case UploadEnd::NoReply: return "no complete reply from the device";
        case UploadEnd::BadChecksum: return "a reply with a wrong checksum";
        case UploadEnd::OutOfRange: return "the device sent more than the tables hold";
        case UploadEnd::NoHeader: return "the device sent pages without a header";
        case UploadEnd::NoPort: return "the port could not be opened";
        case UploadEnd::Busy: return "another transfer holds the line";
    }
    return "the exchange did not complete";
}

SlotIo::SlotIo(Context& ctx, SerialLink& link) : ctx_(ctx), link_(link), env_(TransferEnv{ctx, link, ed_, {}, {}}) {
    ed_.ResizeSeen = 1;
    env_.procs.LeggiLav = [this](int) { return prepareQuiet(); };
    env_.procs.CheckModif = [](int) { return static_cast<int>(AnswerYes); };
    env_.procs.AggBox = [] {};
    env_.procs.AggColori = [](int) {};
    download_ = std::make_unique<DownloadCommand>(env_);
    upload_ = std::make_unique<UploadCommand>(env_, download_->sender);
}

bool SlotIo::wide() const { return encodingFor(ctx_.model.ModelType) == FrameEncoding::HighResolution; }

bool SlotIo::prepareQuiet() {
    lastWhy_.clear();
    if (!ed_.ProgBox.empty() && ed_.ProgBox.back() != '\n') ed_.ProgBox += "\r\n";
    const ParseResult parsed = parseCamText(ed_.ProgBox, ctx_.model.MaxPosition, ed_);
    if (!parsed.ok) {
        const ParseMessage m = parseMessage(ctx_, parsed.error);
        lastWhy_ = oneLine(m.title + ": " + m.prompt);
        return false;
    }
    takeOffsets(ed_);
    ed_.camTable = CamTable{};
    double count = 0;
    if (ed_.CamRowCount >= 1) {
        const PrepareOutcome o =
            prepareCamTable(ed_.CamRows.data(), ed_.CamRowCount, ed_.ActiveOffsets, ed_.check2,
                            ctx_.model.MaxPosition, ctx_.model.LastOutputIndex, 0, ed_.camTable);
        if (o.failed) {
            const CheckMessage m = checkMessage([this](int i) { return std::string(ctx_.msg(i)); }, o.failure,
                                                ed_.CamRows.data(), ed_.ActiveOffsets, ctx_.model.MaxPosition);
            lastWhy_ = oneLine(m.title + ": " + m.prompt);
            return false;
        }
        if (o.tooManyCams()) {
            lastWhy_ = oneLine(tooMuchCamsPrompt(o.camCount));
            return false;
        }
        count = o.camCount;
    }
    ed_.camTable.CamCount = count;
    return true;
}

SlotIo::Prepared SlotIo::prepare(const std::string& text) {
    Prepared p;
    ed_.ProgBox = text;
    p.ok = prepareQuiet();
    p.why = lastWhy_;
    if (p.ok) p.table = sentTable(ed_.camTable, wide());
    return p;
}

SlotIo::ReadBack SlotIo::read(int slot) {
    ReadBack r;
    r.ok = upload_->ImportaEncoder(slot) == 1;
    if (!r.ok) {
        r.why = uploadEndText(upload_->lastEnd);
        return r;
    }
    r.table = readTable(upload_->Imported, static_cast<int>(ed_.camTable.CamCount));
    r.text = ed_.ProgBox;
    return r;
}

bool SlotIo::write(int slot, const std::string& text, std::string* why) {
    ed_.ProgBox = text;
    ed_.ProgramIndex = slot;
    ed_.SelezMulti = false;
    ed_.ProgramFilePath.clear();
    download_->Command2();
    using Outcome = DownloadCommand::Outcome;
    const Outcome end = download_->lastOutcome;
    if (end == Outcome::Sent) return true;
    if (why) {
        switch (end) {
            case Outcome::CheckFailed: *why = lastWhy_; break;
            case Outcome::Declined: *why = "declined"; break;
            case Outcome::Refused: *why = "refused before sending"; break;
            case Outcome::Cancelled: *why = "cancelled"; break;
            case Outcome::NoPort: *why = "the port could not be opened"; break;
            case Outcome::Busy: *why = "another transfer holds the line"; break;
            default: *why = "transmission error"; break;
        }
    }
    return false;
}

PresetTable SlotIo::readPresets(std::array<bool, 16>& confirmed) {
    PresetTable t;
    OriginDialog dialog(ctx_, link_, ed_.wait);
    dialog.show();
    dialog.ChkOrigClick(true);
    dialog.PulsRx();
    confirmed = dialog.confirmed;
    for (std::size_t i = 0; i < 16; ++i) {
        const OriginRow& row = dialog.rows[i];
        if (!confirmed[i] || !isPlainUnsigned(row.TxtPreset) || !isPlainUnsigned(row.TxtOrigin)) continue;
        t[i] = PresetEntry{static_cast<std::uint32_t>(std::stoul(row.TxtPreset)),
                           static_cast<std::uint32_t>(std::stoul(row.TxtOrigin))};
    }
    return t;
}

void SlotIo::writePresets(const PresetTable& table, std::array<bool, 16>& confirmed) {
    OriginDialog dialog(ctx_, link_, ed_.wait);
    dialog.show();
    dialog.ChkOrigClick(true);
    for (std::size_t i = 0; i < 16; ++i) {
        dialog.rows[i].TxtPreset = table[i] ? std::to_string(table[i]->preset) : std::string();
        dialog.rows[i].TxtOrigin = table[i] ? std::to_string(table[i]->origin) : std::string();
    }
    dialog.PulsTx();
    confirmed = dialog.confirmed;
}

SlotComparison SlotIo::verify(int slot, const ChangePoints& sent) {
    const ReadBack r = read(slot);
    if (!r.ok) {
        SlotComparison c;
        c.slot = slot;
        c.state = SlotState::ReadFailed;
        c.detail = r.why;
        return c;
    }
    return compareTables(slot, sent, r.table);
}

}  // namespace gyrel
