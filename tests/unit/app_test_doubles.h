#pragma once
// Test doubles shared by the start-up, model configuration and dialog tests.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/context.h"
#include "platform/memory_settings_store.h"
#include "platform/serial_port.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"

namespace gyrel {
namespace testing_doubles {

// A port that only keeps its properties; it never receives anything.
class PropertyPort : public SerialPort {
public:
    void setCommPort(int n) override {
        if (portOpen_) throw SerialError(SerialError::Kind::Busy, "port open");
        commPort_ = n;
    }
    int commPort() const override { return commPort_; }
    void setPortName(const std::string& p) override { name_ = p; }
    std::string portName() const override { return name_; }
    void setSettings(const std::string& s) override {
        if (s.find(',') == std::string::npos) throw SerialError(SerialError::Kind::InvalidSettings, s);
        settings_ = s;
        settingsHistory.push_back(s);
    }
    std::string settings() const override { return settings_; }
    void setPortOpen(bool open) override {
        portOpen_ = open;
        openHistory.push_back(open);
    }
    bool portOpen() const override { return portOpen_; }
    void setHandshaking(int m) override { handshaking_ = m; }
    int handshaking() const override { return handshaking_; }
    void setInputLen(int len) override { inputLen = len; }
    void setInputMode(InputMode m) override { mode_ = m; }
    InputMode inputMode() const override { return mode_; }
    void setRTSEnable(bool on) override { rts = on; }
    void setInBufferSize(int size) override { inBufferSize = size; }
    int inBufferCount() override { return 0; }
    void setInBufferCount(int) override {}
    void setOutBufferCount(int) override {}
    void output(const Bytes& b) override { sent.insert(sent.end(), b.begin(), b.end()); }
    Bytes input() override { return {}; }

    std::vector<std::string> settingsHistory;
    std::vector<bool> openHistory;
    int inputLen = -1;
    bool rts = true;
    int inBufferSize = 0;
    Bytes sent;

private:
    int commPort_ = 1;
    std::string name_;
    std::string settings_ = "9600,n,8,1";
    bool portOpen_ = false;
    int handshaking_ = 0;
    InputMode mode_ = InputMode::Text;
};

struct Box {
    std::string prompt, title;
    MsgButtons buttons;
    MsgIcon icon;
};

class RecordingOperator : public Operator {
public:
    int messageBox(const std::string& prompt, MsgButtons b, MsgIcon i, const std::string& title) override {
        boxes.push_back({prompt, title, b, i});
        return answer;
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    void beep() override { ++beeps; }
    std::vector<Box> boxes;
    int answer = AnswerOk;
    int beeps = 0;
};

// A fresh working folder for one test: GYREL_HOME points into a new temporary
// folder (its parent exists, the folder itself not yet) and is removed afterwards.
class TempHome {
public:
    TempHome() {
        char pattern[] = "/tmp/gyrel-test-XXXXXX";
        parent_ = mkdtemp(pattern);
        home_ = parent_ + "/varnel/gyrel";
        setenv("GYREL_HOME", home_.c_str(), 1);
    }
    ~TempHome() {
        unsetenv("GYREL_HOME");
        std::error_code ec;
        std::filesystem::remove_all(parent_, ec);
    }
    const std::string& home() const { return home_; }
    void create() const { std::filesystem::create_directories(home_); }

private:
    std::string parent_, home_;
};

// Everything a Context needs, with doubles for the outside.
struct Rig {
    TempHome temp;
    PropertyPort port;
    VirtualClock clock;
    MemorySettingsStore store;
    StdFileSystem fs;
    RecordingOperator op;
    Context ctx{Services{port, clock, store, fs, op}};
};

}  // namespace testing_doubles
}  // namespace gyrel
