#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/commands.h"

namespace gyrel::cli {

int run(const std::vector<std::string>& args, Env& env) {
    CLI::App app{"gyrel-cli: cam encoder jobs from the shell"};
    app.require_subcommand(1);
    int exitCode = 0;
    for (CommandAdder add : allCommands()) add(app, env, &exitCode);
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, env.out, env.err);
    }
    return exitCode;
}

}  // namespace gyrel::cli
