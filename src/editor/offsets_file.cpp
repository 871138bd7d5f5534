#include "editor/offsets_file.h"

#include "platform/working_folder.h"

namespace gyrel {

std::string OffsetsFilePath() { return inWorkingFolder("Offs.lav"); }

std::string defaultOffsetsContent() {
    std::string s = "0\r\n";
    for (int i = 0; i < 16; ++i) s += "0   0   0   \r\n";
    return s;
}

void ensureOffsetsFile(FileSystem& fs) {
    const std::string path = OffsetsFilePath();
    if (fs.fileExists(path)) return;
    const std::string parent = workingFolderParent();
    if (!parent.empty() && !fs.folderExists(parent)) fs.createFolder(parent);
    if (!fs.folderExists(workingFolder())) fs.createFolder(workingFolder());
    fs.replaceFile(path, defaultOffsetsContent());
}

std::string offsetsFileContent(const EditorState& st) {
    std::string s = st.Check1 ? "1\r\n" : "0\r\n";
    for (int i = 0; i < 16; ++i) {
        s += st.check2[i] ? "1" : "0";
        s += '\t' + st.Text4[i] + '\t' + st.Text5[i] + "\t\r\n";
    }
    return s;
}

void SaveOffs(FileSystem& fs, const EditorState& st) { fs.replaceFile(OffsetsFilePath(), offsetsFileContent(st)); }

void LoadOffs(EditorState& st, const std::string& content) {
    TextReader in(content);
    const char first = in.read();
    st.Check1 = first == '1';
    if (st.Check1) return;
    in.read();  // the CR LF of the first line
    in.read();
    int field = 0;
    int line = 0;
    std::string buffer;
    while (!in.atEnd()) {
        const char c = in.read();
        if (c == '-' || (c >= '0' && c <= '9')) {
            buffer += c;
        } else if (c == '\t') {
            ++field;
            if (field == 1) {
                st.check2[line] = wholeNumber(buffer) == 1;
            } else if (field == 2) {
                st.Text4[line] = buffer;
            } else {
                st.Text5[line] = buffer;
                field = 0;
            }
            buffer.clear();
        } else if (c == '\r') {
            if (++line > 15) break;
            field = 0;
            buffer.clear();
        }
    }
    ColoriOffs(st);
}

void LoadOffs(FileSystem& fs, EditorState& st) {
    const std::string path = OffsetsFilePath();
    LoadOffs(st, fs.fileExists(path) ? fs.readAll(path) : std::string());
}

}  // namespace gyrel
