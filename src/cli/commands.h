#pragma once
#include <vector>

#include "cli/cli.h"

namespace gyrel::cli {

// Every job of gyrel-cli, one adder per job (each in its own cmd_*.cpp).
// Add a line to the list in commands.cpp when adding a job.
std::vector<CommandAdder> allCommands();

}  // namespace gyrel::cli
