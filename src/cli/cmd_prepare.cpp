#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "cli/options.h"
#include "cli/program_check.h"

namespace gyrel::cli {

// gyrel-cli prepare --model M [--lang L] [--json] FILE: the check, then
// "CamCount N" and one "POSITION MASK" line per stored change point (at most
// 120) on standard output; with --json one object instead:
// {"camCount":N,"points":[{"position":P,"mask":M},...]}. A failed check: exit 1,
// the box on standard error, nothing on standard output. More change points
// than the table keeps: the "too much cams" box on standard error, and still exit 0.
void addPrepareCommand(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<CheckOptions>();
    CLI::App* sub = app.add_subcommand("prepare", "Check a cam program and print its table of change points");
    addCheckOptions(sub, *o);
    addJsonFlag(sub, o->json, "Print one JSON object: camCount and the points (position, mask)");
    sub->callback([o, &env, exitCode] {
        std::string text;
        if (!readProgram(o->file, text, env.err)) {
            *exitCode = ExitRefused;
            return;
        }
        const ProgramCheckResult r = checkProgramText(o->model, o->language, text, env.clock);
        if (!r.passed) {
            writeFailure(env.err, o->file, r);
            *exitCode = ExitRefused;
            return;
        }
        for (const auto& [title, prompt] : r.notices) writeBox(env.err, title, prompt);
        const long long count = static_cast<long long>(r.table.CamCount);
        if (o->json) {
            env.out << "{\"camCount\":" << count << ",\"points\":[";
            for (int i = 0; i < r.table.storedCount(); ++i)
                env.out << (i ? "," : "") << "{\"position\":" << r.table.position(i)
                        << ",\"mask\":" << r.table.mask(i) << '}';
            env.out << "]}\n";
        } else {
            env.out << "CamCount " << count << '\n';
            for (int i = 0; i < r.table.storedCount(); ++i)
                env.out << r.table.position(i) << ' ' << r.table.mask(i) << '\n';
        }
        *exitCode = ExitDone;
    });
}

}  // namespace gyrel::cli
