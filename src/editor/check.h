#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gyrel {

using CamRow = std::array<double, 3>;  // output, ON, OFF

// The first contradiction the data control finds.
struct CheckFailure {
    int word = 0;          // MsgText index: 10 "Twice value", 11 "Output just turned on"
    int output = 0;
    int reportedRow = 0;   // row index named after "At row"
    int currentRow = 0;    // row index being examined (the title's "Row")
    int valueColumn = 0;   // 1 ON, 2 OFF
    bool offsetsApplied = false;
    bool operator==(const CheckFailure& o) const {
        return word == o.word && output == o.output && reportedRow == o.reportedRow &&
               currentRow == o.currentRow && valueColumn == o.valueColumn && offsetsApplied == o.offsetsApplied;
    }
};

// An always-OFF (value 0) or always-ON (value 1) row the control accepted: its
// lines are marked in the text.
struct AlwaysMark {
    int output = 0;
    int value = 0;
    bool operator==(const AlwaysMark& o) const { return output == o.output && value == o.value; }
};

struct CheckResult {
    bool failed = false;
    CheckFailure failure;
    std::vector<AlwaysMark> marks;  // in the order they were found, each once
};

// Progress of a long step: a label and the fraction done (0..1).
using ProgressFn = std::function<void(const char* label, double fraction)>;

// ControllaDati over rows[0..count): the equal-edge rule first (ON equal to OFF
// is allowed only as an always-OFF/ON row of an output without offsets), then
// the overlap rule (cams of one output must not share a position; an ON<OFF cam
// covers its OFF position, a wrap-around cam does not). Outputs
// 1..lastOutputIndex+1 are examined, in order. The result is the one a walk over
// every position finds first, at a cost that depends on the rows only.
CheckResult controllaDati(const CamRow* rows, int count, const std::array<bool, 16>& check2,
                          double maxPosition, int lastOutputIndex, bool offsetsApplied);

// The message box of a failure: title and prompt (CR LF line breaks), with the
// values shown as written (offsets taken off again when they were applied).
struct CheckMessage {
    std::string title;
    std::string prompt;
};
CheckMessage checkMessage(const std::function<std::string(int)>& msg, const CheckFailure& f, const CamRow* rows,
                          const std::array<std::int16_t, 32>& activeOffsets, double maxPosition);

// A position shown as written: value less its offset, brought back into 0..max.
long long positionAsWritten(double value, int offset, double maxPosition);

}  // namespace gyrel
