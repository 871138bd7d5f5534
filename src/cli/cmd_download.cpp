// gyrel-cli download: checks, prepares and sends a program file into one slot,
// as the editor's download button does, optionally reading it back to compare.
#include "cli/cmd_download.h"
#include "cli/cmd_batch.h"
#include "cli/exit_codes.h"
#include "cli/port_name.h"
#include "cli/terminal_text.h"
#include "platform/file_checks.h"
#include "cli/program_check.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <random>

#include "cli/exit_codes.h"
#include "cli/options.h"
#include "device/text712_check.h"
#include "device/tx712_val.h"
#include "safety/compare.h"
#include "platform/serial_port.h"

namespace gyrel::cli {

int StderrOperator::messageBox(const std::string& prompt, MsgButtons buttons, MsgIcon, const std::string& title) {
    ++boxes;
    // Titles and prompts may name files or quote the device: shown escaped.
    err_ << printable(title, true) << "\n" << printable(prompt, true) << "\n";
    if (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) {
        if (yes_) return AnswerYes;
        ++questionsDeclined;
        err_ << "(answered No; --yes answers Yes)\n";
        return AnswerNo;
    }
    return buttons == MsgButtons::OkCancel ? AnswerCancel : AnswerOk;
}

ScopedWorkFolder::ScopedWorkFolder() {
    if (const char* old = std::getenv("GYREL_HOME")) {
        hadOld_ = true;
        old_ = old;
    }
    std::error_code ec;
    const auto base = std::filesystem::temp_directory_path(ec);
    // Names drawn afresh in every process: a fixed sequence (std::rand unseeded) met the
    // folders of runs that ended without cleaning up, and after enough of them the job
    // fell back to the operator's own working folder.
    std::random_device entropy;
    std::mt19937_64 draw((std::uint64_t{entropy()} << 32) ^ static_cast<std::uint64_t>(
                             std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int i = 0; i < 1000 && path_.empty(); ++i) {
        const auto candidate = base / ("gyrel-cli-" + std::to_string(draw() % 1000000000000ull));
        if (std::filesystem::create_directory(candidate, ec)) path_ = candidate.string();
    }
#ifdef _WIN32
    _putenv_s("GYREL_HOME", path_.c_str());
#else
    setenv("GYREL_HOME", path_.c_str(), 1);
#endif
}

ScopedWorkFolder::~ScopedWorkFolder() {
#ifdef _WIN32
    _putenv_s("GYREL_HOME", hadOld_ ? old_.c_str() : "");
#else
    if (hadOld_) setenv("GYREL_HOME", old_.c_str(), 1);
    else unsetenv("GYREL_HOME");
#endif
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

const ModelInfo* modelFor(Env& env, const std::string& code) {
    const ModelInfo* m = findModel(code);
    if (!m) {
        std::string list;
        for (const ModelInfo& i : modelTable()) list += (list.empty() ? "" : ", ") + std::string(i.code);
        env.err << "unknown model \"" << code << "\" (one of " << list << ")\n";
    }
    return m;
}

bool slotInRange(Env& env, int slot) {
    if (slot >= 1 && slot <= 16) return true;
    env.err << "--slot must be a program number 1..16\n";
    return false;
}

DeviceJob::DeviceJob(Env& env, const ModelInfo& model, const std::string& language, const std::string& path,
                     bool yes)
    : cli(env), portPath(path), port(env.makePort ? env.makePort(path) : nullptr), op(env.err, yes) {
    if (!port) return;
    ctx = std::make_unique<Context>(Services{*port, env.clock, settings, fs, op});
    ctx->model = globalsOf(model);
    ctx->applyLanguage(language);
    link = std::make_unique<SerialLink>(*ctx);
    ed.ResizeSeen = 1;  // no window to lay out: the check prepares at once
    check = std::make_unique<EditorEnv>(EditorEnv{*ctx, ed, {}});
    transfer = std::make_unique<TransferEnv>(TransferEnv{*ctx, *link, ed, {}, {}});
    transfer->procs.LeggiLav = [this](int code) { return LeggiLav(*check, code); };
    transfer->procs.Leggi712 = [this] { Leggi712(*check); };
    download = std::make_unique<DownloadCommand>(*transfer);
    upload = std::make_unique<UploadCommand>(*transfer, download->sender);
}

DeviceJob::~DeviceJob() {
    if (link) link->chiudi_com(link->PortUsers | UserEditor | UserUpload | UserOrigin | UserOldModel);
    try {
        if (ctx && ctx->line.isOpen()) ctx->line.close();
    } catch (const SerialError&) {
    }
}

bool DeviceJob::open() {
    if (!port) {
        cli.err << "cannot open " << portPath << ": no serial port available\n";
        return false;
    }
    try {
        link->presetPort(ctx->model.SpeedText);
        ctx->line.open();
        ctx->line.emptyBoth();
    } catch (const SerialError& e) {
        cli.err << "cannot open " << portPath << " at " << ctx->model.SpeedText << " baud: " << e.what() << "\n";
        return false;
    }
    return true;
}

namespace {

struct DownloadOptions {
    std::string model;
    std::string language = "EN";
    std::string port;
    int slot = 1;
    bool yes = false;
    bool verify = false;
    std::string file;
};

int runDownload(Env& env, const DownloadOptions& o) {
    const ModelInfo* model = modelFor(env, o.model);
    if (!model) return ExitUsage;
    if (!slotInRange(env, o.slot)) return ExitRefused;
    if (o.verify && model->upload == UploadKind::None) {
        env.err << "--verify: the " << model->code << " model cannot send its programs back\n";
        return ExitRefused;
    }
    if (!portNameUsable(env.err, o.port)) return ExitUsage;
    std::string text;
    if (!readProgram(o.file, text, env.err)) return ExitRefused;
    if (model->download == DownloadKind::Text712) {
        const std::string why = text712Problem(text);
        if (!why.empty()) {
            env.err << printable(o.file) << ": " << why << "\n";
            return ExitRefused;
        }
    }
    DeviceJob job(env, *model, o.language, o.port, o.yes);
    if (!job.open()) return ExitLine;
    EditorState& ed = job.ed;
    ed.ProgBox = text;
    ed.ProgramFilePath = o.file;
    ed.ProgramIndex = o.slot - 1;
    job.fs.replaceFile(job.transfer->WorkFilePath(), text);
    if (env.errIsTerminal) {
        job.download->sender.afterFrame = [&] {
            env.err << "\rframe " << job.download->sender.framesAcknowledged << "/" << job.download->sender.framesTotal
                    << std::flush;
        };
    }
    job.download->Command2();
    if (env.errIsTerminal && job.download->sender.framesTotal > 0) env.err << "\n";
    using Outcome = DownloadCommand::Outcome;
    switch (job.download->lastOutcome) {
        case Outcome::Sent:
            break;
        case Outcome::CheckFailed:
            writeLocation(env.err, o.file, checkProgramText(model->code, o.language, text, env.clock));
            return ExitRefused;
        case Outcome::Declined:
        case Outcome::Refused:
            return ExitRefused;
        case Outcome::NoPort:
            env.err << "cannot open " << o.port << "\n";
            return ExitLine;
        default:
            if (model->download == DownloadKind::Text712)
                env.err << job.download->text712.rejectedLines << " of " << job.download->text712.linesAwaited
                        << " lines not accepted\n" << printable(ed.FinRisp, true) << "\n";
            return ExitLine;
    }
    if (!o.verify) return ExitDone;
    // The device is compared with the file's text prepared afresh, not with the
    // table the download sent: a fault on the way from the text to the frames
    // then shows as a difference instead of passing unseen.
    const ProgramCheckResult fresh = checkProgramText(model->code, o.language, text, env.clock);
    if (!fresh.passed) {
        env.err << "verify: " << o.file << " does not pass the check\n";
        return ExitRefused;
    }
    if (job.upload->ImportaEncoder(o.slot - 1) != 1) {
        env.err << "verify: the program could not be read back\n";
        return ExitLine;
    }
    const bool wide = model->download == DownloadKind::HighResolution;
    const SlotComparison c = compareTables(o.slot - 1, sentTable(fresh.table, wide),
                                           readTable(job.upload->Imported, static_cast<int>(ed.camTable.CamCount)));
    if (c.state == SlotState::Same) return ExitDone;
    env.err << "verify: " << describeSlot(c) << "\n";
    return ExitDiffers;
}

}  // namespace

void addDownloadCommand(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<DownloadOptions>();
    CLI::App* sub = app.add_subcommand("download", "Check a program file and send it into a program slot");
    addModelOption(sub, o->model);
    addLangOption(sub, o->language);
    addPortOption(sub, o->port);
    CLI::Option* slot = sub->add_option("--slot", o->slot, "Program number 1..16");
    sub->add_flag("--yes", o->yes, "Answer Yes to the questions (an empty program clears the slot)");
    CLI::Option* verify =
        sub->add_flag("--verify", o->verify, "Read the slot back afterwards and compare (exit 3 on a difference)");
    CLI::Option* file = sub->add_option("FILE", o->file, "The program file");
    auto list = std::make_shared<std::string>();
    sub->add_option("--list", *list, "Send every filled slot of this list file instead of one FILE")
        ->excludes(slot)
        ->excludes(verify)
        ->excludes(file);
    sub->callback([&env, exitCode, o, list, slot, file] {
        if (!list->empty()) {
            *exitCode = runBatchDownload(env, {o->model, o->language, o->port, *list, o->yes});
            return;
        }
        if (slot->count() == 0) throw CLI::RequiredError("--slot (or --list)");
        if (file->count() == 0) throw CLI::RequiredError("FILE (or --list)");
        *exitCode = runDownload(env, *o);
    });
}

}  // namespace gyrel::cli
