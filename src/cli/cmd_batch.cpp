#include "cli/cmd_batch.h"

#include <ostream>

#include "cli/cmd_download.h"
#include "cli/exit_codes.h"
#include "device/batch.h"
#include "editor/multi_files.h"
#include "editor/program_list.h"
#include "platform/file_name_text.h"

namespace gyrel::cli {

int runBatchDownload(Env& env, const BatchOptions& o) {
    const ModelInfo* model = modelFor(env, o.model);
    if (!model) return ExitUsage;
    StdFileSystem files;
    ListReadResult list;
    try {
        list = parseList(files.readAll(o.list));
    } catch (const FileError& e) {
        env.err << "cannot read " << o.list << ": " << e.what() << "\n";
        return ExitRefused;
    }
    if (!list.ok) {
        env.err << o.list << ": a slot number outside 1..16\n";
        return ExitRefused;
    }
    DeviceJob job(env, *model, o.language, o.port, o.yes);
    if (!job.open()) return ExitLine;
    MultiFiles panel(*job.ctx, job.ed);
    panel.panel.ListFilePath = o.list;
    for (int k = 0; k < 16; ++k) panel.panel.MultiPath[k] = pathToOpen(files, list.paths[k]);
    int current = 0;
    panel.hooks.setProgramNumber = [&current](const std::string& t) {
        if (!t.empty()) current = std::stoi(t);
    };
    wireSlotPanel(job.transfer->slots, panel);
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
    if (end == Outcome::Sent) {
        for (int k = 0; k < 16; ++k)
            if (!list.paths[k].empty()) env.out << (k + 1) << "   " << panel.panel.MultiPath[k] << "\n";
        return ExitDone;
    }
    if (current > 0) env.err << "stopped at program " << current << "\n";
    switch (end) {
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
    if (!model) return ExitUsage;
    if (model->upload == UploadKind::None) {
        env.err << "the " << model->code << " model cannot send its programs back\n";
        return ExitRefused;
    }
    // The program files are named after the list without its extension; a
    // name without one would scatter them under another name or folder.
    const std::string name = fileNameOf(o.list);
    if (name.find('.') == std::string::npos || name.front() == '.') {
        env.err << "--list needs a file name with an extension, such as backup.lis\n";
        return ExitRefused;
    }
    DeviceJob job(env, *model, o.language, o.port, false);
    if (!job.open()) return ExitLine;
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
        return ExitRefused;
    }
    env.out << o.list << "\n";
    return failed ? ExitLine : ExitDone;
}

}  // namespace gyrel::cli
