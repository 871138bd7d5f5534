#pragma once
#include "platform/file_system.h"

namespace gyrel {

// The file system over std::filesystem and binary streams.
class StdFileSystem : public FileSystem {
public:
    bool folderExists(const std::string& path) const override;
    void createFolder(const std::string& path) override;
    bool fileExists(const std::string& path) const override;
    void createTextFile(const std::string& path) override;
    std::string readAll(const std::string& path) const override;
    void writeAll(const std::string& path, const std::string& bytes) override;
    void append(const std::string& path, const std::string& bytes) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void replaceFile(const std::string& path, const std::string& bytes) override;
    void renameNew(const std::string& from, const std::string& to) override;
    void removeTree(const std::string& path) override;
};

}  // namespace gyrel
