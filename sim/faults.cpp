#include "sim/faults.h"

#include <cstdlib>

namespace gyrel::sim {

namespace {

// A whole number >= 0 after the colon of "name:N"; -1 when there is none.
long numberAfterColon(const std::string& text, const std::string& name) {
    if (text.size() <= name.size() + 1 || text.compare(0, name.size(), name) != 0 || text[name.size()] != ':')
        return -1;
    const std::string digits = text.substr(name.size() + 1);
    if (digits.empty() || digits.size() > 7 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::strtol(digits.c_str(), nullptr, 10);
}

}  // namespace

bool applyFault(const std::string& text, Faults& faults, std::string* error) {
    // The named late replies land in the middle of each window of the host's
    // 35/50/80/180-ms reply grid, and one beyond it.
    struct Named { const char* name; double ms; };
    static const Named lateNames[] = {{"late35", 30}, {"late50", 45}, {"late80", 70}, {"late180", 150}, {"late400", 300}};
    for (const Named& n : lateNames) {
        if (text == n.name) {
            faults.lateMs = n.ms;
            return true;
        }
    }
    if (text == "silent") {
        faults.silent = true;
        return true;
    }
    if (text == "badsum") {
        faults.badChecksum = true;
        return true;
    }
    if (text == "garbage") {
        faults.garbage = true;
        return true;
    }
    if (text == "long") {
        faults.overlong = true;
        return true;
    }
    if (long n = numberAfterColon(text, "late"); n >= 0) {
        faults.lateMs = static_cast<double>(n);
        return true;
    }
    if (long n = numberAfterColon(text, "noack"); n >= 0) {
        faults.noAckFrames = static_cast<int>(n);
        return true;
    }
    if (long n = numberAfterColon(text, "mute-after"); n >= 0) {
        faults.muteAfterReplies = static_cast<int>(n);
        return true;
    }
    if (long n = numberAfterColon(text, "close-after"); n >= 0) {
        faults.closeAfterReplies = static_cast<int>(n);
        return true;
    }
    if (error) {
        *error = "unknown fault \"" + text +
                 "\" (known: silent, late:MS, late35, late50, late80, late180, late400, badsum, garbage, long, "
                 "noack:N, mute-after:N, close-after:N)";
    }
    return false;
}

}  // namespace gyrel::sim
