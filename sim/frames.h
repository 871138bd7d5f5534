#pragma once
#include <cstdint>

#include "device/model_table.h"
#include "platform/bytes.h"

namespace gyrel::sim {

// Byte sizes and helpers shared by the device's frames.
constexpr int kFrameSize = 19;
constexpr std::uint8_t kAck = 0xFF;
constexpr std::uint8_t kStatusQuery = 0x80;
constexpr std::uint8_t kOriginCommand = 0x81;
constexpr std::uint8_t kUploadRequest = 10;
constexpr int kSlots = 16;

// 8-bit running sum of bytes [first, last] (carry dropped).
std::uint8_t sum8(const Bytes& b, int first, int last);
// Little-endian field of `count` bytes at `at`.
void putLe(Bytes& b, int at, std::uint32_t value, int count);
std::uint32_t getLe(const Bytes& b, int at, int count);

// What a status frame reports.
struct StatusFields {
    int program = 0;            // as the device stores it
    int cams = 0;
    std::uint32_t position = 0;
    std::uint32_t outputs = 0;  // bit 0 = output 1
};

// The 19-byte status frame in layout A or B; the checksum covers bytes 1..17.
Bytes buildStatusFrame(StatusLayout layout, const StatusFields& fields);

}  // namespace gyrel::sim
