#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>

#include "device/model_table.h"

namespace gyrel::cli {

const char* const kModelValue = "MODEL";
const char* const kLanguageValue = "LANG";

std::vector<std::string> modelCodes() {
    std::vector<std::string> codes;
    for (const ModelInfo& m : modelTable()) codes.push_back(m.code);
    return codes;
}

std::vector<std::string> languageCodes() { return {"IT", "EN", "DE", "FR"}; }

namespace {

std::string joined(const std::vector<std::string>& items, const char* separator) {
    std::string s;
    for (const std::string& i : items) s += (s.empty() ? "" : separator) + i;
    return s;
}

}  // namespace

CLI::Option* addModelOption(CLI::App* sub, std::string& model, const std::string& help) {
    CLI::Validator known(
        [](std::string& value) -> std::string {
            if (findModel(value)) return {};
            return "unknown model \"" + value + "\" (one of " + joined(modelCodes(), ", ") + ")";
        },
        "", "model");
    return sub->add_option("--model", model, help.empty() ? "Device model: " + joined(modelCodes(), ", ") : help)
        ->required()
        ->type_name(kModelValue)
        ->check(known);
}

CLI::Option* addLangOption(CLI::App* sub, std::string& language, const std::string& help) {
    CLI::Validator known(
        [](std::string& value) -> std::string {
            std::string upper = value;
            for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            const auto codes = languageCodes();
            if (std::find(codes.begin(), codes.end(), upper) == codes.end())
                return "unknown language \"" + value + "\" (one of " + joined(codes, ", ") + ")";
            value = upper;
            return {};
        },
        "", "language");
    return sub
        ->add_option("--lang,--language", language,
                     help + ": IT, EN, DE or FR (default EN, the language of scripts and logs; DE shows English)")
        ->type_name(kLanguageValue)
        ->transform(known);
}

CLI::Option* addPortOption(CLI::App* sub, std::string& port) {
    return sub->add_option("--port", port, "Serial port: a device path (/dev/ttyUSB0, a pseudo-terminal) or COMn")
        ->required()
        ->type_name("PATH");
}

CLI::Option* addJsonFlag(CLI::App* sub, bool& json, const std::string& help) {
    return sub->add_flag("--json", json, help);
}

std::string jsonString(const std::string& text) {
    std::string s = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            s += esc;
        } else {
            s += c;
        }
    }
    return s + "\"";
}

std::string exitCodeTable() {
    return "Exit codes (every subcommand):\n"
           "   0  done\n"
           "   1  refused: a check failed, a question was declined, a bad value or file\n"
           "   2  device or line error\n"
           "   3  the device differs from the file (download --verify)\n"
           "  64  usage error: unknown option, subcommand, model or language; missing argument\n";
}

namespace {

// Every subcommand path ("", "/preset", "/preset/read") with its parser.
void walk(const CLI::App& app, const std::string& path, std::vector<std::pair<std::string, const CLI::App*>>& out) {
    out.emplace_back(path, &app);
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
        if (!sub->get_group().empty()) walk(*sub, path + "/" + sub->get_name(), out);
}

}  // namespace

std::string bashCompletion(const CLI::App& app) {
    std::vector<std::pair<std::string, const CLI::App*>> apps;
    walk(app, "", apps);
    std::vector<std::string> paths;
    std::string words, values;
    for (const auto& [path, a] : apps) {
        std::vector<std::string> w;
        for (const CLI::App* sub : a->get_subcommands([](const CLI::App*) { return true; }))
            if (!sub->get_group().empty()) w.push_back(sub->get_name());
        bool files = false;
        for (const CLI::Option* o : a->get_options()) {
            if (o->get_positional()) {
                files = true;
                continue;
            }
            for (const std::string& n : o->get_lnames()) {
                w.push_back("--" + n);
                if (o->get_items_expected_max() == 0) continue;
                const std::string kind = o->get_type_name();
                std::string reply = "COMPREPLY=($(compgen -f -- \"$cur\"))";
                if (kind.rfind(kModelValue, 0) == 0)
                    reply = "COMPREPLY=($(compgen -W \"" + joined(modelCodes(), " ") + "\" -- \"$cur\"))";
                else if (kind.rfind(kLanguageValue, 0) == 0)
                    reply = "COMPREPLY=($(compgen -W \"" + joined(languageCodes(), " ") + "\" -- \"$cur\"))";
                else if (kind.rfind("PATH", 0) != 0 && kind.rfind("TEXT", 0) != 0)
                    reply = "COMPREPLY=()";
                values += "        \"" + path + " --" + n + "\") " + reply + "; return ;;\n";
            }
        }
        if (!path.empty()) paths.push_back("\"" + path + "\"");
        words += "        \"" + path + "\") words=\"" + joined(w, " ") + "\"; files=" + (files ? "1" : "0") + " ;;\n";
    }
    const std::string name = app.get_name();
    std::string fn = "_" + name;
    std::replace(fn.begin(), fn.end(), '-', '_');
    return "# bash completion for " + name + "; generated by `" + name + " completion bash`\n" + fn +
           "() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} path=\"\" words=\"\" files=0 i\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        case \"$path/${COMP_WORDS[i]}\" in\n"
           "            " + joined(paths, "|") + ") path=\"$path/${COMP_WORDS[i]}\" ;;\n"
           "        esac\n"
           "    done\n"
           "    case \"$path $prev\" in\n" +
           values +
           "    esac\n"
           "    case \"$path\" in\n" +
           words +
           "    esac\n"
           "    if [[ $cur == -* || $files == 0 ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F " + fn + " " + name + "\n";
}

}  // namespace gyrel::cli
