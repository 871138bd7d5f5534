// gyrel-cli compare: each slot of a list against the device, one line per slot.
#include <CLI/CLI.hpp>

#include "cli/cmd_download.h"
#include "cli/cmd_safety.h"
#include "cli/exit_codes.h"
#include "cli/options.h"
#include "safety/compare.h"
#include "safety/compare_list.h"

#include <ostream>

namespace gyrel::cli {

namespace {

// One JSON object per compared slot, as the plain lines are one per slot.
void printJson(std::ostream& out, const CompareReport& r) {
    for (const SlotComparison& c : r.bySlot) {
        if (c.state == SlotState::NotListed) continue;
        out << "{\"slot\":" << c.slot + 1 << ",\"state\":" << jsonString(stateWord(c.state))
            << ",\"file\":" << jsonString(c.file);
        if (c.state == SlotState::Differs) out << ",\"index\":" << c.index;
        out << ",\"detail\":" << jsonString(c.state == SlotState::Differs ? differenceDetail(c) : c.detail) << "}\n";
    }
}

int runCompareJob(Env& env, const SafetyOptions& o, bool json) {
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
    if (json)
        printJson(env.out, r);
    else
        printLines(env.out, compareReportText(r));
    if (r.anyReadFailed()) return ExitLine;
    return r.anyDifference() ? ExitDiffers : ExitDone;
}

}  // namespace

void addCompareCommand(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<SafetyOptions>();
    auto json = std::make_shared<bool>(false);
    CLI::App* sub = app.add_subcommand(
        "compare", "Compare each slot of a list (or backup folder) with the device: lines SLOT STATE [detail]");
    addSafetyOptions(sub, *o, "Language of the messages");
    addJsonFlag(sub, *json, "Print one JSON object per compared slot: slot, state, file, index, detail");
    sub->add_option("LIST", o->path, "The list file (or a backup folder)")->required();
    sub->callback([&env, exitCode, o, json] { *exitCode = runCompareJob(env, *o, *json); });
}

}  // namespace gyrel::cli
