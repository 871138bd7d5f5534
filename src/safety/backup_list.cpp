#include "safety/backup_list.h"

#include "platform/file_system.h"

namespace gyrel {

std::string formatBackupList(const SlotPaths& paths, const std::array<bool, 16>& empty) {
    std::string out;
    for (int k = 0; k < 16; ++k) {
        const std::string n = std::to_string(k + 1);
        if (!paths[static_cast<std::size_t>(k)].empty())
            out += n + "   (" + paths[static_cast<std::size_t>(k)] + ")\r\n";
        else if (empty[static_cast<std::size_t>(k)])
            out += "'" + n + "   empty\r\n";
    }
    return out;
}

namespace {

bool absolutePath(const std::string& p) {
    if (!p.empty() && (p[0] == '/' || p[0] == '\\')) return true;
    return p.size() >= 2 && p[1] == ':';
}

std::string folderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// "'N   empty": the slot number of such a line, or 0.
int emptyMarker(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size() || line[i] != '\'') return 0;
    ++i;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    int n = 0;
    const std::size_t digits = i;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9' && n < 100) n = n * 10 + (line[i++] - '0');
    if (i == digits || n < 1 || n > 16) return 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::string rest = line.substr(i);
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ')) rest.pop_back();
    return rest == "empty" ? n : 0;
}

}  // namespace

BackupListRead readBackupList(const std::string& bytes, const std::string& listPath) {
    BackupListRead r;
    const ListReadResult list = parseList(bytes);
    r.ok = list.ok;
    if (!r.ok) return r;
    const std::string folder = folderOf(listPath);
    for (int k = 0; k < 16; ++k) {
        const std::string& p = list.paths[static_cast<std::size_t>(k)];
        r.paths[static_cast<std::size_t>(k)] = p.empty() || absolutePath(p) || folder.empty() ? p : joinPath(folder, p);
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        const int n = emptyMarker(bytes.substr(start, end - start));
        if (n > 0 && r.paths[static_cast<std::size_t>(n - 1)].empty()) r.empty[static_cast<std::size_t>(n - 1)] = true;
        start = end + 1;
    }
    return r;
}

std::string backupProgramName(int slot, int programNumberOffset, const std::string& extension) {
    std::string base = kBackupListName;
    base = base.substr(0, base.find_last_of('.'));
    return base + "_" + std::to_string(slot + programNumberOffset) + "." + extension;
}

}  // namespace gyrel
