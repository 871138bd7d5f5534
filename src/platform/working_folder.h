#pragma once
#include <string>

namespace gyrel {

// The working folder: GYREL_HOME when set, else "c:\varnel\gyrel" on Windows
// and ~/varnel/gyrel elsewhere.
std::string workingFolder();
// Its parent ("c:\Varnel"), created first at start-up.
std::string workingFolderParent();
// A file in the working folder.
std::string inWorkingFolder(const std::string& name);

}  // namespace gyrel
