#pragma once
#include <array>
#include <cstdint>

#include "editor/prepare.h"

namespace gyrel::reference {

// The data control and the preparation walked position by position, exactly as
// the editor's rules state them: an occupancy table and an output profile of
// maxPosition + 1 entries. Slow and memory-hungry on purpose; it is the yardstick
// the edge-based implementation is measured against.
CheckResult controllaDati(const CamRow* rows, int count, const std::array<bool, 16>& check2, double maxPosition,
                          int lastOutputIndex, bool offsetsApplied);

PrepareOutcome prepareCamTable(CamRow* rows, int rowCount, const std::array<std::int16_t, 32>& activeOffsets,
                               std::array<bool, 16>& check2, double maxPosition, int lastOutputIndex, int mode,
                               CamTable& table);

}  // namespace gyrel::reference
