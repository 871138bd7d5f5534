// gyrel-cli backup: every slot, preset and origin of the device into a new folder.
#include <CLI/CLI.hpp>

#include "cli/cmd_download.h"
#include "cli/cmd_safety.h"
#include "cli/exit_codes.h"
#include "cli/options.h"
#include "safety/backup.h"

namespace gyrel::cli {

namespace {

int runBackupJob(Env& env, const SafetyOptions& o) {
    int code = ExitDone;
    const ModelInfo* model = safetyModel(env, o.model, &code);
    if (!model) return code;
    DeviceJob job(env, *model, o.language, o.port, false);
    if (!job.open()) return ExitLine;
    JobHooks hooks;
    if (env.errIsTerminal)
        hooks.progress = [&env](const JobProgress& p) { env.err << "\rslot " << p.slot << " of 16" << std::flush; };
    const BackupReport r = runBackup(*job.ctx, *job.link, o.path, hooks);
    if (env.errIsTerminal) env.err << "\n";
    printLines(r.complete ? env.out : env.err, backupReportText(*job.ctx, r));
    if (r.complete) return ExitDone;
    if (r.refused) return ExitRefused;
    return r.lineError || r.cancelled ? ExitLine : ExitRefused;
}

}  // namespace

void addBackupCommand(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<SafetyOptions>();
    CLI::App* sub = app.add_subcommand(
        "backup", "Read every slot (and the presets and origins) into a new folder that appears whole or not at all");
    addSafetyOptions(sub, *o, "Language of the report");
    sub->add_option("DIR", o->path, "The backup folder to create (must not exist)")->required();
    sub->callback([&env, exitCode, o] { *exitCode = runBackupJob(env, *o); });
}

}  // namespace gyrel::cli
