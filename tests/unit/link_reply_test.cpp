#include <gtest/gtest.h>

#include "link/reply.h"
#include "link/status_frame.h"
#include "support/scripted_port.h"

namespace gyrel {
namespace {

// Layout B: position 1234 (D2 04), program 3, 5 cams, outputs 1 and 3 on (05 00).
// Sum of bytes 1..17: D2 + 04 + 03 + 05 + 05 = E3.
const Bytes kFrameB = bytesOf({0x80, 0x00, 0xD2, 0x04, 0x03, 0x05, 0x00, 0x00, 0x05, 0x00,
                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3});
// Layout A: program 2, 258 cams (02 01), position 10000 (10 27 00 00), outputs 0x81.
// Sum: 02 + 02 + 01 + 10 + 27 + 81 = BD.
const Bytes kFrameA = bytesOf({0x80, 0x00, 0x02, 0x00, 0x02, 0x01, 0x10, 0x27, 0x00, 0x00,
                               0x00, 0x00, 0x00, 0x00, 0x81, 0x00, 0x00, 0x00, 0xBD});

TEST(LinkReply, ChecksumLeavesOutByteZeroAndDropsTheCarry) {
    EXPECT_EQ(replyChecksum(kFrameB), 0xE3);
    Bytes f(19, 0xFF);  // 17 x 0xFF = 0x10EF -> EF; byte 0 and byte 18 not summed
    EXPECT_EQ(replyChecksum(f), 0xEF);
}

TEST(LinkReply, ClassifiesByFirstByteAndLength) {
    EXPECT_EQ(classifyReply(kFrameB).kind, ReplyKind::Status);
    EXPECT_TRUE(classifyReply(kFrameB).checksumOk);

    Bytes bad = kFrameB;
    bad[18] = 0xE4;
    EXPECT_EQ(classifyReply(bad).kind, ReplyKind::Status);
    EXPECT_FALSE(classifyReply(bad).checksumOk);

    Bytes longer = kFrameB;
    longer.push_back(0x00);  // 20 bytes starting 0x80: no known shape
    EXPECT_EQ(classifyReply(longer).kind, ReplyKind::None);
    EXPECT_EQ(classifyReply(Bytes(kFrameB.begin(), kFrameB.begin() + 18)).kind, ReplyKind::None);

    Bytes data = kFrameB;
    data[0] = 0x40;
    EXPECT_EQ(classifyReply(data).kind, ReplyKind::Data);
    EXPECT_TRUE(classifyReply(data).checksumOk);
    // A short data frame cannot be checked: a data frame with a failed checksum.
    EXPECT_EQ(classifyReply(bytesOf({0x40, 0x01, 0x02})).kind, ReplyKind::Data);
    EXPECT_FALSE(classifyReply(bytesOf({0x40, 0x01, 0x02})).checksumOk);

    EXPECT_EQ(classifyReply(bytesOf({0xFF})).kind, ReplyKind::Ack);
    EXPECT_EQ(classifyReply(Bytes(38, 0xFF)).kind, ReplyKind::Ack);
    EXPECT_EQ(classifyReply(Bytes(39, 0xFF)).kind, ReplyKind::None);
    EXPECT_EQ(classifyReply(bytesOf({0x00, 0xFF})).kind, ReplyKind::EmptySlot);
    EXPECT_EQ(classifyReply(bytesOf({0x00, 0xFF, 0x00})).kind, ReplyKind::None);
    EXPECT_EQ(classifyReply(bytesOf({0x00, 0xFE})).kind, ReplyKind::None);
    EXPECT_EQ(classifyReply(Bytes{}).kind, ReplyKind::None);
}

TEST(LinkReply, DecodesLayoutB) {
    const StatusFrame f = decodeStatusFrame(kFrameB, StatusLayout::B);
    EXPECT_EQ(f.position, 1234u);
    EXPECT_EQ(f.program, 3u);
    EXPECT_EQ(f.cams, 5u);
    EXPECT_EQ(f.outputs, 0x0005u);
}

TEST(LinkReply, DecodesLayoutA) {
    const StatusFrame f = decodeStatusFrame(kFrameA, StatusLayout::A);
    EXPECT_EQ(f.position, 10000u);
    EXPECT_EQ(f.program, 2u);
    EXPECT_EQ(f.cams, 258u);
    EXPECT_EQ(f.outputs, 0x81u);

    Bytes noProg = bytesOf({0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFC});
    EXPECT_EQ(decodeStatusFrame(noProg, StatusLayout::A).position, kNoProgramPosition);
    EXPECT_EQ(classifyReply(noProg).checksumOk, true);
}

}  // namespace
}  // namespace gyrel
