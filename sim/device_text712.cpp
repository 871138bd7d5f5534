// The old generation's text dialect: the program typed line by line, each line
// echoed and answered with "OK" or "ER", three characters and the prompt ">".
#include <cctype>
#include <map>

#include "sim/device.h"
#include "sim/frames.h"

namespace gyrel::sim {

namespace {

constexpr std::size_t kMaxLine = 256;
constexpr long kMaxValue = 65535;

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    const auto e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// A whole number 0..65535, optionally followed by a fraction that is dropped.
bool parseValue(const std::string& text, long& value) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '+') ++i;
    const std::size_t digitsStart = i;
    value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10 + (text[i] - '0');
        if (value > kMaxValue) return false;
        ++i;
    }
    if (i == digitsStart) return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    }
    return i == text.size();
}

}  // namespace

void Device::handleText(std::uint8_t c, double t, std::vector<Reply>& out) {
    if (c == '|') {  // start of a program download
        line_.clear();
        return;
    }
    if (c == '\r') {
        textLines_.push_back(line_);
        const bool ok = runLine712(line_);
        line_.clear();
        answer(toBytes(std::string("\r\n") + (ok ? "OK" : "ER") + "\r\n->"), t, false, out);
        return;
    }
    if (c < 0x20 || c > 0x7E) return;  // line feeds and noise
    if (line_.size() < kMaxLine) line_.push_back(static_cast<char>(c));
    echo(Bytes{c}, t, out);
}

// Runs one line; false when the device rejects it.
bool Device::runLine712(const std::string& line) {
    if (line.size() >= kMaxLine) return false;
    std::vector<std::pair<std::string, std::string>> fields;
    std::string rest = line;
    while (true) {
        const auto comma = rest.find(',');
        const std::string field = trimmed(rest.substr(0, comma));
        if (!field.empty() || comma != std::string::npos) {
            const auto eq = field.find('=');
            if (eq == std::string::npos) return false;
            std::string key = trimmed(field.substr(0, eq));
            for (char& ch : key) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            fields.emplace_back(key, trimmed(field.substr(eq + 1)));
        }
        if (comma == std::string::npos) break;
        rest = rest.substr(comma + 1);
    }
    if (fields.empty()) return true;

    long program = 0;
    if (!parseValue(fields[0].second, program) || program < 1 || program > kSlots) return false;
    const std::string& command = fields[0].first;
    if (command == "DFT" || command == "RST") {
        if (fields.size() != 1) return false;
        if (command == "DFT")
            setRunningSlot(static_cast<int>(program) - 1);
        else
            rows712_[program - 1] = {};
        return true;
    }
    if (command != "PRG") return false;

    std::map<std::string, long> values;
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const std::string& key = fields[i].first;
        if (key != "OUT" && key != "OFS" && key != "CON" && key != "COF") return false;
        long v = 0;
        if (values.count(key) || !parseValue(fields[i].second, v)) return false;
        values[key] = v;
    }
    if (values.empty()) return true;  // the program number alone
    if (!values.count("OUT") || values["OUT"] < 1 || values["OUT"] > 16) return false;
    // A row command states the whole row: a value it leaves out is 0, and no
    // COF makes a single cam.
    Row712 row;
    row.set = true;
    row.ofs = values.count("OFS") ? values["OFS"] : 0;
    row.con = values.count("CON") ? values["CON"] : 0;
    row.hasCof = values.count("COF") > 0;
    row.cof = row.hasCof ? values["COF"] : 0;
    rows712_[program - 1][values["OUT"] - 1] = row;
    return true;
}

bool Device::hasProgram712(int program) const {
    for (const Row712& r : rows712_.at(program))
        if (r.set) return true;
    return false;
}

std::uint32_t Device::outputs712(int program, std::uint32_t position) const {
    const long x = static_cast<long>(position);
    std::uint32_t mask = 0;
    for (int o = 0; o < 16; ++o) {
        const Row712& r = rows712_[program][o];
        if (!r.set) continue;
        bool on = false;
        if (!r.hasCof) {
            on = r.con > 0 && x >= r.ofs && x < r.ofs + r.con;
        } else {
            // ON for CON positions every CON + COF, starting at OFS (and the
            // tail of the period that began before position 0).
            const long period = r.con + r.cof;
            if (period > 0 && r.ofs <= period) on = (((x - r.ofs) % period) + period) % period < r.con;
        }
        if (on) mask |= 1u << o;
    }
    return mask;
}

}  // namespace gyrel::sim
