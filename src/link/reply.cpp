#include "link/reply.h"

namespace gyrel {

std::uint8_t replyChecksum(const Bytes& frame) {
    std::uint8_t sum = 0;
    for (std::size_t i = 1; i <= 17 && i < frame.size(); ++i) sum = static_cast<std::uint8_t>(sum + frame[i]);
    return sum;
}

static bool checksumHolds(const Bytes& b) { return b.size() == kFrameLength && replyChecksum(b) == b[18]; }

ReplyVerdict classifyReply(const Bytes& b) {
    const std::size_t n = b.size();
    if (n == 0 || n > kLongestReply) return {};
    if (b[0] == 0x80 && n == kFrameLength) return {ReplyKind::Status, checksumHolds(b)};
    if (b[0] == 0x40) return {ReplyKind::Data, checksumHolds(b)};
    if (b[0] == 0xFF) return {ReplyKind::Ack, false};
    if (n == 2 && b[0] == 0x00 && b[1] == 0xFF) return {ReplyKind::EmptySlot, false};
    return {};
}

}  // namespace gyrel
