#pragma once

namespace gyrel::cli {

// The exit codes of every gyrel-cli subcommand: one table, printed by
// `gyrel-cli --help` and listed in the README.
enum ExitCode : int {
    ExitDone = 0,       // done
    ExitRefused = 1,    // refused: a check failed, a question was declined, a bad value
    ExitLine = 2,       // device or line error
    ExitDiffers = 3,    // the device differs from the file (verify, compare)
    ExitUsage = 64,     // usage error: unknown option, subcommand, model or language; missing argument
};

}  // namespace gyrel::cli
