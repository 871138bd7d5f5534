#include "sim/device.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "sim/frames.h"

namespace gyrel::sim {

Device::Device(const std::string& modelCode) : model_(findModel(modelCode)) {
    if (!model_) throw std::invalid_argument("unknown model \"" + modelCode + "\"");
}

void Device::setModel(const std::string& modelCode) {
    const ModelInfo* m = findModel(modelCode);
    if (!m) throw std::invalid_argument("unknown model \"" + modelCode + "\"");
    model_ = m;
    frame_.clear();
    line_.clear();
    pending_.reset();
    lastDownloadFrame_.clear();
    uploadQueue_.clear();
}

std::vector<Reply> Device::receive(const Bytes& bytes, double t) {
    std::vector<Reply> all;
    for (std::uint8_t b : bytes) {
        auto r = receive(b, t);
        all.insert(all.end(), r.begin(), r.end());
    }
    return all;
}

std::vector<Reply> Device::receive(std::uint8_t byte, double t) {
    std::vector<Reply> out;
    received_.push_back(byte);
    if (lineClosed_) return out;
    if (!frame_.empty() && t - lastByteAt_ > kInterByteTimeoutMs) frame_.clear();
    lastByteAt_ = t;

    if (frame_.empty()) {
        if (byte == kStatusQuery) {
            frames_.push_back(Bytes{byte});
            Bytes reply = statusReply(t);
            const bool summed = reply.size() == static_cast<std::size_t>(kFrameSize);
            answer(std::move(reply), t, summed, out);
            return out;
        }
        if (byte == kAck) {
            // The host's go-ahead for the next frame of an upload; otherwise meaningless.
            if (!uploadQueue_.empty()) {
                Bytes next = std::move(uploadQueue_.front());
                uploadQueue_.pop_front();
                answer(std::move(next), t, true, out);
            }
            return out;
        }
        if (textModel()) {
            handleText(byte, t, out);
            return out;
        }
        if (byte == 1 || byte == 2 || byte == 3 || byte == kUploadRequest || byte == kOriginCommand)
            frame_.push_back(byte);
        return out;  // anything else between frames is line noise
    }

    frame_.push_back(byte);
    const int length = frameLength(frame_);
    if (length <= 0) {
        frame_.clear();
        return out;
    }
    if (static_cast<int>(frame_.size()) == length) {
        Bytes f;
        f.swap(frame_);
        frames_.push_back(f);
        handleFrame(f, t, out);
    }
    return out;
}

int Device::frameLength(const Bytes& start) const {
    if (start[0] != kOriginCommand) return kFrameSize;
    if (start.size() < 2) return kFrameSize;
    if (start[1] == 0) return 3;   // read request
    if (start[1] == 1) return kFrameSize;
    return -1;
}

void Device::handleFrame(const Bytes& f, double t, std::vector<Reply>& out) {
    switch (f[0]) {
    case 1:
    case 2:
    case 3:
        handleDownload(f, t, out);
        break;
    case kUploadRequest:
        handleUpload(f, t, out);
        break;
    case kOriginCommand:
        handleOrigin(f, t, out);
        break;
    default:
        break;
    }
}

void Device::answer(Bytes bytes, double t, bool summed, std::vector<Reply>& out) {
    if (lineClosed_ || faults_.silent) return;
    if (faults_.closeAfterReplies == 0) {
        faults_.closeAfterReplies = -1;
        lineClosed_ = true;
        lineClosedAt_ = t;
        return;
    }
    if (faults_.muteAfterReplies == 0) return;
    if (faults_.muteAfterReplies > 0) --faults_.muteAfterReplies;
    if (faults_.closeAfterReplies > 0) --faults_.closeAfterReplies;
    if (summed && faults_.badChecksum && !bytes.empty()) bytes.back() = static_cast<std::uint8_t>(bytes.back() + 1);
    if (faults_.garbage) {
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = (i % 2 == 0) ? 0x55 : 0xAA;
    }
    if (faults_.overlong) {
        while (bytes.size() < 39) bytes.push_back(0x00);
    }
    double ready = t + replyDelayMs_;
    if (faults_.lateMs >= 0)
        ready = std::max(ready, t + faults_.lateMs - static_cast<double>(bytes.size()) * byteTimeMs_);
    out.push_back(Reply{std::move(bytes), ready});
}

void Device::echo(Bytes bytes, double t, std::vector<Reply>& out) {
    if (lineClosed_ || faults_.silent || faults_.muteAfterReplies == 0) return;
    out.push_back(Reply{std::move(bytes), t});
}

void Device::reconnect() {
    lineClosed_ = false;
    frame_.clear();
    lastDownloadFrame_.clear();
    line_.clear();
    uploadQueue_.clear();
}

// ---- shaft and status ----

void Device::setShaftSpeed(double positionsPerSecond, double t) {
    const double range = positionRange();
    double p = std::fmod(pos0_ + speed_ * (t - t0_) / 1000.0, range);
    if (p < 0) p += range;
    pos0_ = p;
    t0_ = t;
    speed_ = positionsPerSecond;
}

void Device::setPosition(double position, double t) {
    const double range = positionRange();
    double p = std::fmod(position, range);
    if (p < 0) p += range;
    pos0_ = p;
    t0_ = t;
}

std::uint32_t Device::positionAt(double t) const {
    const double range = positionRange();
    double p = std::fmod(pos0_ + speed_ * (t - t0_) / 1000.0, range);
    if (p < 0) p += range;
    p = std::floor(p);
    if (p >= range) p = 0;
    return static_cast<std::uint32_t>(p);
}

std::uint32_t Device::outputMask() const {
    return model_->outputs >= 32 ? 0xFFFFFFFFu : ((1u << model_->outputs) - 1u);
}

std::uint32_t Device::outputsAt(double t) const {
    const std::uint32_t x = positionAt(t);
    if (textModel()) return outputs712(runningSlot_, x) & outputMask();
    const auto& table = programs_[runningSlot_];
    if (!table) return kIdlePattern & outputMask();
    if (table->empty()) return 0;
    // The mask of the last change point at or before x holds; before the first
    // one the last change point of the turn still holds (the table wraps).
    const CamEntry* best = nullptr;
    const CamEntry* highest = nullptr;
    for (const CamEntry& e : *table) {
        if (e.position <= x && (!best || e.position >= best->position)) best = &e;
        if (!highest || e.position >= highest->position) highest = &e;
    }
    return (best ? best->mask : highest->mask) & outputMask();
}

void Device::setRunningSlot(int slot) { runningSlot_ = std::clamp(slot, 0, kSlots - 1); }

int Device::storedProgramNumber(int slot) const {
    // The host adds its program number offset to what the device reports and
    // shows programs from 1, so each generation stores the number accordingly.
    return slot + 1 - model_->programNumberOffset;
}

Bytes Device::statusReply(double t) const {
    const int slot = runningSlot_;
    const bool has = textModel() ? hasProgram712(slot) : programs_[slot].has_value();
    StatusFields f;
    f.program = storedProgramNumber(slot);
    if (!has) {
        if (emptyMode_ == EmptySlotMode::EmptyReply) return Bytes{0x00, 0xFF};
        if (emptyMode_ == EmptySlotMode::NoProgram && model_->layout == StatusLayout::A) {
            f.position = 0xFFFFFFFFu;
            return buildStatusFrame(model_->layout, f);
        }
        f.position = positionAt(t);
        f.outputs = kIdlePattern & outputMask();
        return buildStatusFrame(model_->layout, f);
    }
    f.cams = camCount(slot);
    f.position = positionAt(t);
    f.outputs = outputsAt(t);
    return buildStatusFrame(model_->layout, f);
}

// ---- stored data ----

const std::optional<CamTable>& Device::program(int slot) const { return programs_.at(slot); }
void Device::setProgram(int slot, CamTable table) { programs_.at(slot) = std::move(table); }
void Device::clearProgram(int slot) { programs_.at(slot).reset(); }

int Device::camCount(int slot) const {
    if (textModel()) {
        int n = 0;
        for (const Row712& r : rows712_.at(slot)) n += r.set ? 1 : 0;
        return n;
    }
    const auto& p = programs_.at(slot);
    return p ? static_cast<int>(p->size()) : 0;
}

PresetOrigin Device::presetOrigin(int slot) const { return presets_.at(slot); }
void Device::setPresetOrigin(int slot, PresetOrigin value) { presets_.at(slot) = value; }
const Row712& Device::row712(int program, int output) const { return rows712_.at(program).at(output); }

}  // namespace gyrel::sim
