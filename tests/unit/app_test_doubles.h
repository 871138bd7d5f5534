#pragma once
// Test doubles shared by the start-up, model configuration, editor and dialog tests.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/context.h"
#include "editor/editor_files.h"
#include "editor/editor_window.h"
#include "platform/memory_settings_store.h"
#include "platform/no_port.h"
#include "platform/std_file_system.h"
#include "platform/virtual_clock.h"
#include "platform/working_folder.h"
#include "unit/program_list_fakes.h"

namespace gyrel {
namespace testing_doubles {

// A port that only keeps its properties; it opens, and never receives anything.
class PropertyPort : public NoPort {
public:
    int missingPort = 0;  // a number whose adapter is not plugged in
    void setCommPort(int n) override {
        if (portOpen_) throw SerialError(SerialError::Kind::Busy, "port open");
        if (n == missingPort) throw SerialError(SerialError::Kind::NoSuchPort, "not present");
        NoPort::setCommPort(n);
    }
    void setSettings(const std::string& s) override {
        if (s.find(',') == std::string::npos) throw SerialError(SerialError::Kind::InvalidSettings, s);
        NoPort::setSettings(s);
    }
    void setPortOpen(bool open) override { portOpen_ = open; }
    bool portOpen() const override { return portOpen_; }
    void setHandshaking(int m) override { handshaking_ = m; }
    int handshaking() const override { return handshaking_; }
    void setInputMode(InputMode m) override { mode_ = m; }
    InputMode inputMode() const override { return mode_; }
    int inBufferCount() override { return 0; }
    void setInBufferCount(int) override {}
    void setOutBufferCount(int) override {}
    void output(const Bytes&) override {}
    Bytes input() override { return {}; }

private:
    bool portOpen_ = false;
    int handshaking_ = 0;
    InputMode mode_ = InputMode::Text;
};

using RecordingOperator = listtest::ScriptedOperator;

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

namespace editortest {

// The editor logic over real files in a temporary working folder.
struct EditorRig : testing_doubles::Rig {
    Editor ed{ctx};
    std::vector<int> released;  // the port users the editor gave back

    EditorRig() {
        temp.create();
        ctx.applyLanguage("EN");
        ed.chiudi_com = [this](int user) { released.push_back(user); };
    }
    std::string path(const std::string& name) const { return temp.home() + "/" + name; }
    std::string work() const { return fs.fileExists(WorkFilePath()) ? fs.readAll(WorkFilePath()) : "<none>"; }
};

}  // namespace editortest
}  // namespace gyrel
