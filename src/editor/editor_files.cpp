#include "editor/editor_files.h"

#include "lang/texts.h"
#include "platform/working_folder.h"

namespace gyrel {

std::string WorkFilePath() { return inWorkingFolder("lav.lav"); }

void writeWorkFile(FileSystem& fs, const std::string& text) { fs.replaceFile(WorkFilePath(), text); }

bool mirrorWorkFile(FileSystem& fs, const std::string& text) {
    try {
        writeWorkFile(fs, text);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

std::string readWorkFile(const FileSystem& fs) {
    const std::string path = WorkFilePath();
    return fs.fileExists(path) ? fs.readAll(path) : std::string();
}

std::string programFileFilter(const std::string& extension) {
    return "Text Files (*." + extension + ")|*." + extension + "|All Files (*.*)|*.*";
}

std::string checkModifText(const TextSet& t, int mode) {
    const std::string modified = t.msg[19];
    switch (mode) {
        case 1:
        case 2:
            return modified + " ! " + t.msg[20] + " " + t.msg[mode == 1 ? 21 : 22] + "!" + "\r\n" + "     " + t.msg[25];
        case 3:
            return modified + " ! " + "\r\n" + t.msg[20] + " " + t.msg[23] + "!";
        default:
            return modified + " !";
    }
}

}  // namespace gyrel
