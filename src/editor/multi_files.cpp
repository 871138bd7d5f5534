#include "editor/multi_files.h"

#include "device/deskpl.h"
#include "editor/editor_files.h"
#include "lang/file_name_texts.h"
#include "platform/file_name_text.h"

namespace gyrel {

namespace {
const char* const kError = "ERROR               ";

bool endsWithLis(const std::string& p) {
    if (p.size() < 4) return false;
    std::string tail = p.substr(p.size() - 4);
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == ".lis";
}
}  // namespace

std::string proposedListName(const std::string& deskplPath) {
    std::string name = deskplPath;
    const auto cut = name.find_last_of("\\/");
    for (std::size_t i = (cut == std::string::npos ? 0 : cut + 1); i < name.size(); ++i)
        if (name[i] == '.') name[i] = '_';
    return name;
}

// Only a ".lis" ending is cut: a list chosen without it (the proposed name
// kept) would otherwise lose four characters of its own name.
std::string listBaseOf(const std::string& listPath) {
    return endsWithLis(listPath) ? listPath.substr(0, listPath.size() - 4) : listPath;
}

MultiFiles::MultiFiles(Context& ctx, EditorState& ed) : ctx_(ctx), ed_(ed) {}

int MultiFiles::checkModif(int mode) { return ctx_.hooks.checkModif ? ctx_.hooks.checkModif(mode) : AnswerYes; }

void MultiFiles::aggBox() {
    if (ctx_.hooks.aggBox) {
        ctx_.hooks.aggBox();
        return;
    }
    try {
        ed_.ProgBox = ctx_.svc.fs.readAll(WorkFilePath());
    } catch (const FileError&) {
        ed_.ProgBox.clear();
    }
}

bool MultiFiles::leggiLav(int code) { return hooks.leggiLav ? hooks.leggiLav(code) : true; }

std::string MultiFiles::programFilter() const {
    const std::string& e = ctx_.model.FileExtension;
    return "Text Files (*." + e + ")|*." + e + "|All Files (*.*)|*.*";
}

void MultiFiles::fileNotPresent(const std::string& title) {
    ctx_.svc.op.messageBox(ctx_.msg(17), MsgButtons::Ok, MsgIcon::Exclamation, title);
}

void MultiFiles::loadProgramFile(const std::string& path) {
    FileSystem& fs = ctx_.svc.fs;
    if (!fs.fileExists(WorkFilePath())) fs.createTextFile(WorkFilePath());
    fs.copyFile(path, WorkFilePath());
    if (hooks.programPathToMain) hooks.programPathToMain(path);
    ed_.ModifiedFlag = false;
    aggBox();
}

void MultiFiles::ConfiguraLista() {
    EditorLayout& l = ctx_.editorLayout;
    l.offsetsPanel = false;
    l.outputGrid712 = false;
    l.multiFilePanel = true;
    l.multiFileCaption = kMultiCaption;
    if (hooks.setProgramNumber) hooks.setProgramNumber("");
    l.appendButtons = false;
    l.selectorEnabled = false;
    l.multiFileBox = true;
    l.multiFileChecked = true;
    ed_.SelezMulti = true;
}

void MultiFiles::SelezMultiReleased(bool ticked) {
    if (ticked) {
        ConfiguraLista();
        return;
    }
    ed_.SelezMulti = false;
    ctx_.editorLayout.multiFileChecked = false;
    ed_.CurrentSlot = 16;
    if (hooks.preConf) hooks.preConf();
}

void MultiFiles::MenuLoadList() {
    if (checkModif(1) == AnswerNo) return;
    ConfiguraLista();
    LoadList();
}

void MultiFiles::LoadList() {
    panel.MultiPathBack.fill(kSlotNormal);
    if (checkModif(1) == AnswerNo) return;
    ed_.ProgBox.clear();
    writeWorkFile(ctx_.svc.fs, "");
    if (hooks.clearProgramFrame) hooks.clearProgramFrame();

    const auto chosen = ctx_.svc.op.openFileDialog({"", kListFilter, panel.ListFilePath});
    if (!chosen || chosen->empty()) return;
    FileSystem& fs = ctx_.svc.fs;
    std::string bytes;
    try {
        if (!fs.fileExists(*chosen)) throw FileError("missing");
        bytes = fs.readAll(*chosen);
    } catch (const FileError&) {
        fileNotPresent();
        return;
    }
    panel.ListFilePath = *chosen;
    ctx_.editorLayout.multiFileCaption = *chosen;

    const ListReadResult read = parseList(bytes);
    if (!read.ok) {
        ctx_.svc.op.messageBox(ctx_.msg(18), MsgButtons::Ok, MsgIcon::Exclamation, "");
        return;
    }
    ed_.ProgramFilePath.clear();
    bool missing = false;
    for (int k = 0; k < 16; ++k) {
        panel.MultiPath[k] = pathToOpen(fs, read.paths[k]);
        panel.MultiPathBack[k] = kSlotNormal;
        if (!panel.MultiPath[k].empty() && !fs.fileExists(panel.MultiPath[k])) {
            panel.MultiPathBack[k] = kSlotMissing;
            missing = true;
        }
    }
    if (missing) fileNotPresent();
}

void MultiFiles::MenuSaveList() {
    ConfiguraLista();
    SelectList();
    SaveList();
}

void MultiFiles::SelectList() {
    const auto chosen = ctx_.svc.op.saveFileDialog({"", kListFilter, panel.ListFilePath});
    if (chosen && !chosen->empty()) panel.ListFilePath = *chosen;
}

bool MultiFiles::SaveList() {
    if (panel.ListFilePath.empty()) return false;
    try {
        ctx_.svc.fs.replaceFile(panel.ListFilePath, formatList(panel.MultiPath));
    } catch (const UnwritableName& e) {
        ctx_.svc.op.messageBox(std::string(nameNotWritableText(ctx_.LanguageCode)) + "\r\n" + e.path(), MsgButtons::Ok,
                               MsgIcon::Exclamation, kError);
        return false;
    } catch (const FileError&) {
        ctx_.svc.op.messageBox(kError, MsgButtons::Ok, MsgIcon::Exclamation, panel.ListFilePath);
        return false;
    }
    ctx_.editorLayout.multiFileCaption = panel.ListFilePath;
    return true;
}

void MultiFiles::MultiButt(int k) {
    if (k < 0 || k > 15 || !panel.MultiButtEnabled) return;
    panel.MultiPathBack[k] = kSlotNormal;
    const auto chosen = ctx_.svc.op.openFileDialog({"", programFilter(), ed_.ProgramFilePath});
    if (!chosen || chosen->empty()) return;
    if (!ctx_.svc.fs.fileExists(*chosen)) {
        panel.MultiPathBack[k] = kSlotMissing;
        fileNotPresent();
        return;
    }
    panel.MultiPath[k] = *chosen;
    ed_.ProgramFilePath = *chosen;
    loadProgramFile(*chosen);
}

void MultiFiles::OpenSlot(int k) {
    if (k < 0 || k > 15) return;
    ctx_.svc.clock.pumpEvents();
    ed_.CurrentSlot = k;
    if (checkModif(1) != AnswerYes) return;
    const std::string& path = panel.MultiPath[k];
    if (path == ed_.ProgramFilePath) return;
    if (path.empty() || !ctx_.svc.fs.fileExists(path)) {
        ed_.ProgBox.clear();
        ed_.ProgramFilePath.clear();
        writeWorkFile(ctx_.svc.fs, "");
        aggBox();
        return;
    }
    ed_.ProgramFilePath = path;
    loadProgramFile(path);
    leggiLav(ed_.graphVisible ? 99 : k);
}

int MultiFiles::MultiPathKeyDown(int k, Key key) {
    if (k < 0 || k > 15) return 0;
    ed_.CurrentSlot = k;
    switch (key) {
        case Key::Enter:
        case Key::Down:
            MultiPathLeave(k);
            return (k + 1) % 16;
        case Key::Up:
            MultiPathLeave(k);
            return (k + 15) % 16;
        case Key::Other:
            break;
    }
    return k;
}

void MultiFiles::MultiPathLeave(int k) {
    if (k >= 0 && k <= 15) CheckSlotFile(k);
}

bool MultiFiles::CheckSlotFile(int k) {
    const std::string& path = panel.MultiPath[k];
    if (!path.empty() && !ctx_.svc.fs.fileExists(path)) {
        panel.MultiPathBack[k] = kSlotMissing;
        fileNotPresent();
        return false;
    }
    panel.MultiPathBack[k] = kSlotNormal;
    return true;
}

void MultiFiles::MenuDeskpl() {
    if (checkModif(1) == AnswerNo) return;
    ConfiguraLista();
    RichiamaDeskpl();
}

void MultiFiles::RichiamaDeskpl() {
    Operator& op = ctx_.svc.op;
    FileSystem& fs = ctx_.svc.fs;
    const auto chosen = op.openFileDialog({"", "All Files (*.*)|*.*", panel.DeskplPath});
    if (!chosen || chosen->empty() || !fs.fileExists(*chosen)) {
        aggBox();
        op.messageBox(kError, MsgButtons::Ok, MsgIcon::Exclamation, "");
        return;
    }
    panel.DeskplPath = *chosen;
    panel.ListFilePath = proposedListName(panel.DeskplPath);
    SelectList();

    DeskplOptions opt;
    opt.deskplPath = panel.DeskplPath;
    opt.listBase = listBaseOf(panel.ListFilePath);
    opt.extension = ctx_.model.FileExtension;
    opt.maxPosition = ctx_.model.MaxPosition;
    opt.dateText = hooks.dateNow ? hooks.dateNow() : generalDateNow();
    opt.importedOn = ctx_.msg(48);
    opt.fromFile = ctx_.msg(49);
    opt.programNo = ctx_.msg(50);

    panel.MultiPath = SlotPaths{};
    panel.MultiPathBack.fill(kSlotNormal);
    const DeskplResult r = DecodeDPL(fs, panel.DeskplPath, opt);
    panel.MultiPath = r.paths;  // the files written before an error stay named
    ctx_.svc.clock.pumpEvents();
    if (!r.ok) {
        // The list file is left as it was: a partial list would hide the programs
        // that could not be converted.
        op.messageBox(kError, MsgButtons::Ok, MsgIcon::Exclamation, "");
        return;
    }
    SaveList();

    ed_.ProgramFilePath.clear();
    ed_.ModifiedFlag = false;
    writeWorkFile(ctx_.svc.fs, ed_.ProgBox);
    aggBox();
}

}  // namespace gyrel
