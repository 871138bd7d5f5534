// gyrel-cli restore: a backup folder back into the device, read back and compared.
#include <CLI/CLI.hpp>

#include "cli/cmd_download.h"
#include "cli/cmd_safety.h"
#include "cli/exit_codes.h"
#include "cli/options.h"
#include "safety/restore.h"

namespace gyrel::cli {

namespace {

int runRestoreJob(Env& env, const SafetyOptions& o) {
    int code = ExitDone;
    const ModelInfo* model = safetyModel(env, o.model, &code);
    if (!model) return code;
    DeviceJob job(env, *model, o.language, o.port, o.yes);
    if (!job.open()) return ExitLine;
    JobHooks hooks;
    if (env.errIsTerminal)
        hooks.progress = [&env](const JobProgress& p) {
            env.err << "\rstep " << p.done + 1 << " of " << p.total << ", slot " << p.slot << std::flush;
        };
    const RestoreReport r = runRestore(*job.ctx, *job.link, o.path, hooks);
    if (env.errIsTerminal) env.err << "\n";
    using End = RestoreReport::End;
    printLines(r.end == End::Verified ? env.out : env.err, restoreReportText(*job.ctx, r));
    switch (r.end) {
        case End::Verified: return ExitDone;
        case End::Refused:
        case End::FileFailed:
        case End::Declined: return ExitRefused;
        case End::Differs: return ExitDiffers;
        default: return ExitLine;
    }
}

}  // namespace

void addRestoreCommand(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<SafetyOptions>();
    CLI::App* sub = app.add_subcommand(
        "restore", "Write a backup folder back into the device, then read every written slot back and compare");
    addSafetyOptions(sub, *o, "Language of the report");
    sub->add_flag("--yes", o->yes, "Confirm the plan (without it the plan is shown and nothing is sent)");
    sub->add_option("DIR", o->path, "The backup folder (or a list file)")->required();
    sub->callback([&env, exitCode, o] { *exitCode = runRestoreJob(env, *o); });
}

}  // namespace gyrel::cli
