#include "cli/commands.h"

namespace gyrel::cli {

std::vector<CommandAdder> allCommands() {
    return {
    };
}

}  // namespace gyrel::cli
