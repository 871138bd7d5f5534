// Any bytes from the device, through the whole reply path: classification,
// decoding by either layout and the display of what was decoded. The first byte
// picks the model and how the bytes are split over the reply wait.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/context.h"
#include "link/monitor.h"
#include "link/reply.h"
#include "link/serial_link.h"
#include "link/status_frame.h"
#include "platform/memory_settings_store.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"

namespace {

using namespace gyrel;

// A port whose device sends the given bytes in two pieces at chosen instants.
class ReplayPort : public SerialPort {
public:
    ReplayPort(VirtualClock& clock, Bytes first, double firstAt, Bytes second, double secondAt)
        : clock_(clock), first_(std::move(first)), second_(std::move(second)), firstAt_(firstAt), secondAt_(secondAt) {}
    void setCommPort(int) override {}
    int commPort() const override { return 1; }
    void setPortName(const std::string&) override {}
    std::string portName() const override { return {}; }
    void setSettings(const std::string&) override {}
    std::string settings() const override { return "9600,n,8,1"; }
    void setPortOpen(bool open) override { open_ = open; }
    bool portOpen() const override { return open_; }
    void setHandshaking(int) override {}
    int handshaking() const override { return 0; }
    void setInputLen(int) override {}
    void setInputMode(InputMode) override {}
    InputMode inputMode() const override { return InputMode::Binary; }
    void setRTSEnable(bool) override {}
    void setInBufferSize(int) override {}
    int inBufferCount() override { return static_cast<int>(arrived().size()); }
    void setInBufferCount(int) override {}
    void setOutBufferCount(int) override {}
    using SerialPort::output;
    void output(const Bytes&) override {}
    Bytes input() override {
        Bytes b = arrived();
        taken_ = b.size();
        return b;
    }

private:
    Bytes arrived() const {
        Bytes b;
        if (clock_.nowMs() >= firstAt_) b = first_;
        if (clock_.nowMs() >= secondAt_) b.insert(b.end(), second_.begin(), second_.end());
        return Bytes(b.begin() + static_cast<std::ptrdiff_t>(std::min(taken_, b.size())), b.end());
    }
    VirtualClock& clock_;
    Bytes first_, second_;
    double firstAt_, secondAt_;
    bool open_ = false;
    std::size_t taken_ = 0;
};

class QuietOperator : public Operator {
public:
    int messageBox(const std::string&, MsgButtons, MsgIcon, const std::string&) override { return AnswerOk; }
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    void beep() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const ModelInfo& model = modelTable()[data[0] % modelTable().size()];
    const std::size_t split = data[1] % (size - 1);
    const Bytes all(data + 2, data + size);
    const Bytes first(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(std::min(split, all.size())));
    const Bytes second(all.begin() + static_cast<std::ptrdiff_t>(first.size()), all.end());

    const ReplyVerdict v = classifyReply(all);
    if (v.kind == ReplyKind::Status) {
        if (all.size() != 19) __builtin_trap();
        decodeStatusFrame(all, StatusLayout::A);
        decodeStatusFrame(all, StatusLayout::B);
    }

    VirtualClock clock;
    ReplayPort port(clock, first, data[1] % 200, second, data[0] % 400);
    MemorySettingsStore settings;
    StdFileSystem fs;
    QuietOperator op;
    Context ctx(Services{port, clock, settings, fs, op});
    ctx.model.ModelType = model.code;
    ctx.model.LastOutputIndex = model.outputs - 1;
    ctx.model.MaxPosition = model.maxPosition;
    if (model.stepsPerTurn > 0) ctx.model.StepsPerTurn = model.stepsPerTurn;
    ctx.model.RxTimeoutFactor = (data[0] & 0x80) ? 10 : 1;
    ctx.main.turnDisplaysVisible = model.multiTurnDisplays;
    ctx.main.testEncoderChecked = (data[1] & 1) != 0;
    SerialLink link(ctx);
    port.setPortOpen(true);
    link.PollingActive = true;
    link.EmptySlotSeen = (data[1] & 2) != 0;
    const int result = link.rx_msg();
    if (result != 0 && result != 64 && result != 128 && result != 255 && result != 1000) __builtin_trap();
    link.LeggiDato();
    if (ctx.main.testEncoderChecked) link.VerificaQuote();
    return 0;
}
