// gyrel-cli preset read|write: the preset and origin values of the 16 programs.
#include <CLI/CLI.hpp>
#include <map>
#include <ostream>

#include "cli/cmd_download.h"
#include "cli/exit_codes.h"
#include "cli/port_name.h"
#include "cli/terminal_text.h"
#include "origin/origin_dialog.h"

namespace gyrel::cli {

namespace {

struct PresetOptions {
    std::string model;
    std::string language = "EN";
    std::string port;
    std::vector<std::string> presets;
    std::vector<std::string> origins;
};

// "P=VALUE" with P a program number 1..16.
// An empty VALUE sets *empty: a usage error, since nothing can be sent for it.
bool parseAssignments(Env& env, const std::vector<std::string>& items, const char* option,
                      std::map<int, std::string>& out, bool& empty) {
    for (const std::string& item : items) {
        const auto eq = item.find('=');
        int program = 0;
        try {
            std::size_t used = 0;
            program = eq == std::string::npos ? 0 : std::stoi(item.substr(0, eq), &used);
            if (used != eq) program = 0;
        } catch (const std::exception&) {
            program = 0;
        }
        if (program < 1 || program > 16) {
            env.err << option << " " << item << ": expected PROGRAM=VALUE with PROGRAM 1..16\n";
            return false;
        }
        if (eq + 1 == item.size()) {
            env.err << option << " " << item << ": no value after \"=\"\n";
            empty = true;
            return false;
        }
        out[program] = item.substr(eq + 1);
    }
    return true;
}

int presetJob(Env& env, const PresetOptions& o, bool write) {
    const ModelInfo* model = modelFor(env, o.model);
    if (!model) return 1;
    if (!model->menuOrigin) {
        env.err << "the " << model->code << " model keeps no preset and origin values\n";
        return 1;
    }
    std::map<int, std::string> presets, origins;
    if (write) {
        bool empty = false;
        if (!parseAssignments(env, o.presets, "--preset", presets, empty) ||
            !parseAssignments(env, o.origins, "--origin", origins, empty))
            return empty ? ExitUsage : ExitRefused;
        if (!origins.empty()) {
            for (const auto& [p, v] : presets) {
                if (!origins.count(p)) {
                    env.err << "program " << p << " has a preset but no origin; with --origin every program "
                            << "written needs both\n";
                    return 1;
                }
            }
            for (const auto& [p, v] : origins) {
                if (!presets.count(p)) {
                    env.err << "program " << p << " has an origin but no preset\n";
                    return 1;
                }
            }
        }
        if (presets.empty()) {
            env.err << "nothing to write: give --preset PROGRAM=VALUE\n";
            return 1;
        }
    }
    if (!portNameUsable(env.err, o.port)) return ExitUsage;
    DeviceJob job(env, *model, o.language, o.port, false);
    if (!job.open()) return 2;
    OriginDialog dialog(*job.ctx, *job.link, job.ed.wait);
    dialog.show();
    if (!write) {
        dialog.ChkOrigClick(true);
        dialog.PulsRx();
        int missing = 0;
        for (int i = 0; i < 16; ++i) {
            const OriginRow& row = dialog.rows[static_cast<std::size_t>(i)];
            auto shown = [](const std::string& t) {
                return t.empty() || t == kOriginPlaceholder ? std::string("-") : printable(t);
            };
            env.out << (i + 1) << " " << shown(row.TxtPreset) << " " << shown(row.TxtOrigin) << "\n";
            if (!dialog.confirmed[static_cast<std::size_t>(i)]) ++missing;
        }
        if (missing) env.err << missing << " of 16 programs were not read\n";
        return missing ? 2 : 0;
    }
    dialog.ChkOrigClick(!origins.empty());
    for (auto& row : dialog.rows) row.TxtOrigin.clear();
    for (const auto& [p, v] : presets) dialog.rows[static_cast<std::size_t>(p - 1)].TxtPreset = v;
    for (const auto& [p, v] : origins) dialog.rows[static_cast<std::size_t>(p - 1)].TxtOrigin = v;
    dialog.PulsTx();
    if (job.op.boxes > 0) return 1;  // a value refused: said on standard error
    int unconfirmed = 0;
    for (const auto& [p, v] : presets) {
        if (!dialog.confirmed[static_cast<std::size_t>(p - 1)]) {
            env.err << "program " << p << ": not confirmed by the device\n";
            ++unconfirmed;
        }
    }
    return unconfirmed ? 2 : 0;
}

}  // namespace

void addPresetCommand(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<PresetOptions>();
    CLI::App* sub = app.add_subcommand("preset", "Read or write the preset and origin values of the 16 programs");
    sub->require_subcommand(1);
    CLI::App* read = sub->add_subcommand("read", "Print 16 lines: program, preset, origin");
    CLI::App* write = sub->add_subcommand("write", "Write preset (and origin) values");
    for (CLI::App* c : {read, write}) {
        c->add_option("--model", o->model, "Device model (V820HX, KMT71, Px71)")->required();
        c->add_option("--lang", o->language, "Language of the messages (IT, EN, DE, FR)");
        c->add_option("--port", o->port, "Serial port")->required();
    }
    write->add_option("--preset", o->presets, "PROGRAM=VALUE, repeatable")->required();
    write->add_option("--origin", o->origins, "PROGRAM=VALUE, repeatable; origins are then written too");
    read->callback([&env, exitCode, o] { *exitCode = presetJob(env, *o, false); });
    write->callback([&env, exitCode, o] { *exitCode = presetJob(env, *o, true); });
}

}  // namespace gyrel::cli
