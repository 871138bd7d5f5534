#include "platform/std_file_system.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace gyrel {

namespace {
void writeBytes(const std::string& path, const std::string& bytes, std::ios::openmode mode) {
    std::ofstream out(fs::u8path(path), std::ios::binary | mode);
    if (!out) throw FileError("cannot write " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) throw FileError("cannot write " + path);
}
}  // namespace

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
    return fs::is_directory(fs::u8path(path), ec);
}

void StdFileSystem::createFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directory(fs::u8path(path), ec);
    if (ec) throw FileError("cannot create folder " + path + ": " + ec.message());
}

bool StdFileSystem::fileExists(const std::string& path) const {
    std::error_code ec;
    return fs::is_regular_file(fs::u8path(path), ec);
}

void StdFileSystem::createTextFile(const std::string& path) { writeBytes(path, "", std::ios::trunc); }

std::string StdFileSystem::readAll(const std::string& path) const {
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in) throw FileError("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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

void StdFileSystem::replaceFile(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".tmp~";
    writeBytes(temp, bytes, std::ios::trunc);
    std::error_code ec;
    fs::rename(fs::u8path(temp), fs::u8path(path), ec);
    if (ec) {
        fs::remove(fs::u8path(temp), ec);
        throw FileError("cannot replace " + path);
    }
}

}  // namespace gyrel
