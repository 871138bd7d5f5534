#include "platform/file_checks.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace gyrel {

fs::path localPath(const std::string& path) {
    try {
        return fs::u8path(path);
    } catch (const std::exception& e) {
        throw FileError("cannot use " + path + ": the name is not valid text (" + e.what() + ")");
    }
}

std::string unreadableReason(const std::string& path, std::uintmax_t limit, const std::string& kind) {
    std::error_code ec;
    const fs::path p = localPath(path);
    const fs::file_status st = fs::status(p, ec);
    if (ec || !fs::exists(st)) return ec ? ec.message() : std::string("no such file");
    if (fs::is_directory(st)) return "it is a directory, not a " + kind;
    if (!fs::is_regular_file(st)) return "it is not a regular file (a device, pipe or socket), not a " + kind;
    const std::uintmax_t size = fs::file_size(p, ec);
    if (ec) return ec.message();
    if (size > limit)
        return "it holds " + std::to_string(size) + " bytes; a " + kind + " holds at most " + std::to_string(limit);
    return {};
}

std::string readInputFile(const std::string& path, std::uintmax_t limit, const std::string& kind) {
    const std::string why = unreadableReason(path, limit, kind);
    if (!why.empty()) throw FileError("cannot read " + path + ": " + why);
    std::ifstream in(localPath(path), std::ios::binary);
    if (!in) throw FileError("cannot read " + path + ": it cannot be opened");
    std::string bytes;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > limit) throw FileError("cannot read " + path + ": it grew beyond the limit of a " + kind);
    }
    if (in.bad()) throw FileError("cannot read " + path + ": a read failed");
    return bytes;
}

std::string saveTarget(const std::string& path) {
    fs::path p = localPath(path);
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) break;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return p.u8string();
}

std::string unwritableReason(const std::string& target) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(localPath(target), ec);
    if (ec || !fs::exists(st)) return {};
    if (fs::is_symlink(st)) return "too many symbolic links";
    if (fs::is_directory(st)) return "it is a directory";
    if (!fs::is_regular_file(st)) return "it is not a regular file (a device, pipe or socket)";
    const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((st.permissions() & writable) == fs::perms::none) return "the file is read-only";
    return {};
}

}  // namespace gyrel
