#include "device/tx712_val.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace gyrel {

namespace {
bool blank(char c) { return c == ' ' || c == '\t'; }
bool digit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

double Val(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && blank(text[i])) ++i;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
    bool point = false;
    bool anyDigit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (digit(c)) {
            number += c;
            anyDigit = true;
        } else if (c == '.' && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return 0;
    return std::strtod(number.c_str(), nullptr);
}

bool isPlainUnsigned(const std::string& text) {
    std::size_t i = 0, end = text.size();
    while (i < end && blank(text[i])) ++i;
    while (end > i && blank(text[end - 1])) --end;
    if (i < end && text[i] == '+') ++i;
    bool anyDigit = false, point = false;
    for (; i < end; ++i) {
        if (digit(text[i])) anyDigit = true;
        else if (text[i] == '.' && !point) point = true;
        else return false;
    }
    return anyDigit;
}

}  // namespace gyrel
