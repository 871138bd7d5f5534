#pragma once
#include <string>

namespace gyrel::sim {

// Misbehaviour the simulated device can be told to show, switchable at any time.
struct Faults {
    bool silent = false;        // answers nothing at all
    double lateMs = -1;         // >= 0: each reply's last byte reaches the host this many ms
                                // after the request's last byte reached the device
    bool badChecksum = false;   // status, upload and origin frames carry checksum + 1
    bool garbage = false;       // every reply is replaced by bytes of no known kind
    bool overlong = false;      // every reply is padded to more than 38 bytes
    int noAckFrames = 0;        // the next N download frames get no acknowledgement
    int muteAfterReplies = -1;  // >= 0: after N more replies the device falls silent
    int closeAfterReplies = -1; // >= 0: after N more replies the device drops the line
};

// Applies one fault given as text, as on the simulate command line:
// "silent", "late:MS", "late35", "late50", "late80", "late180", "late400",
// "badsum", "garbage", "long", "noack:N", "mute-after:N", "close-after:N".
// Returns false (and says why in *error) for an unknown or malformed text.
bool applyFault(const std::string& text, Faults& faults, std::string* error = nullptr);

}  // namespace gyrel::sim
