// gyrel-cli upload: reads one program slot back as program text.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/cmd_batch.h"
#include "cli/cmd_download.h"
#include "cli/exit_codes.h"
#include "cli/port_name.h"
#include "platform/file_checks.h"

namespace gyrel::cli {

namespace {

struct UploadOptions {
    std::string model;
    std::string language = "EN";
    std::string port;
    int slot = 1;
    std::string output;
};

const char* why(UploadEnd end) {
    switch (end) {
        case UploadEnd::NoReply: return "no complete reply from the device";
        case UploadEnd::BadChecksum: return "a reply with a wrong checksum";
        case UploadEnd::OutOfRange: return "the device sent more than the tables hold";
        case UploadEnd::NoHeader: return "the device sent pages without a header";
        case UploadEnd::NoPort: return "the port could not be opened";
        default: return "the exchange did not complete";
    }
}

int runUpload(Env& env, const UploadOptions& o) {
    const ModelInfo* model = modelFor(env, o.model);
    if (!model) return 2;
    if (model->upload == UploadKind::None) {
        env.err << "the " << model->code << " model cannot send its programs back\n";
        return 2;
    }
    if (o.slot < 1 || o.slot > 16) {
        env.err << "--slot must be a program number 1..16\n";
        return 2;
    }
    if (!portNameUsable(env.err, o.port)) return ExitUsage;
    // A file that cannot be replaced is said before the device is asked.
    const std::string refused = o.output.empty() ? "" : unwritableReason(saveTarget(o.output));
    if (!refused.empty()) {
        env.err << "cannot write " << o.output << ": " << refused << "\n";
        return ExitRefused;
    }
    DeviceJob job(env, *model, o.language, o.port, false);
    if (!job.open()) return 2;
    if (job.upload->ImportaEncoder(o.slot - 1) != 1) {
        env.err << "upload of program " << o.slot << " failed: " << why(job.upload->lastEnd) << " ("
                << job.upload->repliesRead << " replies read)\n";
        return 2;
    }
    if (o.output.empty()) {
        env.out << job.ed.ProgBox << std::flush;
        return 0;
    }
    try {
        job.fs.replaceFile(o.output, job.ed.ProgBox);
    } catch (const FileError& e) {
        env.err << e.what() << "\n";
        return ExitRefused;
    }
    return 0;
}

}  // namespace

void addUploadCommand(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<UploadOptions>();
    CLI::App* sub = app.add_subcommand("upload", "Read a program slot back from the device as program text");
    sub->add_option("--model", o->model, "Device model (V820AX, V820HX, KMT71, Px71)")->required();
    sub->add_option("--lang", o->language, "Language of the header lines (IT, EN, DE, FR)");
    sub->add_option("--port", o->port, "Serial port")->required();
    CLI::Option* slot = sub->add_option("--slot", o->slot, "Program number 1..16");
    CLI::Option* output =
        sub->add_option("--output", o->output, "Write the text to this file instead of standard output");
    auto list = std::make_shared<std::string>();
    CLI::Option* all = sub->add_flag("--all", "Read all 16 slots into program files and a list (with --list)");
    CLI::Option* listOpt =
        sub->add_option("--list", *list, "With --all: the list file; the program files are named after it");
    all->needs(listOpt)->excludes(slot)->excludes(output);
    listOpt->needs(all);
    sub->callback([&env, exitCode, o, list, slot, all] {
        if (all->count() > 0) {
            *exitCode = runBatchUpload(env, {o->model, o->language, o->port, *list, false});
            return;
        }
        if (slot->count() == 0) throw CLI::RequiredError("--slot (or --all --list)");
        *exitCode = runUpload(env, *o);
    });
}

}  // namespace gyrel::cli
