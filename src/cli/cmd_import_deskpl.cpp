// gyrel-cli import-deskpl: converts a DESKPL file into program files and a list,
// as the editor's "From DESKPL" does, without windows.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/cli.h"
#include "cli/terminal_text.h"
#include "device/deskpl.h"
#include "device/model_table.h"
#include "editor/multi_files.h"
#include "editor/program_list.h"
#include "lang/texts.h"
#include "platform/file_checks.h"
#include "platform/std_file_system.h"

namespace gyrel::cli {

namespace {

struct ImportOptions {
    std::string model = "NORM";
    std::string list;
    std::string deskpl;
    std::string language = "EN";
};

int importDeskpl(Env& env, const ImportOptions& o) {
    const ModelInfo* model = findModel(o.model);
    if (!model) {
        env.err << "unknown model " << o.model << "\n";
        return 2;
    }
    StdFileSystem fs;
    const char* const kError = "ERROR               ";
    const std::string unreadable = unreadableReason(o.deskpl, kDeskplFileLimit, "DESKPL file");
    if (!unreadable.empty()) {
        env.err << kError << "\n" << o.deskpl << ": " << unreadable << "\n";
        return 1;
    }
    // The list is checked before any program file is written beside it.
    std::string unwritable = unwritableReason(saveTarget(o.list));
    const std::string listName = fileNameOf(o.list);
    if (unwritable.empty() && (listName.empty() || listName == "." || listName == ".."))
        unwritable = "it names a folder, not a file";
    if (!unwritable.empty()) {
        env.err << kError << "\n" << "cannot write " << o.list << ": " << unwritable << "\n";
        return 1;
    }
    const TextSet& texts = textSetFor(o.language);
    DeskplOptions opt;
    opt.deskplPath = o.deskpl;
    opt.listBase = listBaseOf(o.list);
    opt.extension = model->fileExtension;
    opt.maxPosition = model->maxPosition;
    opt.dateText = generalDateNow();
    opt.importedOn = texts.msg[48];
    opt.fromFile = texts.msg[49];
    opt.programNo = texts.msg[50];

    const DeskplResult r = DecodeDPL(fs, o.deskpl, opt);
    for (const std::string& f : r.written) env.out << printable(f) << "\n";
    if (!r.ok) {
        env.err << kError << "\n" << r.why << "\n";
        return 1;
    }
    try {
        fs.replaceFile(o.list, formatList(r.paths));
    } catch (const FileError& e) {
        env.err << kError << "\n" << e.what() << "\n";
        return 1;
    }
    env.out << o.list << "\n";
    return 0;
}

}  // namespace

void addImportDeskpl(CLI::App& app, Env& env, int* exitCode) {
    auto o = std::make_shared<ImportOptions>();
    CLI::App* sub = app.add_subcommand("import-deskpl", "Convert a DESKPL file into program files and a list");
    sub->add_option("--model", o->model, "Device model (NORM, OLD, V712, V820AX, V820HX, KMT71, Px71)")->required();
    sub->add_option("--list", o->list, "List file to write; program files are named after it")->required();
    sub->add_option("--language", o->language, "Language of the file headers (IT, EN, DE, FR)");
    sub->add_option("DESKPLFILE", o->deskpl, "The DESKPL file")->required();
    sub->callback([&env, exitCode, o] { *exitCode = importDeskpl(env, *o); });
}

}  // namespace gyrel::cli
