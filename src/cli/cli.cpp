#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace gyrel::cli {

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"gyrel-cli: cam encoder jobs from the shell"};
    app.require_subcommand(1);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err);
    }
    return 0;
}

}  // namespace gyrel::cli
