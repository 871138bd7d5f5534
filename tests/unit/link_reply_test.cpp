#include <gtest/gtest.h>

#include "link/reply.h"
#include "link/status_frame.h"
#include "support/scripted_port.h"

namespace gyrel {
namespace {

// Layout B: position 1234 (D2 04), program 3, 5 cams, outputs 1 and 3 on (05 00).
// Sum of bytes 1..17: D2 + 04 + 03 + 05 + 05 = E3.
const Bytes kFrameB = bytesOf({0x80, 0, 0xD2, 0x04, 0x03, 0x05, 0, 0, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE3});
// Layout A: program 2, 258 cams (02 01), position 10000 (10 27 00 00), outputs 0x81.
// Sum: 02 + 02 + 01 + 10 + 27 + 81 = BD.
const Bytes kFrameA = bytesOf({0x80, 0, 0x02, 0, 0x02, 0x01, 0x10, 0x27, 0, 0, 0, 0, 0, 0, 0x81, 0, 0, 0, 0xBD});

Bytes with(Bytes b, std::size_t at, std::uint8_t v) {
    if (at < b.size())
        b[at] = v;
    else
        b.push_back(v);
    return b;
}

TEST(LinkReply, ClassifiesByFirstByteAndLength) {
    EXPECT_EQ(replyChecksum(Bytes(19, 0xFF)), 0xEF);  // 17 x 0xFF = 0x10EF: bytes 0 and 18 not summed
    struct Case {
        const char* name;
        Bytes reply;
        ReplyKind kind;
        bool checksumOk;
    };
    const Case cases[] = {
        {"status", kFrameB, ReplyKind::Status, true},
        {"status, wrong sum", with(kFrameB, 18, 0xE4), ReplyKind::Status, false},
        {"20 bytes", with(kFrameB, 19, 0), ReplyKind::None, false},
        {"18 bytes", Bytes(kFrameB.begin(), kFrameB.begin() + 18), ReplyKind::None, false},
        {"data", with(kFrameB, 0, 0x40), ReplyKind::Data, true},
        {"short data: cannot be checked", bytesOf({0x40, 0x01, 0x02}), ReplyKind::Data, false},
        {"ack", bytesOf({0xFF}), ReplyKind::Ack, false},
        {"38 acks", Bytes(38, 0xFF), ReplyKind::Ack, false},
        {"39 acks", Bytes(39, 0xFF), ReplyKind::None, false},
        {"empty slot", bytesOf({0x00, 0xFF}), ReplyKind::EmptySlot, false},
        {"empty slot and more", bytesOf({0x00, 0xFF, 0x00}), ReplyKind::None, false},
        {"00 FE", bytesOf({0x00, 0xFE}), ReplyKind::None, false},
        {"nothing", Bytes{}, ReplyKind::None, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = classifyReply(c.reply);
        EXPECT_EQ(r.kind, c.kind);
        if (c.kind == ReplyKind::Status || c.kind == ReplyKind::Data) {
            EXPECT_EQ(r.checksumOk, c.checksumOk);
        }
    }
}

TEST(LinkReply, DecodesBothLayouts) {
    const StatusFrame b = decodeStatusFrame(kFrameB, StatusLayout::B);
    EXPECT_EQ((std::vector<std::uint64_t>{b.position, b.program, b.cams, b.outputs}),
              (std::vector<std::uint64_t>{1234, 3, 5, 0x0005}));
    const StatusFrame a = decodeStatusFrame(kFrameA, StatusLayout::A);
    EXPECT_EQ((std::vector<std::uint64_t>{a.position, a.program, a.cams, a.outputs}),
              (std::vector<std::uint64_t>{10000, 2, 258, 0x81}));
    const Bytes noProg = bytesOf({0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0xFC});
    EXPECT_EQ(decodeStatusFrame(noProg, StatusLayout::A).position, kNoProgramPosition);
    EXPECT_TRUE(classifyReply(noProg).checksumOk);
}

}  // namespace
}  // namespace gyrel
