#include "device/deskpl.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>

namespace gyrel {

using namespace deskpl;

namespace {

// The largest position of any model: an angle beyond it is no position.
constexpr double kLargestPosition = 4294967295.0;

std::uint8_t byteAt(const std::string& f, std::size_t at) { return static_cast<std::uint8_t>(f[at]); }

int int16At(const std::string& f, std::size_t at) {
    const auto v = static_cast<std::uint16_t>(byteAt(f, at) | byteAt(f, at + 1) << 8);
    return static_cast<std::int16_t>(v);
}

float floatAt(const std::string& f, std::size_t at) {
    const std::uint32_t bits = static_cast<std::uint32_t>(byteAt(f, at)) |
                               static_cast<std::uint32_t>(byteAt(f, at + 1)) << 8 |
                               static_cast<std::uint32_t>(byteAt(f, at + 2)) << 16 |
                               static_cast<std::uint32_t>(byteAt(f, at + 3)) << 24;
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Brings an offset into -1800..1800 by whole turns. Where a turn is longer than
// 3600 tenths some offsets have no such equivalent; those are refused rather
// than corrected for ever.
bool normaliseOffset(double v, double turn, double& out) {
    // Beyond 2^24 tenths a single-precision offset has no exact whole-turn
    // equivalent: refused, like infinity.
    if (!std::isfinite(v) || std::fabs(v) > 16777216.0 || turn <= 0) return false;
    if (v > 1800) v -= std::ceil((v - 1800) / turn) * turn;
    else if (v < -1800) v += std::ceil((-1800 - v) / turn) * turn;
    if (v > 1800 || v < -1800) return false;
    out = v;
    return true;
}

}  // namespace

std::string formatSingle(float value) {
    if (value == 0 || !std::isfinite(value)) return "0";
    char buf[64];
    if (std::fabs(value) < 1e7f && std::nearbyint(value) == value) {
        std::snprintf(buf, sizeof buf, "%.0f", static_cast<double>(value));
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(value));
    if (!std::strchr(buf, 'e')) return buf;
    // Program text has no exponent form: write the same seven digits in plain decimals.
    std::snprintf(buf, sizeof buf, "%.6e", static_cast<double>(value));
    std::string m = buf;
    const bool negative = m[0] == '-';
    if (negative) m.erase(0, 1);
    const int exponent = std::atoi(m.c_str() + m.find('e') + 1);
    std::string digits = m.substr(0, 1) + m.substr(2, 6);
    std::string s;
    if (exponent >= 0) {
        digits.resize(std::max<std::size_t>(digits.size(), static_cast<std::size_t>(exponent) + 1), '0');
        s = digits.substr(0, static_cast<std::size_t>(exponent) + 1);
        const std::string rest = digits.substr(static_cast<std::size_t>(exponent) + 1);
        if (rest.find_first_not_of('0') != std::string::npos) s += "." + rest;
    } else {
        s = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (negative) s = "-" + s;
    return s == "-0" ? "0" : s;
}

bool convertDeskplRecord(const std::string& file, int record, const DeskplOptions& opt, bool& inUse,
                         int& program, std::string& text, std::string& why) {
    inUse = false;
    text.clear();
    if (record < 0 || record > 15 || file.size() < kMinFileSize) {
        why = "file shorter than " + std::to_string(kMinFileSize) + " bytes";
        return false;
    }
    const std::size_t base = kHeaderSize + static_cast<std::size_t>(record) * kRecordSize;
    program = byteAt(file, base);
    int counts[16];
    for (int j = 0; j < 16; ++j) {
        counts[j] = int16At(file, base + kCounts + 2 * static_cast<std::size_t>(j));
        if (counts[j] != 0) inUse = true;
    }
    if (!inUse) return true;
    const std::string where = "record " + std::to_string(record + 1) + ": ";
    if (program < 1 || program > 16) {
        why = where + "program number " + std::to_string(program) + " outside 1..16";
        return false;
    }

    text = "'" + opt.importedOn + opt.dateText + opt.fromFile + opt.deskplPath + "\r\n";
    text += "\r\n' - - - " + opt.programNo + std::to_string(program) + "\r\n\r\n";

    const double turn = opt.maxPosition + 1;
    std::string offsets;
    bool anyOffset = false;
    for (int j = 1; j <= 16; ++j) {
        const int count = counts[j - 1];
        if (count < 0 || count > kEntries) {
            why = where + "output " + std::to_string(j) + " has " + std::to_string(count) + " entries";
            return false;
        }
        float column[2] = {0, 0};  // [0] OFF (kind 0), [1] ON (kind 1)
        for (int c = 0; c <= count - 1; c += 2) {
            // An odd count also takes the entry just behind it, where there is one.
            for (int e = c; e <= c + 1 && e < kEntries; ++e) {
                const std::size_t at = base + kAngles + 1020 * static_cast<std::size_t>(j - 1) + 4 * static_cast<std::size_t>(e);
                const int kind = byteAt(file, base + kKinds + 255 * static_cast<std::size_t>(j - 1) + static_cast<std::size_t>(e));
                const float angle = floatAt(file, at);
                if (kind != 0 && kind != 1) {
                    why = where + "output " + std::to_string(j) + " entry " + std::to_string(e) + " has kind " +
                          std::to_string(kind);
                    return false;
                }
                // The position in tenths must be a finite single-precision value
                // no turn of any model exceeds; 3e38 would overflow to infinity
                // and be written as 0.
                const double tenths = 10.0 * static_cast<double>(angle);
                if (!std::isfinite(angle) || !(std::fabs(tenths) <= kLargestPosition)) {
                    why = where + "output " + std::to_string(j) + " entry " + std::to_string(e) + " is no angle";
                    return false;
                }
                column[kind] = static_cast<float>(tenths);
            }
            text += std::to_string(j) + "\t" + formatSingle(column[1]) + "\t" + formatSingle(column[0]) + "\r\n";
        }
        const float on = floatAt(file, base + kOnOffsets + 4 * static_cast<std::size_t>(j - 1));
        const float off = floatAt(file, base + kOffOffsets + 4 * static_cast<std::size_t>(j - 1));
        if (on == 0 && off == 0) continue;
        double onTenths = 0, offTenths = 0;
        if (!normaliseOffset(-10.0 * on, turn, onTenths) || !normaliseOffset(-10.0 * off, turn, offTenths)) {
            why = where + "offset of output " + std::to_string(j) + " cannot be brought into -1800..1800";
            return false;
        }
        if (!anyOffset) offsets += "\r\n&\r\n";
        anyOffset = true;
        offsets += std::to_string(j) + "\t" + formatSingle(static_cast<float>(onTenths)) + "\t" +
                   formatSingle(static_cast<float>(offTenths)) + "\r\n";
    }
    text += offsets;
    return true;
}

DeskplResult DecodeDPL(FileSystem& fs, const std::string& path, const DeskplOptions& opt) {
    DeskplResult result;
    std::string file;
    try {
        file = fs.readAll(path);
    } catch (const FileError& e) {
        result.ok = false;
        result.why = e.what();
        return result;
    }
    if (file.size() < kMinFileSize) {
        result.ok = false;
        result.why = "file shorter than " + std::to_string(kMinFileSize) + " bytes";
        return result;
    }
    for (int k = 0; k < 16; ++k) {
        bool inUse = false;
        int program = 0;
        std::string text;
        if (!convertDeskplRecord(file, k, opt, inUse, program, text, result.why)) {
            result.ok = false;
            return result;
        }
        if (!inUse) continue;
        const std::string name = opt.listBase + "_" + std::to_string(program) + "." + opt.extension;
        try {
            fs.replaceFile(name, text);
        } catch (const FileError& e) {
            result.ok = false;
            result.why = e.what();
            return result;
        }
        result.paths[static_cast<std::size_t>(program - 1)] = name;
        result.written.push_back(name);
    }
    return result;
}

}  // namespace gyrel
