#pragma once
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_port.h"

namespace CLI {
class App;
}

namespace gyrel::cli {

// What a job needs from outside: the streams, the clock and a way to reach a
// real serial port. gyrel-cli passes the Qt ones; tests pass a virtual clock and
// simulated ports.
struct Env {
    std::ostream& out;
    std::ostream& err;
    Clock& clock;
    // Opens nothing: returns a closed port object for the given device path.
    std::function<std::unique_ptr<SerialPort>(const std::string& path)> makePort;
    bool errIsTerminal = false;
};

// Each job adds its subcommand to the parser; the callback it installs runs the
// job and stores its exit code in *exitCode.
using CommandAdder = void (*)(CLI::App& app, Env& env, int* exitCode);

// The program's version, set once in the build.
const char* version();

// Runs one gyrel-cli job; returns the exit code (cli/exit_codes.h): parse
// errors, an unknown subcommand, model or language are usage errors.
int run(const std::vector<std::string>& args, Env& env);

}  // namespace gyrel::cli
