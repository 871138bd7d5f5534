// gyrel-cli status: polls the encoder K times through the same query, reply wait
// and display code as the main window's monitor, and prints one line per reply
// (with --json one JSON object per line).
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/context.h"
#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "cli/options.h"
#include "cli/port_name.h"
#include "device/model_table.h"
#include "link/monitor.h"
#include "link/serial_link.h"
#include "platform/memory_settings_store.h"
#include "platform/std_file_system.h"

namespace gyrel::cli {

namespace {

struct StatusOptions {
    std::string model;
    std::string port;
    int count = 1;
    std::string lang = "EN";
    bool json = false;
};

// No one to click: message boxes go to the error stream, the beep is silent.
class StreamOperator : public Operator {
public:
    explicit StreamOperator(std::ostream& err) : err_(err) {}
    int messageBox(const std::string& prompt, MsgButtons, MsgIcon, const std::string& title) override {
        std::string text = prompt;
        for (std::size_t p; (p = text.find("\r\n")) != std::string::npos;) text.replace(p, 2, " ");
        err_ << title << ": " << text << "\n";
        return AnswerOk;
    }
    std::optional<std::string> openFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
    void beep() override {}

private:
    std::ostream& err_;
};

// The model values the link and the display read. The full model configuration
// is not run: it would also empty the editor's work file.
void useModel(Context& ctx, const ModelInfo& m) {
    ctx.model = globalsOf(m);
    ctx.main.turnDisplaysVisible = m.multiTurnDisplays;
}

std::string trimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string statusLine(int n, const Context& ctx, const SerialLink& link) {
    const MainView& m = ctx.main;
    std::string outputs;
    for (int i = 0; i <= ctx.model.LastOutputIndex; ++i) {
        const auto k = static_cast<std::size_t>(i);
        outputs += m.Shape1Fill[k] == FillStyle::HorizontalHatch ? '-' : (m.Label1On[k] ? '1' : '0');
    }
    std::string line = std::to_string(n) + "  position " + trimRight(m.FinQuota);
    if (m.turnDisplaysVisible && link.ChecksumOk) line += "  turn " + m.LblGiri + " at " + m.LblGiro;
    line += "  program " + m.FinProgr + "  cams " + m.FinCamme + "  outputs " + outputs +
            "  link " + std::to_string(link.LinkQuality);
    return line;
}

// The same reply as one JSON object: {"query":N,"valid":true,"position":"...",
// "turn":"...","turnAt":"...","program":"...","cams":"...","outputs":"0101","link":N};
// "turn" and "turnAt" only where the line shows them.
std::string statusJson(int n, const Context& ctx, const SerialLink& link) {
    const MainView& m = ctx.main;
    std::string outputs;
    for (int i = 0; i <= ctx.model.LastOutputIndex; ++i) {
        const auto k = static_cast<std::size_t>(i);
        outputs += m.Shape1Fill[k] == FillStyle::HorizontalHatch ? '-' : (m.Label1On[k] ? '1' : '0');
    }
    auto trimmed = [](std::string s) {
        s = trimRight(s);
        s.erase(0, s.find_first_not_of(' ') == std::string::npos ? s.size() : s.find_first_not_of(' '));
        return jsonString(s);
    };
    std::string j = "{\"query\":" + std::to_string(n) + ",\"valid\":" + (link.ChecksumOk ? "true" : "false") +
                    ",\"position\":" + trimmed(m.FinQuota);
    if (m.turnDisplaysVisible && link.ChecksumOk)
        j += ",\"turn\":" + trimmed(m.LblGiri) + ",\"turnAt\":" + trimmed(m.LblGiro);
    j += ",\"program\":" + trimmed(m.FinProgr) + ",\"cams\":" + trimmed(m.FinCamme) +
         ",\"outputs\":" + jsonString(outputs) + ",\"link\":" + std::to_string(link.LinkQuality) + "}";
    return j;
}

int status(Env& env, const StatusOptions& o) {
    const ModelInfo* model = findModel(o.model);
    if (!model) return ExitUsage;  // the parser lets none through
    if (o.count < 1) {
        env.err << "the count must be at least 1\n";
        return ExitRefused;
    }
    if (!portNameUsable(env.err, o.port)) return ExitUsage;
    std::unique_ptr<SerialPort> port = env.makePort(o.port);
    MemorySettingsStore settings;
    StdFileSystem fs;
    StreamOperator op(env.err);
    Context ctx(Services{*port, env.clock, settings, fs, op});
    ctx.applyLanguage(o.lang);
    useModel(ctx, *model);

    SerialLink link(ctx);
    link.presetPort(ctx.model.SpeedText);
    // No serial dialog here: a port that cannot be opened ends the job.
    ctx.hooks.serialDialogForOpenFailure = [] { return false; };
    link.LeggiDato();

    int polls = 0;
    int valid = 0;
    link.afterQuery = [&] {
        ++polls;
        if (link.ChecksumOk) ++valid;
        env.out << (o.json ? statusJson(polls, ctx, link) : statusLine(polls, ctx, link)) << "\n" << std::flush;
        if (polls >= o.count) link.check1MouseUp(false);
    };
    link.check1MouseUp(true);

    if (polls == 0) {
        std::string reason = "it is missing or in use";
        try {
            ctx.line.open();
            ctx.line.close();
        } catch (const SerialError& e) {
            reason = e.what();
        }
        env.err << "cannot open the port " << o.port << ": " << reason << "\n";
        return ExitLine;
    }
    if (polls < o.count) {
        env.err << "polling stopped after " << polls << " of " << o.count << " queries\n";
        return ExitLine;
    }
    if (valid == 0) {
        env.err << "no valid reply from the device in " << polls << " queries\n";
        return ExitLine;
    }
    return ExitDone;
}

}  // namespace

void addStatusCommand(CLI::App& app, Env& env, int* exitCode) {
    auto opts = std::make_shared<StatusOptions>();
    CLI::App* cmd = app.add_subcommand("status", "Query the encoder's status K times, one line per reply");
    addModelOption(cmd, opts->model);
    addPortOption(cmd, opts->port);
    cmd->add_option("--count", opts->count, "Number of queries (default 1)");
    addLangOption(cmd, opts->lang);
    addJsonFlag(cmd, opts->json, "One JSON object per reply and line");
    cmd->callback([opts, &env, exitCode] { *exitCode = status(env, *opts); });
}

}  // namespace gyrel::cli
