#include "cli/commands.h"

namespace gyrel::cli {

void addImportDeskpl(CLI::App& app, Env& env, int* exitCode);
void addSimulateCommand(CLI::App& app, Env& env, int* exitCode);
void addStatusCommand(CLI::App& app, Env& env, int* exitCode);
void addCheckCommand(CLI::App& app, Env& env, int* exitCode);
void addPrepareCommand(CLI::App& app, Env& env, int* exitCode);
void addDownloadCommand(CLI::App& app, Env& env, int* exitCode);
void addUploadCommand(CLI::App& app, Env& env, int* exitCode);
void addPresetCommand(CLI::App& app, Env& env, int* exitCode);
void addBackupCommand(CLI::App& app, Env& env, int* exitCode);
void addRestoreCommand(CLI::App& app, Env& env, int* exitCode);
void addCompareCommand(CLI::App& app, Env& env, int* exitCode);

std::vector<CommandAdder> allCommands() {
    return {
        addImportDeskpl,
        addSimulateCommand,
        addStatusCommand,
        addCheckCommand,
        addPrepareCommand,
        addDownloadCommand,
        addUploadCommand,
        addPresetCommand,
        addBackupCommand,
        addRestoreCommand,
        addCompareCommand,
    };
}

}  // namespace gyrel::cli
