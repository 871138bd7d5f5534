// The binary conversations: program download, upload, preset and origin.
#include <algorithm>

#include "sim/device.h"
#include "sim/frames.h"

namespace gyrel::sim {

namespace {

// Largest table a slot holds: what the page numbers of one program can address
// in the wide encoding; the narrow one is limited by its 8-bit count.
constexpr int kMaxHiResEntries = 1024;

bool checksumOk(const Bytes& f) { return sum8(f, 0, 17) == f[18]; }

Bytes sealed(Bytes f) {
    f[18] = sum8(f, 0, 17);
    return f;
}

}  // namespace

void Device::handleDownload(const Bytes& f, double t, std::vector<Reply>& out) {
    if (textModel() || !checksumOk(f)) return;  // a damaged frame gets no acknowledgement
    // The host sends a frame again when its acknowledgement went missing; the
    // repeat of the frame just taken is acknowledged again without taking it twice
    // (after the last page the program is already stored and nothing is pending).
    if (f != lastDownloadFrame_ && !takeDownloadFrame(f)) return;
    lastDownloadFrame_ = f;
    if (faults_.noAckFrames > 0) {
        --faults_.noAckFrames;
        return;
    }
    ++acked_;
    answer(Bytes{kAck}, t, false, out);
}

bool Device::takeDownloadFrame(const Bytes& f) {
    const int perPage = hiRes() ? 4 : 8;
    const int width = hiRes() ? 4 : 2;
    if (f[0] == 1) {
        const int slot = f[2];
        const int count = hiRes() ? static_cast<int>(getLe(f, 4, 2)) : f[3];
        if (slot >= kSlots || count > kMaxHiResEntries) return false;
        PendingDownload p;
        p.slot = slot;
        p.count = count;
        p.table.assign(count, CamEntry{});
        p.havePos.assign(count, false);
        p.haveMask.assign(count, false);
        pending_ = std::move(p);
    } else {
        // A page without a header before it, or past the announced count, is refused.
        if (!pending_) return false;
        const int first = perPage * f[1];
        if (first >= pending_->count) return false;
        for (int k = 0; k < perPage && first + k < pending_->count; ++k) {
            const std::uint32_t v = getLe(f, 2 + width * k, width);
            CamEntry& e = pending_->table[first + k];
            if (f[0] == 2) {
                e.position = v;
                pending_->havePos[first + k] = true;
            } else {
                e.mask = v;
                pending_->haveMask[first + k] = true;
            }
        }
    }
    // The program replaces the slot's old one only once every entry has come.
    const bool complete = std::all_of(pending_->havePos.begin(), pending_->havePos.end(), [](bool b) { return b; }) &&
                          std::all_of(pending_->haveMask.begin(), pending_->haveMask.end(), [](bool b) { return b; });
    if (complete) {
        programs_[pending_->slot] = std::move(pending_->table);
        pending_.reset();
    }
    return true;
}

void Device::handleUpload(const Bytes& f, double t, std::vector<Reply>& out) {
    if (model_->upload == UploadKind::None || !checksumOk(f)) return;
    const int slot = f[2];
    if (slot >= kSlots) return;
    const bool wide = model_->upload == UploadKind::HighResolution;
    const int perPage = wide ? 4 : 8;
    const int width = wide ? 4 : 2;
    const std::uint32_t widthMask = wide ? 0xFFFFFFFFu : 0xFFFFu;
    const CamTable empty;
    const CamTable& table = programs_[slot] ? *programs_[slot] : empty;
    // Never more than the page numbers can address (or the narrow count can say).
    const int count = std::min(static_cast<int>(table.size()), wide ? kMaxHiResEntries : 0xFF);

    uploadQueue_.clear();
    Bytes header(kFrameSize, 0);
    header[0] = 1;
    header[2] = static_cast<std::uint8_t>(slot);
    if (wide)
        putLe(header, 4, static_cast<std::uint32_t>(count), 2);
    else
        header[3] = static_cast<std::uint8_t>(count);
    uploadQueue_.push_back(sealed(header));
    for (std::uint8_t command : {2, 3}) {
        for (int page = 0; page * perPage < count; ++page) {
            Bytes b(kFrameSize, 0);
            b[0] = command;
            b[1] = static_cast<std::uint8_t>(page);
            for (int k = 0; k < perPage && page * perPage + k < count; ++k) {
                const CamEntry& e = table[page * perPage + k];
                putLe(b, 2 + width * k, (command == 2 ? e.position : e.mask) & widthMask, width);
            }
            uploadQueue_.push_back(sealed(b));
        }
    }
    Bytes first = std::move(uploadQueue_.front());
    uploadQueue_.pop_front();
    answer(std::move(first), t, true, out);
}

void Device::handleOrigin(const Bytes& f, double t, std::vector<Reply>& out) {
    if (!model_->menuOrigin) return;
    const int slot = f[2];
    if (slot >= kSlots) return;
    if (f[1] == 0) {
        Bytes r(kFrameSize, 0);
        r[0] = kOriginCommand;
        r[2] = static_cast<std::uint8_t>(slot);
        putLe(r, 6, presets_[slot].preset, 4);
        putLe(r, 10, presets_[slot].origin, 4);
        answer(sealed(r), t, true, out);
        return;
    }
    if (!checksumOk(f)) return;
    presets_[slot] = PresetOrigin{getLe(f, 6, 4), getLe(f, 10, 4)};
    answer(Bytes{kAck}, t, false, out);
}

}  // namespace gyrel::sim
