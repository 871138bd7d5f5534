#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "device/model_table.h"
#include "platform/bytes.h"
#include "sim/faults.h"

namespace gyrel::sim {

// One change point of a stored cam program: from `position` on, the outputs are `mask`.
struct CamEntry {
    std::uint32_t position = 0;
    std::uint32_t mask = 0;
    bool operator==(const CamEntry& o) const { return position == o.position && mask == o.mask; }
};
using CamTable = std::vector<CamEntry>;

// One row of an old-generation (V712) program: a periodic or single cam.
struct Row712 {
    bool set = false;
    long ofs = 0;
    long con = 0;
    bool hasCof = false;  // false: a single cam from OFS of length CON
    long cof = 0;
};

struct PresetOrigin {
    std::uint32_t preset = 0;
    std::uint32_t origin = 0;
};

// Bytes the device starts to put on the line at readyMs (the line time of each
// byte is added by whatever carries them).
struct Reply {
    Bytes bytes;
    double readyMs = 0;
};

// What the status query reports for a running slot that holds no program.
enum class EmptySlotMode {
    Pattern,    // a normal frame, cam count 0, outputs in a fixed pattern
    EmptyReply, // the two bytes 0x00 0xFF
    NoProgram,  // layout A: position 0xFFFFFFFF; layout B models fall back to Pattern
};

// The encoder's side of the link for one model: fed host bytes with the time each
// one has fully arrived, it answers with replies and the time they are ready.
// Everything is computed from the times given, so it runs the same under a
// virtual clock and in real time.
class Device {
public:
    // Outputs shown while the running slot has no program (masked to the model's outputs).
    static constexpr std::uint32_t kIdlePattern = 0xA5A5;
    // A half-received frame is dropped when the next byte comes later than this.
    static constexpr double kInterByteTimeoutMs = 100;

    // Raises std::invalid_argument for an unknown model code.
    explicit Device(const std::string& modelCode);

    const ModelInfo& model() const { return *model_; }
    // Turns the device into another model, keeping what it stores (the program
    // switches models at run time; the simulated device follows). Raises
    // std::invalid_argument for an unknown code.
    void setModel(const std::string& modelCode);

    std::vector<Reply> receive(std::uint8_t byte, double t);
    std::vector<Reply> receive(const Bytes& bytes, double t);

    // Line time of one byte, set by the port that carries the bytes; used to time late replies.
    void setLineByteTimeMs(double ms) { byteTimeMs_ = ms; }
    void setReplyDelayMs(double ms) { replyDelayMs_ = ms; }
    double replyDelayMs() const { return replyDelayMs_; }

    // The shaft turns at a constant speed from the last position set.
    void setShaftSpeed(double positionsPerSecond, double t);
    double shaftSpeed() const { return speed_; }
    void setPosition(double position, double t);  // a jump
    std::uint32_t positionAt(double t) const;
    std::uint32_t outputsAt(double t) const;      // of the running slot

    void setRunningSlot(int slot);
    int runningSlot() const { return runningSlot_; }
    void setEmptySlotMode(EmptySlotMode mode) { emptyMode_ = mode; }
    EmptySlotMode emptySlotMode() const { return emptyMode_; }

    Faults& faults() { return faults_; }
    const Faults& faults() const { return faults_; }

    // Stored programs, per 0-based slot.
    const std::optional<CamTable>& program(int slot) const;
    void setProgram(int slot, CamTable table);
    void clearProgram(int slot);
    int camCount(int slot) const;
    PresetOrigin presetOrigin(int slot) const;
    void setPresetOrigin(int slot, PresetOrigin value);
    const Row712& row712(int program, int output) const;  // both 0-based

    // Program number the status frame carries for a 0-based slot.
    int storedProgramNumber(int slot) const;
    // The status frame (or empty-slot reply) the device would send at time t, before faults.
    Bytes statusReply(double t) const;

    // Inspection: every host byte, every complete binary frame, every text line.
    const Bytes& received() const { return received_; }
    const std::vector<Bytes>& frames() const { return frames_; }
    const std::vector<std::string>& textLines() const { return textLines_; }
    int acknowledgedFrames() const { return acked_; }

    // The device dropped the line (close-after fault); it stays dropped until reconnect().
    bool lineClosed() const { return lineClosed_; }
    double lineClosedAtMs() const { return lineClosedAt_; }
    void reconnect();

private:
    struct PendingDownload {
        int slot = 0;
        int count = 0;
        CamTable table;
        std::vector<bool> havePos, haveMask;
    };

    void handleFrame(const Bytes& f, double t, std::vector<Reply>& out);
    void handleDownload(const Bytes& f, double t, std::vector<Reply>& out);
    bool takeDownloadFrame(const Bytes& f);
    void handleUpload(const Bytes& f, double t, std::vector<Reply>& out);
    void handleOrigin(const Bytes& f, double t, std::vector<Reply>& out);
    void handleText(std::uint8_t c, double t, std::vector<Reply>& out);
    bool runLine712(const std::string& line);
    std::uint32_t outputs712(int program, std::uint32_t position) const;
    bool hasProgram712(int program) const;
    int frameLength(const Bytes& start) const;
    bool textModel() const { return model_->download == DownloadKind::Text712; }
    bool hiRes() const { return model_->download == DownloadKind::HighResolution; }
    std::uint32_t outputMask() const;
    double positionRange() const { return model_->maxPosition + 1; }

    // Sends an answer through the fault switches; `summed` answers get the bad checksum.
    void answer(Bytes bytes, double t, bool summed, std::vector<Reply>& out);
    void echo(Bytes bytes, double t, std::vector<Reply>& out);

    const ModelInfo* model_;
    double byteTimeMs_ = 0;
    double replyDelayMs_ = 2;
    double speed_ = 0;
    double pos0_ = 0, t0_ = 0;
    int runningSlot_ = 0;
    EmptySlotMode emptyMode_ = EmptySlotMode::Pattern;
    Faults faults_;

    std::array<std::optional<CamTable>, 16> programs_;
    std::array<PresetOrigin, 16> presets_{};
    std::array<std::array<Row712, 16>, 16> rows712_{};
    std::optional<PendingDownload> pending_;
    Bytes lastDownloadFrame_;
    std::deque<Bytes> uploadQueue_;

    Bytes frame_;
    double lastByteAt_ = 0;
    std::string line_;

    Bytes received_;
    std::vector<Bytes> frames_;
    std::vector<std::string> textLines_;
    int acked_ = 0;
    bool lineClosed_ = false;
    double lineClosedAt_ = 0;
};

}  // namespace gyrel::sim
