#include "platform/working_folder.h"

#include <cstdlib>
#include <filesystem>

#include "platform/file_system.h"

namespace gyrel {

std::string workingFolder() {
    if (const char* home = std::getenv("GYREL_HOME"); home && *home) return home;
#ifdef _WIN32
    return "c:\\varnel\\gyrel";
#else
    const char* user = std::getenv("HOME");
    return std::string(user && *user ? user : ".") + "/varnel/gyrel";
#endif
}

std::string workingFolderParent() {
    std::string folder = workingFolder();
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    const auto cut = folder.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : folder.substr(0, cut);
}

std::string inWorkingFolder(const std::string& name) { return joinPath(workingFolder(), name); }

}  // namespace gyrel
