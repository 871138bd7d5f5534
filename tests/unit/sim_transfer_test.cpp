#include <gtest/gtest.h>

#include "sim/device.h"

namespace gyrel {
namespace {

using sim::CamTable;
using sim::Device;

// A 19-byte frame from its leading bytes, zero-filled, with its last byte given.
Bytes frame(std::initializer_list<int> head, int checksum) {
    Bytes f(19, 0);
    int i = 0;
    for (int v : head) f[i++] = static_cast<std::uint8_t>(v);
    f[18] = static_cast<std::uint8_t>(checksum);
    return f;
}

Bytes replyTo(Device& d, const Bytes& bytes, double t = 0) {
    Bytes all;
    for (const auto& r : d.receive(bytes, t)) all.insert(all.end(), r.bytes.begin(), r.bytes.end());
    return all;
}

const Bytes kAck{0xFF};

TEST(SimTransfer, ShortLastPageKeepsOnlyAnnouncedEntries) {
    // Nine entries: the second page carries entry 8 and stale bytes behind it.
    Device d("V820AX");
    EXPECT_EQ(replyTo(d, frame({1, 0, 0, 9}, 0x0A)), kAck);
    EXPECT_EQ(replyTo(d, frame({2, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0}, 0x26)), kAck);
    EXPECT_EQ(replyTo(d, frame({2, 1, 9, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0}, 0x2F)), kAck);
    EXPECT_EQ(replyTo(d, frame({3, 0, 1}, 0x04)), kAck);
    EXPECT_FALSE(d.program(0).has_value());
    EXPECT_EQ(replyTo(d, frame({3, 1, 2}, 0x06)), kAck);
    ASSERT_TRUE(d.program(0).has_value());
    ASSERT_EQ(d.program(0)->size(), 9u);
    EXPECT_EQ((*d.program(0))[8], (sim::CamEntry{9, 2}));
    EXPECT_EQ((*d.program(0))[1], (sim::CamEntry{2, 0}));
}

TEST(SimTransfer, HighResolutionDownloadAndUpload) {
    Device d("KMT71");
    // slot 0, one change point at 0x000A0000 with mask 0x81.
    EXPECT_EQ(replyTo(d, frame({1, 0, 0, 0, 1, 0}, 0x02)), kAck);
    EXPECT_EQ(replyTo(d, frame({2, 0, 0x00, 0x00, 0x0A, 0x00}, 0x0C)), kAck);
    EXPECT_EQ(replyTo(d, frame({3, 0, 0x81, 0x00, 0x00, 0x00}, 0x84)), kAck);
    EXPECT_EQ(*d.program(0), (CamTable{{0xA0000, 0x81}}));

    // Upload: the header, then one frame per go-ahead byte; an empty slot is a header alone.
    EXPECT_EQ(replyTo(d, frame({10, 0, 0}, 0x0A)), frame({1, 0, 0, 0, 1, 0}, 0x02));
    EXPECT_EQ(replyTo(d, kAck), frame({2, 0, 0x00, 0x00, 0x0A, 0x00}, 0x0C));
    EXPECT_EQ(replyTo(d, frame({10, 0, 5}, 0x0F)), frame({1, 0, 5}, 0x06));

    // A table larger than one upload can address is cut at 1024 entries (256 pages).
    d.setProgram(7, CamTable(1100, sim::CamEntry{1, 1}));
    EXPECT_EQ(replyTo(d, frame({10, 0, 7}, 0x11)), frame({1, 0, 7, 0, 0x00, 0x04}, 0x0C));
    int pages = 0;
    while (!replyTo(d, kAck).empty()) ++pages;
    EXPECT_EQ(pages, 512);
}

TEST(SimTransfer, DamagedOrOutOfPlaceFramesGetNoAcknowledgement) {
    Device d("NORM");
    EXPECT_TRUE(replyTo(d, frame({1, 0, 2, 3}, 0x07)).empty());   // checksum off by one
    EXPECT_TRUE(replyTo(d, frame({2, 0, 1}, 0x03)).empty());      // page before any header
    EXPECT_TRUE(replyTo(d, frame({1, 0, 16, 1}, 0x12)).empty());  // slot 17
    EXPECT_EQ(replyTo(d, frame({1, 0, 0, 1}, 0x02)), kAck);
    EXPECT_TRUE(replyTo(d, frame({2, 1, 1}, 0x04)).empty());  // page past the count
    EXPECT_EQ(d.acknowledgedFrames(), 1);
    Device v("V712");
    EXPECT_TRUE(replyTo(v, frame({1, 0, 0, 1}, 0x02)).empty());  // text-only generation
    Device n("NORM");
    EXPECT_TRUE(replyTo(n, frame({10, 0, 0}, 0x0A)).empty());  // no upload on this model
}

// Frames left unacknowledged are accepted when sent again; when the acknowledgement
// of the final page is lost, the resend is acknowledged although the program is complete.
TEST(SimTransfer, ResentFramesAreAcknowledged) {
    Device d("NORM");
    d.faults().noAckFrames = 2;
    const Bytes header = frame({1, 0, 0, 1}, 0x02);
    EXPECT_TRUE(replyTo(d, header, 0).empty());
    EXPECT_TRUE(replyTo(d, header, 5000).empty());
    EXPECT_EQ(replyTo(d, header, 9000), kAck);
    EXPECT_EQ(replyTo(d, frame({2, 0, 0x10}, 0x12)), kAck);
    d.faults().noAckFrames = 1;
    const Bytes lastPage = frame({3, 0, 0x01}, 0x04);
    EXPECT_TRUE(replyTo(d, lastPage).empty());
    EXPECT_EQ(*d.program(0), (CamTable{{16, 1}}));
    EXPECT_EQ(replyTo(d, lastPage), kAck);
    EXPECT_EQ(replyTo(d, lastPage), kAck);
    EXPECT_TRUE(replyTo(d, frame({3, 1, 0x01}, 0x05)).empty());  // but no other page
    EXPECT_EQ(*d.program(0), (CamTable{{16, 1}}));
}

TEST(SimTransfer, PresetAndOriginReadAndWrite) {
    Device d("KMT71");
    d.setPresetOrigin(5, {3600, 7});
    // preset 0x0E10 at 6..9, origin 7 at 10..13; sum 0x81+5+0x10+0x0E+7 = 0xAB.
    EXPECT_EQ(replyTo(d, Bytes{0x81, 0x00, 0x05}), frame({0x81, 0, 5, 0, 0, 0, 0x10, 0x0E, 0, 0, 7}, 0xAB));
    // write slot 3: preset 32, origin 256.
    EXPECT_EQ(replyTo(d, frame({0x81, 1, 3, 0, 0, 0, 0x20, 0, 0, 0, 0x00, 0x01}, 0xA6)), kAck);
    EXPECT_EQ(d.presetOrigin(3).preset, 32u);
    EXPECT_EQ(d.presetOrigin(3).origin, 256u);
    EXPECT_TRUE(replyTo(d, frame({0x81, 1, 3, 0, 0, 0, 0x21}, 0xA7)).empty());  // bad checksum
    EXPECT_EQ(d.presetOrigin(3).preset, 32u);
    d.faults().badChecksum = true;
    EXPECT_EQ(replyTo(d, Bytes{0x81, 0x00, 0x05})[18], 0xAC);
    Device norm("NORM");
    EXPECT_TRUE(replyTo(norm, Bytes{0x81, 0x00, 0x05}).empty());  // no presets on this model
}

TEST(SimTransfer, Text712LinesAreEchoedAndAnswered) {
    Device d("V712");
    EXPECT_TRUE(replyTo(d, toBytes("|")).empty());
    EXPECT_EQ(toString(replyTo(d, toBytes("PRG=1,OUT=2,CON=10,COF=20"))), "PRG=1,OUT=2,CON=10,COF=20");
    EXPECT_EQ(toString(replyTo(d, toBytes("\r"))), "\r\nOK\r\n->");
    EXPECT_EQ(toString(replyTo(d, toBytes("\n"))), "");
    const sim::Row712& row = d.row712(0, 1);
    EXPECT_TRUE(row.set && row.hasCof);
    EXPECT_EQ(std::make_pair(row.con, row.cof), std::make_pair(10L, 20L));
    EXPECT_EQ(d.textLines(), (std::vector<std::string>{"PRG=1,OUT=2,CON=10,COF=20"}));

    // ON 0..9, 30..39, ...; the status frame reports program 1 with one row.
    d.setPosition(35, 0);
    const Bytes status = replyTo(d, Bytes{0x80});
    EXPECT_EQ(Bytes(status.begin() + 4, status.begin() + 9), (Bytes{1, 1, 0, 0, 0x02}));
    d.setPosition(15, 0);
    EXPECT_EQ(d.outputsAt(0), 0u);

    for (const std::string bad : {"PRG=17,OUT=1,CON=5", "PRG=1,OUT=0,CON=5", "PRG=1,CON=5", "XYZ=1",
                                  "PRG=1,OUT=1,OFS=70000", "DFT=1,OUT=2", "PRG=1,OUT=1,OUT=2", "PRG1"})
        EXPECT_EQ(toString(replyTo(d, toBytes(bad + "\r"))), bad + "\r\nER\r\n->");
    EXPECT_EQ(toString(replyTo(d, toBytes("OUT=3 \r"))), "OUT=3 \r\nER\r\n->");
    EXPECT_EQ(toString(replyTo(d, toBytes("PRG=2\r"))), "PRG=2\r\nOK\r\n->");
}

}  // namespace
}  // namespace gyrel
