#include "cli/program_check.h"

#include <CLI/CLI.hpp>
#include <map>
#include <memory>
#include <ostream>

#include "app/context.h"
#include "cli/terminal_text.h"
#include "editor/editor_check.h"
#include "platform/file_checks.h"
#include "platform/memory_settings_store.h"
#include "platform/no_port.h"

namespace gyrel::cli {

namespace {


// Files kept in memory, so a check from the shell never rewrites the editor's
// work file.
class MemoryFiles : public FileSystem {
public:
    bool folderExists(const std::string&) const override { return true; }
    void createFolder(const std::string&) override {}
    bool fileExists(const std::string& p) const override { return files_.count(p) != 0; }
    void createTextFile(const std::string& p) override { files_[p].clear(); }
    std::string readAll(const std::string& p) const override {
        auto it = files_.find(p);
        if (it == files_.end()) throw FileError("missing: " + p);
        return it->second;
    }
    void writeAll(const std::string& p, const std::string& b) override { files_[p] = b; }
    void append(const std::string& p, const std::string& b) override { files_[p] += b; }
    void copyFile(const std::string& from, const std::string& to) override { files_[to] = readAll(from); }
    void replaceFile(const std::string& p, const std::string& b) override { files_[p] = b; }

private:
    std::map<std::string, std::string> files_;
};

// Every box is answered OK and remembered.
class RecordingOperator : public Operator {
public:
    struct Box {
        std::string title, prompt;
        MsgIcon icon;
    };
    std::vector<Box> boxes;
    int messageBox(const std::string& prompt, MsgButtons, MsgIcon icon, const std::string& title) override {
        boxes.push_back({title, prompt, icon});
        return AnswerOk;
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    void beep() override {}
};

}  // namespace

const char* const kLanguageHelp =
    "Language of the messages: IT, EN, DE or FR (default EN, the language of scripts and logs; DE shows English)";

std::vector<std::string> modelCodes() {
    std::vector<std::string> codes;
    for (const ModelInfo& m : modelTable()) codes.push_back(m.code);
    return codes;
}

std::vector<std::string> languageCodes() { return {"IT", "EN", "DE", "FR"}; }

ProgramCheckResult checkProgramText(const std::string& model, const std::string& language, std::string text,
                                    Clock& clock) {
    NoPort port;
    MemorySettingsStore settings;
    MemoryFiles files;
    RecordingOperator op;
    Context ctx(Services{port, clock, settings, files, op});
    const ModelInfo& info = modelOrNorm(model);
    ctx.model.ModelType = info.code;
    ctx.model.LastOutputIndex = info.outputs - 1;
    ctx.model.MaxPosition = info.maxPosition;
    ctx.applyLanguage(language);

    auto ed = std::make_unique<EditorState>();
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    ed->ProgBox = std::move(text);
    ed->Check1 = true;
    ed->ResizeSeen = 1;
    EditorEnv env{ctx, *ed, {}};

    ProgramCheckResult result;
    if (ctx.model.ModelType == "V712") {
        Leggi712(env);
        result.passed = true;
    } else {
        int slot = 99;
        result.passed = LeggiLav(env, slot);
    }
    auto lineAt = [&](int at) {
        const std::string& t = ed->ProgBox;
        int line = 1;
        for (int i = 0; i < at && i < static_cast<int>(t.size()); ++i)
            if (t[static_cast<std::size_t>(i)] == '\n') ++line;
        return line;
    };
    if (!result.passed && !ed->ParseOk) {
        result.failLine = lineAt(ed->SelStart);
    } else if (!result.passed && ed->FailedRow >= 0 && ed->FailedRow < static_cast<int>(ed->CamRowSpans.size())) {
        result.failLine = lineAt(ed->CamRowSpans[static_cast<std::size_t>(ed->FailedRow)].start[0]);
    }
    for (const auto& box : op.boxes) {
        if (!result.passed && box.icon == MsgIcon::Exclamation && result.failTitle.empty()) {
            result.failTitle = box.title;
            result.failPrompt = box.prompt;
        } else {
            result.notices.emplace_back(box.title, box.prompt);
        }
    }
    result.table = ed->camTable;
    return result;
}

void addCheckOptions(CLI::App* sub, CheckOptions& o) {
    sub->add_option("--model", o.model, "Device model: NORM, OLD, V712, V820AX, V820HX, KMT71 or Px71")
        ->required()
        ->check(CLI::IsMember(modelCodes()));
    sub->add_option("--lang", o.language, kLanguageHelp)->check(CLI::IsMember(languageCodes()));
    sub->add_option("FILE", o.file, "Program file (Windows-1252 text)")->required();
}

bool readProgram(const std::string& path, std::string& text, std::ostream& err) {
    try {
        text = readInputFile(path, kProgramFileLimit, "program file");
    } catch (const FileError& e) {
        err << e.what() << '\n';
        return false;
    }
    return true;
}

void writeFailure(std::ostream& out, const std::string& file, const ProgramCheckResult& r) {
    writeBox(out, r.failTitle, r.failPrompt);
    writeLocation(out, file, r);
}

void writeLocation(std::ostream& out, const std::string& file, const ProgramCheckResult& r) {
    std::string title = r.failTitle;
    while (!title.empty() && title.back() == ' ') title.pop_back();
    while (!title.empty() && title.front() == ' ') title.erase(title.begin());
    out << printable(file) << ':';
    if (r.failLine > 0) out << r.failLine << ':';
    out << ' ' << title << '\n';
}

void writeBox(std::ostream& out, const std::string& title, const std::string& prompt) {
    out << printable(title, true) << '\n' << printable(prompt, true) << '\n';
}

}  // namespace gyrel::cli
