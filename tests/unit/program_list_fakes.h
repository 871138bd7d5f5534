#pragma once
// Fakes shared by the list, DESKPL and batch tests: an in-memory file system
// holding Windows-style paths, and an operator that answers from a script.
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/context.h"
#include "editor/editor_state.h"
#include "editor/multi_files.h"
#include "platform/file_system.h"
#include "platform/memory_settings_store.h"
#include "platform/no_port.h"
#include "platform/operator.h"
#include "platform/virtual_clock.h"

namespace gyrel::listtest {

class MemoryFs : public FileSystem {
public:
    std::map<std::string, std::string> files;

    bool folderExists(const std::string&) const override { return true; }
    void createFolder(const std::string&) override {}
    bool fileExists(const std::string& p) const override { return files.count(p) != 0; }
    void createTextFile(const std::string& p) override { files[p] = ""; }
    std::string readAll(const std::string& p) const override {
        if (!files.count(p)) throw FileError("no file " + p);
        return files.at(p);
    }
    void writeAll(const std::string& p, const std::string& b) override { files[p] = b; }
    void append(const std::string& p, const std::string& b) override { files[p] += b; }
    void copyFile(const std::string& from, const std::string& to) override { writeAll(to, readAll(from)); }
    void replaceFile(const std::string& p, const std::string& b) override { writeAll(p, b); }
};

struct Shown {
    std::string prompt;
    MsgButtons buttons;
    MsgIcon icon;
    std::string title;
};

class ScriptedOperator : public Operator {
public:
    std::vector<Shown> shown;
    std::deque<int> answers;                       // message box answers, Yes when empty
    std::deque<std::optional<std::string>> files;  // dialog results, cancel when empty
    std::vector<FileDialogRequest> dialogs;
    int beeps = 0;

    int messageBox(const std::string& prompt, MsgButtons b, MsgIcon i, const std::string& t) override {
        shown.push_back({prompt, b, i, t});
        if (answers.empty()) return b == MsgButtons::Ok ? AnswerOk : AnswerYes;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest& r) override { return next(r); }
    std::optional<std::string> saveFileDialog(const FileDialogRequest& r) override { return next(r); }
    void beep() override { ++beeps; }

private:
    std::optional<std::string> next(const FileDialogRequest& r) {
        dialogs.push_back(r);
        if (files.empty()) return std::nullopt;
        const auto f = files.front();
        files.pop_front();
        return f;
    }
};

// The multiple-files panel over the in-memory files, its working folder held in memory too.
struct MultiFilesRig {
    MultiFilesRig() {
        setenv("GYREL_HOME", "H:\\gyrel", 1);
        ctx.applyLanguage("EN");
    }
    ~MultiFilesRig() { unsetenv("GYREL_HOME"); }
    MemoryFs fs;
    ScriptedOperator op;
    NoPort port;
    VirtualClock clock;
    MemorySettingsStore settings;
    Context ctx{Services{port, clock, settings, fs, op}};
    EditorState ed;
    MultiFiles mf{ctx, ed};
};

}  // namespace gyrel::listtest
