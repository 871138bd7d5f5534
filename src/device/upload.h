#pragma once
#include <string>

#include "device/download_frames.h"
#include "device/rebuild.h"
#include "device/transfer_env.h"

namespace gyrel {

class FrameSender;

// How one slot's exchange ended.
enum class UploadEnd {
    Complete,     // every entry read, the text rebuilt
    NoReply,      // fewer than 19 bytes within 13 x 50 ms (or Cancel)
    BadChecksum,
    OutOfRange,   // a count or page beyond the 241-entry table, or more than 241 rows
    NoHeader,     // the counters ran out before any header came
    NoPort,
    Busy,         // another transfer holds the editor
};

// Reading programs back from a new-generation device ("From ENCODER").
class UploadCommand {
public:
    UploadCommand(TransferEnv& env, FrameSender& sender) : env_(env), sender_(sender) {}

    // Menuencoder: the slot of the program-number box, or all 16 into a list.
    void Menuencoder(const std::string& programNumberText);

    // One slot (0-based). Result: ImportOk, 1 only for a complete exchange.
    int ImportaEncoder(int slot);
    // Rebuilds ProgBox from ImportedTable; false (and nothing changed) when the rows do not fit.
    bool CostruisciProgramma();

    ImportedTable Imported;
    int RemainingPositions = 0;
    int RemainingMasks = 0;
    int ImportOk = 0;
    UploadEnd lastEnd = UploadEnd::Complete;
    int repliesRead = 0;

    // The request frame for a slot.
    static Frame19 requestFrame(int slot);

private:
    UploadEnd exchange(int slot);
    bool hiRes() const;
    void showOutcome();

    TransferEnv& env_;
    FrameSender& sender_;
    bool countFrames_ = false;  // a single program counts its frames; the loop of 16 counts programs
};

}  // namespace gyrel
