#pragma once
#include <iosfwd>

namespace gyrel::cli {

// Runs one gyrel-cli job; returns the exit code. Output goes to out and err.
int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace gyrel::cli
