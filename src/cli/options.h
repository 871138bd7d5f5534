#pragma once
// The options every gyrel-cli job names the same way, added through one place so
// that their spelling, their checks (an unknown model or language is a usage
// error) and their completion are the same in every subcommand.
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace gyrel::cli {

// The value kinds the completion script offers words for.
extern const char* const kModelValue;     // "MODEL"
extern const char* const kLanguageValue;  // "LANG"

std::vector<std::string> modelCodes();
std::vector<std::string> languageCodes();

// --model M, required, one of the model table's codes; the help lists them
// unless the job names the models it serves.
CLI::Option* addModelOption(CLI::App* sub, std::string& model, const std::string& help = "");
// --lang L (alias --language): IT, EN, DE or FR, any case; the value kept is upper case.
CLI::Option* addLangOption(CLI::App* sub, std::string& language,
                           const std::string& help = "Language of the messages");
// --port PATH, required.
CLI::Option* addPortOption(CLI::App* sub, std::string& port);
// --json: machine-readable output.
CLI::Option* addJsonFlag(CLI::App* sub, bool& json, const std::string& help);

// A JSON string literal of UTF-8 text.
std::string jsonString(const std::string& text);

// The exit-code table as `gyrel-cli --help` prints it.
std::string exitCodeTable();

// A bash completion script for the parser's subcommands and options.
std::string bashCompletion(const CLI::App& app);

}  // namespace gyrel::cli
