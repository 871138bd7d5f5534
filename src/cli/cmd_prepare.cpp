#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/cli.h"
#include "cli/program_check.h"

namespace gyrel::cli {

// gyrel-cli prepare --model M [--lang L] FILE: the check, then "CamCount N" and
// one "POSITION MASK" line per stored change point (at most 120) on standard
// output. A failed check: exit 1, the box on standard error, nothing on standard
// output. More change points than the table keeps: the "too much cams" box on
// standard error, and still exit 0.
void addPrepareCommand(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<CheckOptions>();
    CLI::App* sub = app.add_subcommand("prepare", "Check a cam program and print its table of change points");
    addCheckOptions(sub, *o);
    sub->callback([o, &env, exitCode] {
        std::string text;
        if (!readProgram(o->file, text, env.err)) {
            *exitCode = 2;
            return;
        }
        const ProgramCheckResult r = checkProgramText(o->model, o->language, text, env.clock);
        if (!r.passed) {
            writeFailure(env.err, o->file, r);
            *exitCode = 1;
            return;
        }
        for (const auto& [title, prompt] : r.notices) writeBox(env.err, title, prompt);
        env.out << "CamCount " << static_cast<long long>(r.table.CamCount) << '\n';
        for (int i = 0; i < r.table.storedCount(); ++i)
            env.out << r.table.position(i) << ' ' << r.table.mask(i) << '\n';
        *exitCode = 0;
    });
}

}  // namespace gyrel::cli
