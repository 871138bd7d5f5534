#pragma once
// What the backup, restore and compare jobs of gyrel-cli share.
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "device/model_table.h"

namespace gyrel::cli {

struct SafetyOptions {
    std::string model;
    std::string language = "EN";
    std::string port;
    bool yes = false;
    std::string path;  // DIR or LIST
};

// --model (the models that send programs back), --lang and --port of a safety job.
void addSafetyOptions(CLI::App* sub, SafetyOptions& o, const std::string& langHelp);

// The model of a safety job, or an exit code: unknown model (usage), or a
// model that cannot send its programs back (refused, with the reason).
const ModelInfo* safetyModel(Env& env, const std::string& code, int* exitCode);

// Report text of the logic (CR LF lines) as terminal lines.
void printLines(std::ostream& os, const std::string& text);

}  // namespace gyrel::cli
