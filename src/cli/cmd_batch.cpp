#include "cli/cmd_batch.h"

#include <array>
#include <ostream>

#include "cli/cmd_download.h"
#include "cli/exit_codes.h"
#include "cli/port_name.h"
#include "cli/program_check.h"
#include "cli/terminal_text.h"
#include "platform/file_checks.h"
#include "device/batch.h"
#include "editor/multi_files.h"
#include "editor/program_list.h"

namespace gyrel::cli {

int runBatchDownload(Env& env, const BatchOptions& o) {
    const ModelInfo* model = modelFor(env, o.model);
    if (!model) return ExitRefused;
    if (!portNameUsable(env.err, o.port)) return ExitUsage;
    ListReadResult list;
    try {
        list = parseList(readInputFile(o.list, kListFileLimit, "list file"));
    } catch (const FileError& e) {
        env.err << e.what() << "\n";
        return ExitRefused;
    }
    if (!list.ok) {
        env.err << printable(o.list) << ": a slot number outside 1..16\n";
        return ExitRefused;
    }
    int filled = 0;
    for (const std::string& p : list.paths) filled += p.empty() ? 0 : 1;
    if (filled == 0) {
        env.out << "nothing to send: " << printable(o.list) << " names no program\n";
        return ExitDone;
    }
    DeviceJob job(env, *model, o.language, o.port, o.yes);
    if (!job.open()) return ExitLine;
    MultiFiles panel(*job.ctx, job.ed);
    panel.panel.ListFilePath = o.list;
    panel.panel.MultiPath = list.paths;
    // The program number is set before a slot is checked and sent and cleared
    // once it went through: what is set when the run ends is the slot it stopped at.
    int current = 0;
    std::array<bool, 16> sent{};
    panel.hooks.setProgramNumber = [&](const std::string& t) {
        if (t.empty() && current > 0) sent[static_cast<std::size_t>(current - 1)] = true;
        current = t.empty() ? 0 : std::stoi(t);
    };
    wireSlotPanel(job.transfer->slots, panel);
    int missing = 0;
    job.transfer->slots.markMissing = [&missing, mark = job.transfer->slots.markMissing](int k, bool on) {
        if (on) missing = k + 1;
        if (mark) mark(k, on);
    };
    // Each slot file is copied onto the work file and taken into the program
    // text from there, as the editor box reloads it.
    job.transfer->procs.AggBox = [&job] {
        const std::string work = job.transfer->WorkFilePath();
        job.ed.ProgBox = job.fs.fileExists(work) ? job.fs.readAll(work) : std::string();
    };
    job.ed.SelezMulti = true;
    job.download->Command2();

    using Outcome = DownloadCommand::Outcome;
    const Outcome end = job.download->lastOutcome;
    if (end == Outcome::Cancelled && current > 0) sent[static_cast<std::size_t>(current - 1)] = true;
    const int stoppedAt = end == Outcome::Sent ? 0 : missing > 0 ? missing : current;
    int sentCount = 0, skipped = 0;
    for (int k = 0; k < 16; ++k) {
        if (list.paths[k].empty()) continue;
        const char* what = "skipped";
        if (sent[static_cast<std::size_t>(k)]) {
            what = "sent   ";
            ++sentCount;
        } else if (k + 1 == stoppedAt) {
            what = "failed ";
        } else {
            ++skipped;
        }
        env.out << (k + 1) << "   " << what << "   " << printable(list.paths[k]) << "\n";
    }
    if (end == Outcome::CheckFailed && stoppedAt > 0) {
        // The check's box is on standard error already; name the file and line too.
        const std::string& path = list.paths[static_cast<std::size_t>(stoppedAt - 1)];
        try {
            const std::string text = readInputFile(path, kProgramFileLimit, "program file");
            writeLocation(env.err, path, checkProgramText(model->code, o.language, text, env.clock));
        } catch (const FileError&) {
        }
    }
    env.out << sentCount << " of " << filled << " programs sent";
    if (stoppedAt > 0) env.out << "; program " << stoppedAt << " failed";
    if (skipped > 0) env.out << "; " << skipped << " not tried";
    env.out << "\n";
    switch (end) {
        case Outcome::Sent:
            return ExitDone;
        case Outcome::Declined:
        case Outcome::CheckFailed:
        case Outcome::Refused:
            return ExitRefused;
        default:
            return ExitLine;
    }
}

int runBatchUpload(Env& env, const BatchOptions& o) {
    const ModelInfo* model = modelFor(env, o.model);
    if (!model) return 2;
    if (model->upload == UploadKind::None) {
        env.err << "the " << model->code << " model cannot send its programs back\n";
        return 2;
    }
    if (!portNameUsable(env.err, o.port)) return ExitUsage;
    // The program files are named after the list without its extension; a
    // name without one would scatter them under another name or folder.
    const std::string name = fileNameOf(o.list);
    if (name.find('.') == std::string::npos || name.front() == '.') {
        env.err << "--list needs a file name with an extension, such as backup.lis\n";
        return 2;
    }
    DeviceJob job(env, *model, o.language, o.port, false);
    if (!job.open()) return 2;
    MultiFiles panel(*job.ctx, job.ed);
    panel.panel.ListFilePath = o.list;
    wireSlotPanel(job.transfer->slots, panel);
    job.ed.SelezMulti = true;
    job.upload->Menuencoder("");

    int failed = 0;
    for (int k = 0; k < 16; ++k) {
        if (panel.panel.MultiPath[k].empty()) {
            ++failed;
            env.err << "program " << (k + job.ctx->model.ProgramNumberOffset) << ": not read\n";
        } else {
            env.out << panel.panel.MultiPath[k] << "\n";
        }
    }
    bool listed = false;
    try {
        listed = job.fs.readAll(o.list) == formatList(panel.panel.MultiPath);
    } catch (const FileError&) {
    }
    if (!listed) {
        env.err << "cannot write " << o.list << "\n";
        return 2;
    }
    env.out << o.list << "\n";
    return failed ? 2 : 0;
}

}  // namespace gyrel::cli
