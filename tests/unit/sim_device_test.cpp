#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "device/model_table.h"
#include "platform/virtual_clock.h"
#include "sim/device.h"
#include "sim/simulated_port.h"

namespace gyrel {
namespace {

using sim::Device;

Bytes only(const std::vector<sim::Reply>& replies) {
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? Bytes{} : replies[0].bytes;
}

TEST(SimDevice, StatusFramesKnownAnswers) {
    const std::tuple<const char*, double, Bytes> cases[] = {
        // position 0x04D2 at 2..3, program 1 at 4, no cams, idle outputs 0xA5A5 at 8..9;
        // checksum 0xD2+0x04+0x01+0xA5+0xA5 = 0x221 -> 0x21.
        {"NORM", 1234, {0x80, 0, 0xD2, 0x04, 0x01, 0, 0, 0, 0xA5, 0xA5, 0, 0, 0, 0, 0, 0, 0, 0, 0x21}},
        // program stored as 0 (the host adds 1), cams 0 at 4..5, position 0x000FFFFF
        // at 6..9, 8 outputs of the idle pattern at 14; sum 0xFF+0xFF+0x0F+0xA5 -> 0xB2.
        {"KMT71", 1048575, {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0x0F, 0, 0, 0, 0, 0, 0xA5, 0, 0, 0, 0xB2}},
    };
    for (const auto& [model, position, frame] : cases) {
        Device d(model);
        d.setPosition(position, 0);
        const auto replies = d.receive(0x80, 5);
        EXPECT_EQ(only(replies), frame) << model;
        EXPECT_DOUBLE_EQ(replies[0].readyMs, 7);  // default reply delay 2 ms
    }
    Device px("Px71");
    px.setPosition(70000, 0);  // a wide model in the narrow layout: the low 16 bits
    const Bytes f = only(px.receive(0x80, 0));
    EXPECT_EQ(Bytes(f.begin() + 2, f.begin() + 5), (Bytes{0x70, 0x11, 1}));
}

TEST(SimDevice, ShaftTurnsAndJumps) {
    Device d("NORM");
    d.setPosition(3590, 0);
    d.setShaftSpeed(360, 0);  // a turn every 10 s
    EXPECT_EQ(d.positionAt(0), 3590u);
    EXPECT_EQ(d.positionAt(100), 26u);  // 3590 + 36 wraps past 3599
    d.setPosition(1000, 200);
    EXPECT_EQ(d.positionAt(300), 1036u);
    d.setShaftSpeed(-3600, 300);
    EXPECT_EQ(d.positionAt(600), 3556u);  // 1036 - 1080 turns back past 0
}

TEST(SimDevice, EmptySlotRepliesAsChosen) {
    Device norm("NORM");
    norm.setEmptySlotMode(sim::EmptySlotMode::EmptyReply);
    EXPECT_EQ(only(norm.receive(0x80, 0)), (Bytes{0x00, 0xFF}));
    norm.setProgram(0, {{0, 1}});
    EXPECT_EQ(only(norm.receive(0x80, 0)).size(), 19u);
    norm.setRunningSlot(4);
    EXPECT_EQ(only(norm.receive(0x80, 0)), (Bytes{0x00, 0xFF}));
    Device kmt("KMT71");
    kmt.setEmptySlotMode(sim::EmptySlotMode::NoProgram);
    // all 32 position bits set, nothing else; sum 4 x 0xFF -> 0xFC.
    const Bytes expected{0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0xFC};
    EXPECT_EQ(only(kmt.receive(0x80, 0)), expected);
}

TEST(SimDevice, OutputsFollowTheRunningProgramAndWrap) {
    Device d("NORM");
    d.setProgram(2, {{100, 0x0001}, {200, 0x0003}, {3000, 0x0004}});
    d.setRunningSlot(2);
    d.setPosition(50, 0);
    // program 3, 3 cams, position 50, outputs of the last change point (wrap); sum 0x32+3+3+4 = 0x3C.
    const Bytes expected{0x80, 0x00, 0x32, 0x00, 0x03, 0x03, 0x00, 0x00, 0x04, 0x00,
                         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3C};
    EXPECT_EQ(only(d.receive(0x80, 0)), expected);
    d.setPosition(100, 0);
    EXPECT_EQ(d.outputsAt(0), 0x0001u);
    d.setPosition(2999, 0);
    EXPECT_EQ(d.outputsAt(0), 0x0003u);
    d.setProgram(2, {});
    EXPECT_EQ(d.outputsAt(0), 0u);
}

TEST(SimDevice, FaultsShapeTheReplies) {
    Device d("NORM");
    d.setPosition(1234, 0);
    d.faults().badChecksum = true;
    EXPECT_EQ(only(d.receive(0x80, 0))[18], 0x22);
    d.faults() = {};
    d.faults().garbage = true;
    const Bytes g = only(d.receive(0x80, 0));
    EXPECT_EQ(g.size(), 19u);
    EXPECT_EQ(Bytes(g.begin(), g.begin() + 2), (Bytes{0x55, 0xAA}));
    d.faults() = {};
    d.faults().overlong = true;
    const Bytes l = only(d.receive(0x80, 0));
    ASSERT_EQ(l.size(), 39u);
    EXPECT_EQ((Bytes{l[0], l[18]}), (Bytes{0x80, 0x21}));
    d.faults() = {};
    d.faults().silent = true;
    EXPECT_TRUE(d.receive(0x80, 0).empty());
    d.faults() = {};
    d.faults().muteAfterReplies = 1;
    EXPECT_EQ(d.receive(0x80, 0).size(), 1u);
    EXPECT_TRUE(d.receive(0x80, 0).empty());
    EXPECT_TRUE(d.receive(0x80, 0).empty());
    d.faults() = {};
    d.setReplyDelayMs(40);
    EXPECT_DOUBLE_EQ(d.receive(0x80, 10)[0].readyMs, 50);
    EXPECT_EQ(d.received(), Bytes(8, 0x80));
}

TEST(SimDevice, FaultTextsOfTheCommandLine) {
    sim::Faults f;
    std::string error;
    for (const char* good :
         {"late80", "noack:3", "mute-after:4", "close-after:0", "silent", "badsum", "garbage", "long"})
        EXPECT_TRUE(sim::applyFault(good, f)) << good;
    EXPECT_EQ(std::make_tuple(f.lateMs, f.noAckFrames, f.muteAfterReplies, f.closeAfterReplies),
              std::make_tuple(70.0, 3, 4, 0));
    EXPECT_TRUE(f.silent && f.badChecksum && f.garbage && f.overlong);
    EXPECT_TRUE(sim::applyFault("late:12", f));
    EXPECT_DOUBLE_EQ(f.lateMs, 12);
    for (const char* bad : {"late:", "late:x", "noack:-1", "noack:99999999", "loud", ""})
        EXPECT_FALSE(sim::applyFault(bad, f, &error)) << bad;
    EXPECT_EQ(error.rfind("unknown fault \"\"", 0), 0u);
}

TEST(SimDevice, HalfFrameIsDroppedAfterAPause) {
    Device d("NORM");
    EXPECT_TRUE(d.receive(0x01, 0).empty());
    EXPECT_TRUE(d.receive(0x80, 50).empty());                      // taken as frame data
    EXPECT_EQ(d.receive(0x80, 300).size(), 1u);                    // the stale frame was dropped
    EXPECT_TRUE(d.receive(Bytes{0x33, 0x44, 0xFF}, 400).empty());  // noise between frames
}

// Host bytes are outside input: whatever arrives, every model answers only with
// replies of a known size and keeps serving status queries afterwards.
TEST(SimDevice, RandomHostBytesNeverBreakTheDevice) {
    std::mt19937 rng(20261206);
    const std::uint8_t starts[] = {0x80, 0x81, 0x01, 0x02, 0x03, 0x0A, 0xFF, '|', '\r', 'P'};
    for (const ModelInfo& m : modelTable()) {
        Device d(m.code);
        double t = 0;
        for (int i = 0; i < 20000; ++i) {
            // Favour the bytes that start frames so that whole conversations happen.
            const std::uint8_t b = (rng() % 3 == 0) ? starts[rng() % 10] : static_cast<std::uint8_t>(rng());
            t += (rng() % 50 == 0) ? 150 : 1;
            for (const sim::Reply& r : d.receive(b, t)) {
                ASSERT_FALSE(r.bytes.empty());
                ASSERT_LE(r.bytes.size(), 270u) << m.code;  // the longest text answer
                ASSERT_GE(r.readyMs, t);
            }
        }
        const Bytes last = only(d.receive(0x80, t + 500));
        EXPECT_TRUE(last.size() == 19 || last == (Bytes{0x00, 0xFF})) << m.code;
    }
}

TEST(SimDevice, ModelChangeKeepsStoredProgramsAndTheOwnedPortTurnsItsShaft) {
    Device d("NORM");
    d.setProgram(0, {{5, 1}});
    d.setModel("KMT71");
    EXPECT_EQ(d.model().layout, StatusLayout::A);
    EXPECT_EQ(d.camCount(0), 1);
    EXPECT_EQ(d.receive(0x80, 0)[0].bytes[4], 1);  // 16-bit cam count of layout A
    EXPECT_THROW(d.setModel("nope"), std::invalid_argument);
    EXPECT_THROW(Device("norm"), std::invalid_argument);

    VirtualClock clock;
    clock.waitMs(1000);
    auto port = sim::makeSimulatedPort("V820HX", clock);
    EXPECT_EQ(port->device().model().code, std::string("V820HX"));
    EXPECT_EQ(port->device().positionAt(1000), 0u);
    EXPECT_EQ(port->device().positionAt(2000), 409u);  // 4096 a turn, a turn in 10 s
    port->setSettings("115200,n,8,1");
    port->setPortOpen(true);
    port->output(Bytes{0x80});
    clock.waitMs(5);
    EXPECT_EQ(port->input().size(), 19u);
    EXPECT_THROW(sim::makeSimulatedPort("X", clock), std::invalid_argument);
}

}  // namespace
}  // namespace gyrel
