// gyrel-cli compare: each slot of a list against the device, one line per slot.
#include <CLI/CLI.hpp>

#include "cli/cmd_download.h"
#include "cli/cmd_safety.h"
#include "cli/exit_codes.h"
#include "safety/compare_list.h"

namespace gyrel::cli {

namespace {

int runCompareJob(Env& env, const SafetyOptions& o) {
    int code = ExitDone;
    const ModelInfo* model = safetyModel(env, o.model, &code);
    if (!model) return code;
    DeviceJob job(env, *model, o.language, o.port, false);
    if (!job.open()) return ExitLine;
    const CompareReport r = runCompare(*job.ctx, *job.link, o.path, {});
    if (r.refused) {
        printLines(env.err, compareReportText(r));
        return ExitRefused;
    }
    printLines(env.out, compareReportText(r));
    if (r.anyReadFailed()) return ExitLine;
    return r.anyDifference() ? ExitDiffers : ExitDone;
}

}  // namespace

void addCompareCommand(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<SafetyOptions>();
    CLI::App* sub = app.add_subcommand(
        "compare", "Compare each slot of a list (or backup folder) with the device: lines SLOT STATE [detail]");
    sub->add_option("--model", o->model, "Device model (V820AX, V820HX, KMT71, Px71)")->required();
    sub->add_option("--lang", o->language, "Language of the messages (IT, EN, DE, FR)");
    sub->add_option("--port", o->port, "Serial port")->required();
    sub->add_option("LIST", o->path, "The list file (or a backup folder)")->required();
    sub->callback([&env, exitCode, o] { *exitCode = runCompareJob(env, *o); });
}

}  // namespace gyrel::cli
