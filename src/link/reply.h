#pragma once
#include <cstdint>

#include "platform/bytes.h"

namespace gyrel {

// What a buffer of bytes from the device is, told apart by its first byte and length.
enum class ReplyKind {
    None,       // nothing usable: no bytes, more than 38, or no known shape
    Status,     // 19 bytes starting 0x80
    Data,       // starting 0x40
    Ack,        // starting 0xFF (1..38 bytes)
    EmptySlot,  // exactly 0x00 0xFF
};

struct ReplyVerdict {
    ReplyKind kind = ReplyKind::None;
    bool checksumOk = false;  // meaningful for Status and Data only
};

constexpr std::size_t kFrameLength = 19;
constexpr std::size_t kLongestReply = 38;

// The device's frame checksum: bytes 1..17 summed modulo 256 (byte 0 left out).
// The buffer must hold at least 18 bytes.
std::uint8_t replyChecksum(const Bytes& frame);

// Classifies a reply. A data frame that is not exactly 19 bytes long cannot be
// checked, so it is reported as a data frame whose checksum failed.
ReplyVerdict classifyReply(const Bytes& b);

}  // namespace gyrel
