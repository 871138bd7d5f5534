#pragma once
#include <stdexcept>
#include <string>

namespace gyrel {

class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file operations the program relies on. Contents are the bytes of the
// file (Windows-1252 text with CR LF as written by earlier tools), never recoded.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool folderExists(const std::string& path) const = 0;
    virtual void createFolder(const std::string& path) = 0;  // parent must exist
    virtual bool fileExists(const std::string& path) const = 0;
    virtual void createTextFile(const std::string& path) = 0;  // empty file
    virtual std::string readAll(const std::string& path) const = 0;  // raises FileError
    virtual void writeAll(const std::string& path, const std::string& bytes) = 0;  // from the start
    virtual void append(const std::string& path, const std::string& bytes) = 0;
    virtual void copyFile(const std::string& from, const std::string& to) = 0;  // replaces `to`
    // Writes beside the file and renames over it: a reader never sees half a file.
    virtual void replaceFile(const std::string& path, const std::string& bytes) = 0;
    // Folder-level steps of a job that must appear whole or not at all (a
    // backup folder): rename a file or folder onto a name that does not exist
    // yet, and remove a folder with everything in it. Raise FileError.
    virtual void renameNew(const std::string& from, const std::string& to);
    virtual void removeTree(const std::string& path);
};

// Adds bytes at the end of a file, the whole file going through replaceFile (a
// missing file is made).
void appendWhole(FileSystem& fs, const std::string& path, const std::string& bytes);

// The last component of a path, with either separator ("getfilename").
std::string fileNameOf(const std::string& path);
// Joins a folder and a name with the platform's separator.
std::string joinPath(const std::string& folder, const std::string& name);

// Character-at-a-time reading of a text already in memory, in the manner of a text stream.
class TextReader {
public:
    explicit TextReader(std::string content) : text_(std::move(content)) {}
    bool atEnd() const { return pos_ >= text_.size(); }
    char read() { return atEnd() ? '\0' : text_[pos_++]; }
    std::string readAll() { std::string rest = text_.substr(pos_ < text_.size() ? pos_ : text_.size()); pos_ = text_.size(); return rest; }
    std::size_t position() const { return pos_; }

private:
    std::string text_;
    std::size_t pos_ = 0;
};

}  // namespace gyrel
