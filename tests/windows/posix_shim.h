#pragma once
// The few POSIX calls the unit tests use for temporary folders and the working
// folder variable, over the Windows C runtime. Given to every test file of the
// Windows build with -include.
#ifdef _WIN32
#include <io.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

inline int setenv(const char* name, const char* value, int overwrite) {
    return !overwrite && std::getenv(name) ? 0 : _putenv_s(name, value);
}

inline int unsetenv(const char* name) { return _putenv_s(name, ""); }

// "/tmp/..." is the Linux /tmp under Wine (drive Z: is the root); any folder works.
inline char* mkdtemp(char* pattern) {
    if (_mktemp_s(pattern, std::strlen(pattern) + 1) != 0) return nullptr;
    std::error_code ec;
    return std::filesystem::create_directories(pattern, ec) ? pattern : nullptr;
}
#endif
