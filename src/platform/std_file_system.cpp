#include "platform/std_file_system.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/file_checks.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace gyrel {

namespace {
std::string systemReason() { return std::generic_category().message(errno); }

// shownAs: the name the operator knows, when `path` is a file written beside it.
void writeBytes(const std::string& path, const std::string& bytes, std::ios::openmode mode,
                const std::string& shownAs = {}) {
    const std::string& name = shownAs.empty() ? path : shownAs;
    errno = 0;
    std::ofstream out(localPath(path), std::ios::binary | mode);
    if (!out) throw FileError("cannot write " + name + ": " + systemReason());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) throw FileError("cannot write " + name + ": " + systemReason());
}

// Far beyond any file the program keeps; a device or an endless file given by
// mistake is refused before it is read.
constexpr std::uintmax_t kAnyFileLimit = 64u << 20;
}  // namespace

void appendWhole(FileSystem& fs, const std::string& path, const std::string& bytes) {
    fs.replaceFile(path, (fs.fileExists(path) ? fs.readAll(path) : std::string()) + bytes);
}

std::string fileNameOf(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    if (last == '/' || last == '\\') return folder + name;
#ifdef _WIN32
    return folder + "\\" + name;
#else
    return folder + "/" + name;
#endif
}

bool StdFileSystem::folderExists(const std::string& path) const {
    std::error_code ec;
    try {
        return fs::is_directory(localPath(path), ec);
    } catch (const FileError&) {
        return false;  // a name the system cannot hold names nothing
    }
}

void StdFileSystem::createFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directory(localPath(path), ec);
    if (ec) throw FileError("cannot create folder " + path + ": " + ec.message());
}

bool StdFileSystem::fileExists(const std::string& path) const {
    std::error_code ec;
    try {
        return fs::is_regular_file(localPath(path), ec);
    } catch (const FileError&) {
        return false;  // a name the system cannot hold names nothing
    }
}

void StdFileSystem::createTextFile(const std::string& path) { writeBytes(path, "", std::ios::trunc); }

std::string StdFileSystem::readAll(const std::string& path) const {
    return readInputFile(path, kAnyFileLimit, "file");
}

void StdFileSystem::writeAll(const std::string& path, const std::string& bytes) {
    writeBytes(path, bytes, std::ios::trunc);
}

void StdFileSystem::append(const std::string& path, const std::string& bytes) {
    writeBytes(path, bytes, std::ios::app);
}

void StdFileSystem::copyFile(const std::string& from, const std::string& to) {
    replaceFile(to, readAll(from));
}

// The one save helper. A symbolic link is followed and its target replaced;
// the mode (and, where allowed, the owner) of the file replaced is kept; what
// is not a regular file, or is read-only, is refused. The replacement is a new
// file renamed over the old one, so a reader never sees half a file; another
// hard link to the old file keeps the old contents.
void StdFileSystem::replaceFile(const std::string& path, const std::string& bytes) {
    const std::string target = saveTarget(path);
    const std::string why = unwritableReason(target);
    if (!why.empty()) throw FileError("cannot write " + path + ": " + why);
    const fs::path t = localPath(target);
    std::error_code ec;
    const fs::file_status old = fs::status(t, ec);
    const bool existed = !ec && fs::exists(old);
    const fs::path temp = t.parent_path() / localPath(t.filename().u8string() + ".tmp~");
    fs::remove(temp, ec);
    try {
        writeBytes(temp.u8string(), bytes, std::ios::trunc, path);
    } catch (const FileError&) {
        fs::remove(temp, ec);  // a disk that filled up leaves no half file beside
        throw;
    }
    if (existed) {
        fs::permissions(temp, old.permissions(), fs::perm_options::replace, ec);
#ifndef _WIN32
        struct stat info {};
        if (::stat(t.c_str(), &info) == 0 && ::chown(temp.c_str(), info.st_uid, info.st_gid) != 0) {
            // Not the owner's to give away: the file becomes the saver's, as any new file would.
        }
#endif
    }
    fs::rename(temp, t, ec);
    if (ec) {
        const std::string reason = ec.message();
        fs::remove(temp, ec);
        throw FileError("cannot write " + path + ": " + reason);
    }
}

}  // namespace gyrel
