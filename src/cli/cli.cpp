#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/options.h"

#ifndef GYREL_VERSION
#define GYREL_VERSION "0"
#endif

namespace gyrel::cli {

namespace {

// A word where a subcommand is expected that names none: said as such, rather
// than CLI11's "A subcommand is required" or "arguments were not expected".
bool unknownSubcommand(CLI::App& app, const std::vector<std::string>& args, Env& env) {
    CLI::App* at = &app;
    for (const std::string& a : args) {
        if (a.empty() || a[0] == '-') return false;
        const auto subs = at->get_subcommands([](CLI::App*) { return true; });
        if (subs.empty()) return false;
        CLI::App* next = nullptr;
        for (CLI::App* s : subs)
            if (s->check_name(a)) next = s;
        if (!next) {
            std::string known;
            for (CLI::App* s : subs)
                if (!s->get_group().empty()) known += (known.empty() ? "" : ", ") + s->get_name();
            env.err << at->get_name() << ": unknown subcommand \"" << a << "\" (one of " << known << ")\n"
                    << "Run with --help for more information.\n";
            return true;
        }
        at = next;
    }
    return false;
}

void addCompletionCommand(CLI::App& app, Env& env, int* exitCode) {
    auto shell = std::make_shared<std::string>();
    CLI::App* sub = app.add_subcommand("completion", "Print a shell completion script");
    sub->group("");  // not listed: the package installs the script
    sub->add_option("SHELL", *shell, "bash")->required()->check(CLI::IsMember({"bash"}));
    sub->callback([&app, &env, exitCode, shell] {  // holds the option's string for the parser
        env.out << bashCompletion(app);
        *exitCode = ExitDone;
    });
}

}  // namespace

const char* version() { return GYREL_VERSION; }

int run(const std::vector<std::string>& args, Env& env) {
    CLI::App app{"gyrel-cli " GYREL_VERSION ": cam encoder jobs from the shell", "gyrel-cli"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("gyrel-cli ") + GYREL_VERSION);
    int exitCode = ExitDone;
    for (CommandAdder add : allCommands()) add(app, env, &exitCode);
    addCompletionCommand(app, env, &exitCode);
    app.footer(exitCodeTable());  // after the subcommands, which would inherit it
    if (unknownSubcommand(app, args, env)) return ExitUsage;
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, env.out, env.err);
        return code == 0 ? ExitDone : ExitUsage;
    }
    return exitCode;
}

}  // namespace gyrel::cli
