// gyrel-cli simulate: a simulated encoder on a pseudo-terminal, so the program
// (or any serial terminal) can be tried without a device. The first line of
// standard output is the path to open; the device serves until SIGINT or SIGTERM.
#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "cli/options.h"
#include "device/model_table.h"
#include "sim/device.h"
#include "sim/faults.h"
#include "sim/pty_end.h"

namespace gyrel::cli {

namespace {

struct SimulateOptions {
    std::string model;
    long speed = 0;
    bool emptySlot = false;
    bool noProgram = false;
    std::vector<std::string> faults;
    double replyDelayMs = 2;
    double shaftSpeed = -1;
    int slot = 1;
};

std::atomic<bool> gStop{false};

extern "C" void onStopSignal(int) { gStop = true; }

int simulate(Env& env, const SimulateOptions& o) {
    const ModelInfo* model = findModel(o.model);
    if (!model) return ExitUsage;  // the parser lets none through
    if (o.speed < 0 || o.slot < 1 || o.slot > 16) {
        env.err << (o.speed < 0 ? "the speed must be a positive number of baud\n" : "the slot must be 1..16\n");
        return ExitRefused;
    }
    sim::Device device(model->code);
    for (const std::string& f : o.faults) {
        std::string error;
        if (!sim::applyFault(f, device.faults(), &error)) {
            env.err << error << "\n";
            return ExitRefused;
        }
    }
    device.setEmptySlotMode(o.emptySlot   ? sim::EmptySlotMode::EmptyReply
                            : o.noProgram ? sim::EmptySlotMode::NoProgram
                                          : sim::EmptySlotMode::Pattern);
    device.setReplyDelayMs(o.replyDelayMs);
    device.setRunningSlot(o.slot - 1);
    // By default one turn every ten seconds.
    const double perTurn = model->stepsPerTurn > 0 ? model->stepsPerTurn : model->maxPosition + 1;
    device.setShaftSpeed(o.shaftSpeed >= 0 ? o.shaftSpeed : perTurn / 10, 0);

    const std::string settings = (o.speed > 0 ? std::to_string(o.speed) : std::string(model->speed)) + ",n,8,1";
    sim::PtyEnd end(device, settings);
    std::string path;
    try {
        path = end.open();
    } catch (const std::runtime_error& e) {
        env.err << "cannot create a pseudo-terminal: " << e.what() << "\n";
        return ExitLine;
    }
    env.out << path << std::endl;  // first line, flushed: callers wait for it
    env.err << "simulating " << model->code << " at " << settings << " on " << path << "; stop with Ctrl+C\n";

    gStop = false;
    auto oldInt = std::signal(SIGINT, onStopSignal);
    auto oldTerm = std::signal(SIGTERM, onStopSignal);
    end.serve(&gStop);
    std::signal(SIGINT, oldInt);
    std::signal(SIGTERM, oldTerm);
    if (end.lineClosed()) env.err << "the device dropped the line\n";
    return ExitDone;
}

}  // namespace

void addSimulateCommand(CLI::App& app, Env& env, int* exitCode) {
    auto opts = std::make_shared<SimulateOptions>();
    CLI::App* cmd = app.add_subcommand("simulate", "Serve a simulated encoder on a pseudo-terminal until stopped");
    addModelOption(cmd, opts->model);
    cmd->add_option("--speed", opts->speed, "Line speed in baud (default: the model's)");
    cmd->add_flag("--empty-slot", opts->emptySlot, "Answer 0x00 0xFF for a slot without a program");
    cmd->add_flag("--no-program", opts->noProgram, "Report the no-program position for a slot without a program");
    cmd->add_option("--fault", opts->faults,
                    "Fault, repeatable: silent, late:MS, late35, late50, late80, late180, late400, badsum, garbage, "
                    "long, noack:N, mute-after:N, close-after:N")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    cmd->add_option("--reply-delay", opts->replyDelayMs, "Milliseconds the device takes to answer (default 2)");
    cmd->add_option("--shaft-speed", opts->shaftSpeed, "Positions per second (default: a turn every 10 s)");
    cmd->add_option("--slot", opts->slot, "Running program 1..16 (default 1)");
    cmd->callback([opts, &env, exitCode] { *exitCode = simulate(env, *opts); });
}

}  // namespace gyrel::cli
