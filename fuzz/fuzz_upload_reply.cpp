// Feeds arbitrary device replies to the upload exchange and the text rebuild:
// whatever the device sends, the reader must neither crash, nor hang, nor read
// outside its tables.
#include <cstddef>
#include <cstdint>
#include <deque>

#include "device/download.h"
#include "device/upload.h"
#include "link/serial_link.h"
#include "platform/memory_settings_store.h"
#include "platform/virtual_clock.h"

namespace {

using namespace gyrel;

// A port whose device answers each host write with the next reply of the input.
class ReplayPort : public SerialPort {
public:
    std::deque<Bytes> replies;
    Bytes waiting;
    bool open = false;

    void setCommPort(int) override {}
    int commPort() const override { return 1; }
    void setPortName(const std::string&) override {}
    std::string portName() const override { return "fuzz"; }
    void setSettings(const std::string&) override {}
    std::string settings() const override { return "9600,n,8,1"; }
    void setPortOpen(bool on) override { open = on; }
    bool portOpen() const override { return open; }
    void setHandshaking(int) override {}
    int handshaking() const override { return 0; }
    void setInputLen(int) override {}
    void setInputMode(InputMode) override {}
    InputMode inputMode() const override { return InputMode::Binary; }
    void setRTSEnable(bool) override {}
    void setInBufferSize(int) override {}
    int inBufferCount() override { return static_cast<int>(waiting.size()); }
    void setInBufferCount(int) override { waiting.clear(); }
    void setOutBufferCount(int) override {}
    void output(const Bytes& bytes) override {
        sent += bytes.size();
        // The request's last byte, and every acknowledgement, bring the next reply.
        if ((sent == 19 || (sent > 19 && !bytes.empty() && bytes.back() == 0xFF)) && !replies.empty()) {
            waiting.insert(waiting.end(), replies.front().begin(), replies.front().end());
            replies.pop_front();
        }
    }
    Bytes input() override {
        Bytes b;
        b.swap(waiting);
        return b;
    }
    std::size_t sent = 0;
};

class NullOperator : public Operator {
public:
    int messageBox(const std::string&, MsgButtons, MsgIcon, const std::string&) override { return AnswerOk; }
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    void beep() override {}
};

class NoFiles : public FileSystem {
public:
    bool folderExists(const std::string&) const override { return true; }
    void createFolder(const std::string&) override {}
    bool fileExists(const std::string&) const override { return false; }
    void createTextFile(const std::string&) override {}
    std::string readAll(const std::string&) const override { throw FileError("none"); }
    void writeAll(const std::string&, const std::string&) override {}
    void append(const std::string&, const std::string&) override {}
    void copyFile(const std::string&, const std::string&) override {}
    void replaceFile(const std::string&, const std::string&) override {}
};

const char* const kModels[] = {"V820AX", "V820HX", "KMT71", "Px71"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    ReplayPort port;
    // Replies: a length byte (0..40) and that many bytes, repeated.
    std::size_t at = 1;
    while (at < size) {
        const std::size_t n = std::min<std::size_t>(data[at] % 41, size - at - 1);
        port.replies.emplace_back(data + at + 1, data + at + 1 + n);
        at += 1 + n;
    }
    VirtualClock clock;
    MemorySettingsStore settings;
    NoFiles fs;
    NullOperator op;
    Context ctx(Services{port, clock, settings, fs, op});
    ctx.model.ModelType = kModels[data[0] % 4];
    ctx.model.MaxPosition = 4294967295.0;
    SerialLink link(ctx);
    EditorState ed;
    TransferEnv env{ctx, link, ed, {}, {}};
    env.procs.dateNow = [] { return std::string("01/01/2026 00:00:00"); };
    DownloadCommand download(env);
    UploadCommand upload(env, download.sender);
    upload.ImportaEncoder(data[0] >> 2);
    return 0;
}
