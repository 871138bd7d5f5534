#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/cli.h"
#include "cli/program_check.h"

namespace gyrel::cli {

// gyrel-cli check --model M [--lang L] FILE: exit 0 when the program passes the
// editor's full check; exit 1 with the message box (title, then the prompt's
// lines) on standard error when not; exit 2 when the file cannot be read.
void addCheckCommand(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<CheckOptions>();
    CLI::App* sub = app.add_subcommand("check", "Check a cam program as the editor does");
    addCheckOptions(sub, *o);
    sub->callback([o, &env, exitCode] {
        std::string text;
        if (!readProgram(o->file, text, env.err)) {
            *exitCode = 2;
            return;
        }
        const ProgramCheckResult r = checkProgramText(o->model, o->language, text, env.clock);
        if (!r.passed) writeFailure(env.err, o->file, r);
        *exitCode = r.passed ? 0 : 1;
    });
}

}  // namespace gyrel::cli
