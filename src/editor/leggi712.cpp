#include "editor/leggi712.h"

namespace gyrel {

namespace {

// The number's value as text: its digits without leading zeros ("0" when none).
std::string valueText(const std::string& digits) {
    std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

// 1..16 from a digit string, 0 for anything else.
int slotNumber(const std::string& digits) {
    const std::string v = valueText(digits);
    if (v.size() > 2) return 0;
    const int n = std::stoi(v);
    return n >= 1 && n <= 16 ? n : 0;
}

}  // namespace

void readHeaderParams(const std::string& text, EditorState& ed) {
    for (auto& program : ed.HeaderParams)
        for (auto& output : program)
            for (auto& value : output) value.clear();
    std::string keyword;
    std::string number;
    int program = 0;
    int output = 0;
    auto endField = [&] {
        if (keyword == "PRG") {
            program = slotNumber(number);
        } else if (keyword == "OUT") {
            output = slotNumber(number);
        } else if (keyword == "OFS" || keyword == "CON" || keyword == "COF") {
            const std::size_t entry = keyword == "OFS" ? 0 : keyword == "CON" ? 1 : 2;
            if (program > 0 && output > 0)
                ed.HeaderParams[static_cast<std::size_t>(program - 1)][static_cast<std::size_t>(output - 1)][entry] =
                    valueText(number);
        }
        keyword.clear();
        number.clear();
    };
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') {
            keyword += c;
        } else if (c >= '0' && c <= '9') {
            number += c;
        } else if (c == ',' || c == '\r') {
            endField();
        } else if (c == '\n') {
            program = 0;
            output = 0;
        }
    }
    endField();
}

}  // namespace gyrel
