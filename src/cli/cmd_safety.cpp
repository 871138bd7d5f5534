#include "cli/cmd_safety.h"

#include "cli/cmd_download.h"
#include "cli/exit_codes.h"
#include "cli/options.h"

#include <CLI/CLI.hpp>

namespace gyrel::cli {

void addSafetyOptions(CLI::App* sub, SafetyOptions& o, const std::string& langHelp) {
    addModelOption(sub, o.model, "Device model sending programs back: V820AX, V820HX, KMT71, Px71");
    addLangOption(sub, o.language, langHelp);
    addPortOption(sub, o.port);
}

const ModelInfo* safetyModel(Env& env, const std::string& code, int* exitCode) {
    const ModelInfo* model = modelFor(env, code);
    if (!model) {
        *exitCode = ExitUsage;
        return nullptr;
    }
    if (model->upload == UploadKind::None) {
        env.err << "the " << model->code << " model cannot send its programs back: no backup, restore or compare "
                << "(models with read-back: V820AX, V820HX, KMT71, Px71)\n";
        *exitCode = ExitRefused;
        return nullptr;
    }
    return model;
}

void printLines(std::ostream& os, const std::string& text) {
    for (char c : text)
        if (c != '\r') os << c;
    os << std::flush;
}

}  // namespace gyrel::cli
