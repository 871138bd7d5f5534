#pragma once
// The few POSIX calls the unit tests use for temporary folders and the working
// folder variable, over the Windows C runtime. Given to every test file of the
// Windows build with -include.
#ifdef _WIN32
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name)) return 0;
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) { return _putenv_s(name, ""); }

// "/tmp/..." is the Linux /tmp under Wine (drive Z: is the root); any folder works.
inline char* mkdtemp(char* pattern) {
    const std::size_t n = std::strlen(pattern);  // ends in "XXXXXX"
    static std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = n - 6; i < n; ++i) pattern[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[random() % 36];
        std::error_code ec;
        if (std::filesystem::create_directories(pattern, ec)) return pattern;
    }
    return nullptr;
}
#endif
