#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gyrel {

struct CamTable;
struct ImportedTable;

// One change point as the device keeps it: from `position` on, the outputs are `mask`.
struct ChangePoint {
    std::uint32_t position = 0;
    std::uint32_t mask = 0;
    bool operator==(const ChangePoint& o) const { return position == o.position && mask == o.mask; }
};
using ChangePoints = std::vector<ChangePoint>;

// The table a download puts into the device for a prepared program: an empty
// program goes as one entry with every output off, and the standard encoding
// keeps 16 bits of each value.
ChangePoints sentTable(const CamTable& prepared, bool wide);
// The first `count` entries of an upload.
ChangePoints readTable(const ImportedTable& imported, int count);

// How one slot of the device stands against its file.
enum class SlotState {
    Same,           // the table read back is the one the file prepares to
    Differs,        // first differing change point in `index`, `file`, `device`
    EmptyOnDevice,  // the device holds no program in the slot
    FileMissing,    // the list names a file that is not there
    FileBad,        // the file cannot be read or fails its check (`detail`)
    ReadFailed,     // the slot could not be read back (`detail`)
    EmptyBoth,      // the list records the slot empty and the device holds none
    NotEmpty,       // the list records the slot empty but the device holds a program
    NotListed,      // the list says nothing about the slot; not read
};

struct SlotComparison {
    int slot = 0;  // 0-based
    SlotState state = SlotState::NotListed;
    std::string file;
    int index = -1;                     // Differs: the first differing change point (0-based)
    std::optional<ChangePoint> onFile;  // Differs: that entry on each side; absent when
    std::optional<ChangePoint> onDevice;  // the side has fewer entries
    int fileCount = 0, deviceCount = 0;
    std::string detail;

    // Counts against "the device holds what the files say".
    bool difference() const {
        return state == SlotState::Differs || state == SlotState::EmptyOnDevice || state == SlotState::FileMissing ||
               state == SlotState::FileBad || state == SlotState::NotEmpty;
    }
};

// Same, Differs (with the first differing entry) or EmptyOnDevice.
SlotComparison compareTables(int slot, const ChangePoints& fromFile, const ChangePoints& readBack);

// The word a state is printed as: "same", "differs", "empty", "missing",
// "bad-file", "read-failed", "empty-same", "not-empty", "not-listed".
const char* stateWord(SlotState state);
// "SLOT STATE [detail]", the slot counted from 1, no line end.
std::string describeSlot(const SlotComparison& c);
// The detail of a difference: "change point I: file P/M, device P/M" (a side
// without that entry shows "-").
std::string differenceDetail(const SlotComparison& c);

}  // namespace gyrel
