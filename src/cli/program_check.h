#pragma once
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "editor/cam_table.h"
#include "platform/clock.h"

namespace CLI {
class App;
}

namespace gyrel::cli {

// What the editor's full check of a loaded program shows and leaves behind.
struct ProgramCheckResult {
    bool passed = false;
    std::string failTitle;   // the box that stopped the check
    std::string failPrompt;
    int failLine = 0;        // the line of the text the check stopped at (1-based), 0 unknown
    std::vector<std::pair<std::string, std::string>> notices;  // other boxes: title, prompt
    CamTable table;
};

// Checks and prepares a program text the way the editor does after loading it
// (verify, offsets from the text's own offsets section), with the given model
// and language, away from the user's work file and settings. A text whose last
// line has no line end gets one first, as the editor gives it one.
ProgramCheckResult checkProgramText(const std::string& model, const std::string& language, std::string text,
                                    Clock& clock);

// Writes a box as the command line shows it: the title, then the prompt with
// each CR LF as a line break.
void writeBox(std::ostream& out, const std::string& title, const std::string& prompt);

// A failed check as the command line reports it: the box, then
// "FILE:LINE: title" (the line left out when unknown).
void writeFailure(std::ostream& out, const std::string& file, const ProgramCheckResult& r);
// Only the "FILE:LINE: title" line, for a box already shown.
void writeLocation(std::ostream& out, const std::string& file, const ProgramCheckResult& r);

// The models and languages the check jobs take, and the help text for them.
std::vector<std::string> modelCodes();
std::vector<std::string> languageCodes();
extern const char* const kLanguageHelp;

// The options the check and prepare jobs share: --model, --lang, FILE.
struct CheckOptions {
    std::string model;
    std::string language = "EN";
    std::string file;
};
void addCheckOptions(CLI::App* sub, CheckOptions& o);

// The file's bytes; false (with a message on err) when it cannot be read: not a
// regular file, too large for a program, or the system's reason.
bool readProgram(const std::string& path, std::string& text, std::ostream& err);

}  // namespace gyrel::cli
