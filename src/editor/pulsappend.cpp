#include "editor/pulsappend.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace gyrel {

double valOf(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string num;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) num += text[i++];
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') num += c;
        else if (c == '.' && !point) { point = true; num += c; }
        else break;
    }
    if (num.empty() || num == "+" || num == "-" || num == "." || num == "+." || num == "-.") return 0;
    return std::strtod(num.c_str(), nullptr);
}

std::string generalNumber(double v) {
    if (v == 0 || !std::isfinite(v)) return "0";
    char buf[64];
    if (std::nearbyint(v) == v && std::fabs(v) < 1e15) {
        std::snprintf(buf, sizeof buf, "%.0f", v);
    } else {
        std::snprintf(buf, sizeof buf, "%.15g", v);
    }
    return buf;
}

namespace {

bool isWordChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// True when `line` holds `lead` directly followed by `number` as a whole word.
bool holdsNumber(const std::string& line, const std::string& lead, const std::string& number) {
    const std::string key = lead + number;
    for (std::size_t at = line.find(key); at != std::string::npos; at = line.find(key, at + 1)) {
        const std::size_t end = at + key.size();
        if (end >= line.size() || !isWordChar(line[end])) return true;
    }
    return false;
}

}  // namespace

std::string appendProgramBlock(const std::string& text, const std::string& program,
                               const std::string& programTitle, const RowBoxes& rows,
                               std::vector<std::string>* warnings) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        const std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
        const std::string line = text.substr(start, end - start);
        if (!holdsNumber(line, "#  ", program) && !holdsNumber(line, "PRG=", program)) out += line;
        start = end;
    }
    out += "\r\n'" + programTitle + " " + program + " \r\n";
    for (int i = 0; i < 16; ++i) {
        const std::string& ofs = rows.ofs[i];
        const std::string& con = rows.con[i];
        const std::string& cof = rows.cof[i];
        if (!con.empty() && !cof.empty() && valOf(ofs) > valOf(con) + valOf(cof) && warnings)
            warnings->push_back(ofs + " > " + con + " + " + cof);
        if (ofs.empty() && con.empty() && cof.empty()) continue;
        out += "PRG=" + program + ",OUT=" + std::to_string(i + 1);
        if (!ofs.empty()) out += ",OFS=" + generalNumber(valOf(ofs));
        if (!con.empty()) out += ",CON=" + generalNumber(valOf(con));
        if (!cof.empty()) out += ",COF=" + generalNumber(valOf(cof));
        out += "\r\n";
    }
    return out;
}

}  // namespace gyrel
