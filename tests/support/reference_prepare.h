#pragma once
#include <array>
#include <cstdint>

#include "editor/prepare.h"

namespace gyrel::reference {

// The data control and the preparation walked position by position, exactly as
// the editor's rules state them. Slow on purpose: the yardstick the edge-based
// implementation is measured against.
PrepareOutcome prepareCamTable(CamRow* rows, int rowCount, const std::array<std::int16_t, 32>& activeOffsets,
                               std::array<bool, 16>& check2, double maxPosition, int lastOutputIndex, int mode,
                               CamTable& table);

}  // namespace gyrel::reference
