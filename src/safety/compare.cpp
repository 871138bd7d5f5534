#include "safety/compare.h"

#include <algorithm>

#include "device/rebuild.h"
#include "editor/cam_table.h"

namespace gyrel {

ChangePoints sentTable(const CamTable& prepared, bool wide) {
    const int n = prepared.storedCount();
    if (n == 0) return {ChangePoint{0, 0}};
    const std::uint32_t keep = wide ? 0xFFFFFFFFu : 0xFFFFu;
    ChangePoints t;
    t.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) t.push_back({prepared.position(i) & keep, prepared.mask(i) & keep});
    return t;
}

ChangePoints readTable(const ImportedTable& imported, int count) {
    ChangePoints t;
    for (int i = 0; i < count && i < ImportedTable::kRows; ++i) {
        const auto& row = imported.rows[static_cast<std::size_t>(i)];
        t.push_back({static_cast<std::uint32_t>(row[0]), static_cast<std::uint32_t>(row[1])});
    }
    return t;
}

SlotComparison compareTables(int slot, const ChangePoints& fromFile, const ChangePoints& readBack) {
    SlotComparison c;
    c.slot = slot;
    c.fileCount = static_cast<int>(fromFile.size());
    c.deviceCount = static_cast<int>(readBack.size());
    if (readBack.empty()) {
        c.state = SlotState::EmptyOnDevice;
        return c;
    }
    const std::size_t n = std::max(fromFile.size(), readBack.size());
    for (std::size_t i = 0; i < n; ++i) {
        const bool inFile = i < fromFile.size(), onDevice = i < readBack.size();
        if (inFile && onDevice && fromFile[i] == readBack[i]) continue;
        c.state = SlotState::Differs;
        c.index = static_cast<int>(i);
        if (inFile) c.onFile = fromFile[i];
        if (onDevice) c.onDevice = readBack[i];
        return c;
    }
    c.state = SlotState::Same;
    return c;
}

const char* stateWord(SlotState state) {
    switch (state) {
        case SlotState::Same: return "same";
        case SlotState::Differs: return "differs";
        case SlotState::EmptyOnDevice: return "empty";
        case SlotState::FileMissing: return "missing";
        case SlotState::FileBad: return "bad-file";
        case SlotState::ReadFailed: return "read-failed";
        case SlotState::EmptyBoth: return "empty-same";
        case SlotState::NotEmpty: return "not-empty";
        case SlotState::NotListed: return "not-listed";
    }
    return "";
}

std::string differenceDetail(const SlotComparison& c) {
    auto side = [](const std::optional<ChangePoint>& p) {
        return p ? std::to_string(p->position) + "/" + std::to_string(p->mask) : std::string("-");
    };
    return "change point " + std::to_string(c.index) + ": file " + side(c.onFile) + ", device " +
           side(c.onDevice);
}

std::string describeSlot(const SlotComparison& c) {
    std::string line = std::to_string(c.slot + 1) + " " + stateWord(c.state);
    std::string detail;
    switch (c.state) {
        case SlotState::Differs:
            detail = differenceDetail(c);
            break;
        case SlotState::NotEmpty:
            detail = std::to_string(c.deviceCount) + " change points on the device";
            break;
        case SlotState::Same:
        case SlotState::EmptyOnDevice:
        case SlotState::FileMissing:
            detail = c.file;
            break;
        default:
            detail = c.detail;
            break;
    }
    if (!detail.empty()) line += " " + detail;
    return line;
}

}  // namespace gyrel
