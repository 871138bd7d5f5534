#pragma once
#include <cstdint>

#include "device/model_table.h"
#include "platform/bytes.h"

namespace gyrel {

// The fields of a 19-byte status frame the host uses.
struct StatusFrame {
    std::uint32_t program = 0;   // as stored in the device (before ProgramNumberOffset)
    std::uint32_t cams = 0;      // cams in the running program
    std::uint32_t position = 0;  // layout A: 0xFFFFFFFF = no program
    std::uint32_t outputs = 0;   // bit 0 = output 1
};

// Position meaning "no program in the device" (layout A).
constexpr std::uint32_t kNoProgramPosition = 0xFFFFFFFFu;

// Decodes a status frame by layout; multi-byte fields are least significant first.
// The buffer must be 19 bytes long.
StatusFrame decodeStatusFrame(const Bytes& frame, StatusLayout layout);

}  // namespace gyrel
