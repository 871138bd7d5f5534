#include "device/download_frames.h"

#include <gtest/gtest.h>

#include <vector>

namespace gyrel {
namespace {

Frame19 F(std::initializer_list<int> bytes) {
    Frame19 f{};
    int i = 0;
    for (int b : bytes) f[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(b);
    return f;
}

CamTable tableOf(const std::vector<std::uint32_t>& positions, const std::vector<std::uint32_t>& masks) {
    CamTable t;
    for (std::size_t i = 0; i < positions.size(); ++i) t.set(static_cast<int>(i), positions[i], masks[i]);
    t.CamCount = static_cast<double>(positions.size());
    return t;
}

// Known-answer frames: the standard ninth entry goes on a short page carrying the
// tail of the previous one; high-resolution pages end in zero tails.
TEST(DownloadFrames, KnownAnswerPagesAndAFullTable) {
    using Frames = std::vector<Frame19>;
    const CamTable t = tableOf({10, 300, 700, 1000, 1500, 2000, 2500, 3000, 3500},
                               {0x0001, 0x0003, 0x0002, 0x8000, 0x0100, 0x0000, 0x00FF, 0x1234, 0x0000});
    EXPECT_EQ(buildDownloadFrames(t, 2, FrameEncoding::Standard),
              (Frames{F({1, 0, 2, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12}),
                      F({2, 0, 0x0A, 0, 0x2C, 1, 0xBC, 2, 0xE8, 3, 0xDC, 5, 0xD0, 7, 0xC4, 9, 0xB8, 0x0B, 0x2A}),
                      F({2, 1, 0xAC, 0x0D, 0x2C, 1, 0xBC, 2, 0xE8, 3, 0xDC, 5, 0xD0, 7, 0xC4, 9, 0xB8, 0x0B, 0xDA}),
                      F({3, 0, 1, 0, 3, 0, 2, 0, 0, 0x80, 0, 1, 0, 0, 0xFF, 0, 0x34, 0x12, 0xCF}),
                      F({3, 1, 0, 0, 3, 0, 2, 0, 0, 0x80, 0, 1, 0, 0, 0xFF, 0, 0x34, 0x12, 0xCF})}));
    const CamTable h = tableOf({3, 65536, 100000, 200000, 300000, 400000, 500000, 600000, 1048575},
                               {0xFF, 0x80000001, 0, 2, 0x10000, 0xFFFF, 4, 8, 0x10});
    EXPECT_EQ(buildDownloadFrames(h, 5, FrameEncoding::HighResolution),
              (Frames{F({1, 0, 5, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15}),
                      F({2, 0, 3, 0, 0, 0, 0, 0, 1, 0, 0xA0, 0x86, 1, 0, 0x40, 0x0D, 3, 0, 0x7D}),
                      F({2, 1, 0xE0, 0x93, 4, 0, 0x80, 0x1A, 6, 0, 0x20, 0xA1, 7, 0, 0xC0, 0x27, 9, 0, 0xD2}),
                      F({2, 2, 0xFF, 0xFF, 0x0F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x11}),
                      F({3, 0, 0xFF, 0, 0, 0, 1, 0, 0, 0x80, 0, 0, 0, 0, 2, 0, 0, 0, 0x85}),
                      F({3, 1, 0, 0, 1, 0, 0xFF, 0xFF, 0, 0, 4, 0, 0, 0, 8, 0, 0, 0, 0x0F}),
                      F({3, 2, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 21})}));
    // An empty table goes as one entry at 0 with every output off; the standard
    // encoding carries the low sixteen bits of a position.
    CamTable e;
    e.set(0, 1234, 0xFFFF);  // left over from an earlier preparation
    e.CamCount = 0;
    EXPECT_EQ(buildDownloadFrames(e, 0, FrameEncoding::Standard),
              (Frames{F({1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}),
                      F({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}),
                      F({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3})}));
    EXPECT_EQ(e.mask(0), 0xFFFFu);  // the editor's table is not touched
    EXPECT_EQ(buildDownloadFrames(tableOf({70000}, {0x30001}), 0, FrameEncoding::Standard),
              (Frames{F({1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}),
                      F({2, 0, 0x70, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x83}),
                      F({3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4})}));

    // A full table takes 31 or 61 frames; a slot past 16 is refused whole (more entries: Command2).
    CamTable f;
    for (int i = 0; i < 120; ++i) f.set(i, static_cast<std::uint32_t>(i * 30), static_cast<std::uint32_t>(i & 1));
    f.CamCount = 120;
    EXPECT_EQ(buildDownloadFrames(f, 15, FrameEncoding::Standard).size(), 31u);
    const auto full = buildDownloadFrames(f, 15, FrameEncoding::HighResolution);
    EXPECT_EQ(full.size(), 61u);
    for (const auto& frame : full) EXPECT_TRUE(frameSealed(frame));
    EXPECT_FALSE(checkDownloadable(f, 15).has_value());
    EXPECT_EQ(checkDownloadable(f, 16).value().prompt,
              "Program # 17 does not exist on the encoder (1 .. 16).\r\nNothing was sent.");
    EXPECT_TRUE(checkDownloadable(f, -1).has_value());
}

}  // namespace
}  // namespace gyrel
