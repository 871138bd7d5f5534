#pragma once
#include <array>
#include <cstdint>

#include "editor/cam_table.h"
#include "editor/check.h"

namespace gyrel {

struct PrepareOutcome {
    bool failed = false;
    CheckFailure failure;
    std::vector<AlwaysMark> marks;       // of the last data control run
    std::uint16_t alwaysOutputs = 0;     // bit o-1: output o has an always-OFF/ON row (mode 0 cleared its check2)
    bool offsetsApplied = false;
    double camCount = 0;                 // change points found; above 120 only 120 are stored
    bool tooManyCams() const { return camCount > CamTable::kMaxStored; }
};

// The body of PreparaDati for a non-empty program: clears the masks of entries
// 0..120, then in mode 0 switches the offsets of outputs with always rows off,
// runs the data control, adds the offsets of the ticked outputs to the rows (in
// place, wrapping through the end of the range) and runs the control again; then
// builds the cyclic table of change points.
//
// The output profile is never laid out position by position: every output's
// state is a step function of the rows' edges, so the table comes from the
// sorted edges, in time and memory that depend on the number of rows only.
PrepareOutcome prepareCamTable(CamRow* rows, int rowCount, const std::array<std::int16_t, 32>& activeOffsets,
                               std::array<bool, 16>& check2, double maxPosition, int lastOutputIndex, int mode,
                               CamTable& table, const ProgressFn& progress = nullptr);

// The cyclic table of change points of rows as they stand (no check, no
// offsets); returns the number of change points found.
double buildCamTable(const CamRow* rows, int rowCount, double maxPosition, CamTable& table);

}  // namespace gyrel
