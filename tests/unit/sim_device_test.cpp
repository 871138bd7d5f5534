#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <tuple>

#include "device/model_table.h"
#include "platform/virtual_clock.h"
#include "sim/device.h"
#include "sim/inprocess_port.h"
#include "sim/simulated_port.h"

namespace gyrel {
namespace {

using sim::CamTable;
using sim::Device;

Bytes only(const std::vector<sim::Reply>& replies) {
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? Bytes{} : replies[0].bytes;
}

TEST(SimDevice, StatusFramesKnownAnswers) {
    const std::tuple<const char*, std::function<void(Device&)>, Bytes> cases[] = {
        // position 0x04D2 at 2..3, program 1 at 4, no cams, idle outputs 0xA5A5 at 8..9;
        // checksum 0xD2+0x04+0x01+0xA5+0xA5 = 0x221 -> 0x21.
        {"NORM", [](Device& d) { d.setPosition(1234, 0); },
         {0x80, 0, 0xD2, 0x04, 0x01, 0, 0, 0, 0xA5, 0xA5, 0, 0, 0, 0, 0, 0, 0, 0, 0x21}},
        // program stored as 0 (the host adds 1), cams 0 at 4..5, position 0x000FFFFF
        // at 6..9, 8 outputs of the idle pattern at 14; sum 0xFF+0xFF+0x0F+0xA5 -> 0xB2.
        {"KMT71", [](Device& d) { d.setPosition(1048575, 0); },
         {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0x0F, 0, 0, 0, 0, 0, 0xA5, 0, 0, 0, 0xB2}},
        // no program: all 32 position bits set, nothing else; sum 4 x 0xFF -> 0xFC.
        {"KMT71", [](Device& d) { d.setEmptySlotMode(sim::EmptySlotMode::NoProgram); },
         {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0xFC}},
        // program 3, 3 cams, position 50, outputs of the last change point (wrap); sum 0x32+3+3+4 = 0x3C.
        {"NORM",
         [](Device& d) {
             d.setProgram(2, {{100, 0x0001}, {200, 0x0003}, {3000, 0x0004}});
             d.setRunningSlot(2);
             d.setPosition(50, 0);
         },
         {0x80, 0, 0x32, 0, 0x03, 0x03, 0, 0, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x3C}},
        {"NORM", [](Device& d) { d.setEmptySlotMode(sim::EmptySlotMode::EmptyReply); }, {0x00, 0xFF}},
    };
    for (const auto& [model, setUp, frame] : cases) {
        SCOPED_TRACE(::testing::PrintToString(frame));
        Device d(model);
        setUp(d);
        const auto replies = d.receive(0x80, 5);
        EXPECT_EQ(only(replies), frame);
        EXPECT_DOUBLE_EQ(replies[0].readyMs, 7);  // default reply delay 2 ms
    }
    Device px("Px71");
    px.setPosition(70000, 0);  // a wide model in the narrow layout: the low 16 bits
    const Bytes f = only(px.receive(0x80, 0));
    EXPECT_EQ(Bytes(f.begin() + 2, f.begin() + 5), (Bytes{0x70, 0x11, 1}));
}

// The reply delay a technician sets; a fault the device does not know is refused by name.
TEST(SimDevice, ReplyDelayAndUnknownFault) {
    Device d("NORM");
    d.setReplyDelayMs(40);
    EXPECT_DOUBLE_EQ(d.receive(0x80, 10)[0].readyMs, 50);
    std::string error;
    EXPECT_FALSE(sim::applyFault("noack:99999999", d.faults(), &error));
    EXPECT_EQ(error.rfind("unknown fault \"noack:99999999\"", 0), 0u);
}

// A model change keeps the stored programs; the port the program owns in its
// simulated mode turns its shaft from the start.
TEST(SimDevice, ShaftModelChangeAndTheOwnedPort) {
    Device d("NORM");
    d.setProgram(0, {{100, 0x0001}, {200, 0x0003}});
    d.setPosition(199, 600);
    EXPECT_EQ(d.outputsAt(600), 0x0001u);
    d.setModel("KMT71");
    EXPECT_EQ(d.receive(0x80, 600)[0].bytes[4], 2);  // 16-bit cam count of layout A
    EXPECT_THROW(d.setModel("nope"), std::invalid_argument);

    VirtualClock clock;
    clock.waitMs(1000);
    auto port = sim::makeSimulatedPort("V820HX", clock);
    EXPECT_EQ(port->device().positionAt(2000), 409u);  // 4096 a turn, a turn in 10 s
    port->setSettings("115200,n,8,1");
    port->setPortOpen(true);
    port->output(Bytes{0x80});
    clock.waitMs(5);
    EXPECT_EQ(port->input().size(), 19u);
}

// A 19-byte frame from its leading bytes, zero-filled, with its last byte given.
Bytes frame(std::initializer_list<int> head, int checksum) {
    Bytes f(head.begin(), head.end());
    f.resize(19);
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
    EXPECT_EQ(d.program(0), (CamTable{{1, 1}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 2}}));
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

// When the acknowledgement of the final page is lost, the resend is acknowledged
// although the program is complete.
TEST(SimTransfer, ResentFramesAreAcknowledged) {
    Device d("NORM");
    EXPECT_EQ(replyTo(d, frame({1, 0, 0, 1}, 0x02)), kAck);
    EXPECT_EQ(replyTo(d, frame({2, 0, 0x10}, 0x12)), kAck);
    d.faults().noAckFrames = 1;
    const Bytes lastPage = frame({3, 0, 0x01}, 0x04);
    EXPECT_TRUE(replyTo(d, lastPage).empty());
    EXPECT_EQ(*d.program(0), (CamTable{{16, 1}}));
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
    EXPECT_TRUE(replyTo(d, frame({0x81, 1, 3, 0, 0, 0, 0x21}, 0xA7)).empty());  // bad checksum
    EXPECT_EQ(std::make_pair(d.presetOrigin(3).preset, d.presetOrigin(3).origin), std::make_pair(32u, 256u));
    d.faults().badChecksum = true;
    EXPECT_EQ(replyTo(d, Bytes{0x81, 0x00, 0x05})[18], 0xAC);
    Device norm("NORM");
    EXPECT_TRUE(replyTo(norm, Bytes{0x81, 0x00, 0x05}).empty());  // no presets on this model
}

TEST(SimTransfer, Text712LinesAreEchoedAndAnswered) {
    Device d("V712");
    const std::string line = "PRG=1,OUT=2,CON=10,COF=20";
    EXPECT_EQ(toString(replyTo(d, toBytes("|" + line + "\r\n"))), line + "\r\nOK\r\n->");
    const sim::Row712& row = d.row712(0, 1);
    EXPECT_TRUE(row.set && row.hasCof && row.con == 10 && row.cof == 20);
    EXPECT_EQ(toString(replyTo(d, toBytes("PRG=1,OUT=0,CON=5\r"))), "PRG=1,OUT=0,CON=5\r\nER\r\n->");

    // ON 0..9, 30..39, ...; the status frame reports program 1 with one row.
    d.setPosition(35, 0);
    const Bytes status = replyTo(d, Bytes{0x80});
    EXPECT_EQ(Bytes(status.begin() + 4, status.begin() + 9), (Bytes{1, 1, 0, 0, 0x02}));
    d.setPosition(15, 0);
    EXPECT_EQ(d.outputsAt(0), 0u);
}

using Kind = SerialError::Kind;

// The kind of SerialError a call raises, if any.
std::optional<Kind> raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const SerialError& e) {
        return e.kind();
    }
    return std::nullopt;
}

struct Rig {
    explicit Rig(const std::string& model, const std::string& settings = "9600,n,8,1")
        : device(model), port(device, clock) {
        port.setSettings(settings);
        port.setPortOpen(true);
    }
    // Advances the clock to the absolute time t and reports what is waiting.
    int countAt(double t) {
        clock.waitMs(static_cast<int>(t - clock.nowMs()));
        return port.inBufferCount();
    }
    VirtualClock clock;
    sim::Device device;
    sim::InProcessPort port;
};

// 10 bits a byte: 1.0417 ms. Query in by 1.04, reply ready 2 ms later, byte k of
// 19 in at 3.0417 + k x 1.0417: 18 by 22 ms, all 19 by 22.84. A second query
// written with it waits until the first reply has left the line.
TEST(SimPort, StatusReplyArrivesAfterItsLineTimeAt9600) {
    Rig rig("NORM");
    rig.port.output(Bytes{0x80, 0x80});
    for (const auto& [t, n] : {std::pair{4, 0}, {5, 1}, {22, 18}, {23, 19}, {42, 37}, {43, 38}})
        EXPECT_EQ(rig.countAt(t), n) << t;
    const Bytes reply = rig.port.input();
    ASSERT_EQ(reply.size(), 38u);
    EXPECT_EQ(reply[19], 0x80);
    EXPECT_EQ(rig.port.inBufferCount(), 0);
    EXPECT_EQ(rig.port.sent(), (Bytes{0x80, 0x80}));
}

// Emptying the input drops only what has arrived; every byte written reaches the
// device; a closed port raises where a real one would.
TEST(SimPort, DiscardingBuffersDropsWaitingBytesButSendsEveryByteWritten) {
    Rig rig("NORM");
    rig.port.output(Bytes{0x80});
    EXPECT_EQ(rig.countAt(10), 6);
    rig.port.setInBufferCount(0);
    EXPECT_EQ(rig.countAt(30), 13);  // the rest of the frame still arrives
    // Three queries queued: emptying the output lets all three leave first,
    // and closing at once after a write still delivers it.
    rig.port.input();
    rig.port.output(Bytes{0x80, 0x80, 0x80});
    rig.clock.waitMs(1);
    rig.port.setOutBufferCount(0);
    EXPECT_EQ(rig.countAt(200), 3 * 19);
    rig.port.output(Bytes{0xFF});
    rig.port.setPortOpen(false);
    EXPECT_EQ(rig.device.received(), (Bytes{0x80, 0x80, 0x80, 0x80, 0xFF}));
    EXPECT_EQ(raised([&] { rig.port.setOutBufferCount(0); }), Kind::NotOpen);
    EXPECT_EQ(raised([&] { rig.port.setInBufferCount(0); }), Kind::NotOpen);
    EXPECT_EQ(raised([&] { rig.port.setSettings("9600,n,9,1"); }), Kind::InvalidSettings);
    rig.port.setSettings("19200,E,7,2");
    EXPECT_DOUBLE_EQ(rig.port.byteTimeMs(), 11 * 1000.0 / 19200);
    rig.port.setExistingPorts({1, 3});
    EXPECT_EQ(raised([&] { rig.port.setCommPort(2); }), Kind::NoSuchPort);
    rig.port.setCommPort(3);
    EXPECT_EQ(rig.port.portLabel(), "3");
}

}  // namespace
}  // namespace gyrel
