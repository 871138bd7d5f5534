#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/virtual_clock.h"
#include "sim/device.h"
#include "sim/inprocess_port.h"

namespace gyrel {
namespace {

using Kind = SerialError::Kind;

// The kind of SerialError a call raises, or -1.
int raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const SerialError& e) {
        return static_cast<int>(e.kind());
    }
    return -1;
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

// The host checks for 19 bytes 35, 50, 80 and 180 ms after the query (then again
// each 180-ms round); each named late reply is first complete at the checkpoint named.
TEST(SimPort, NamedLateRepliesLandInEachWindowOfTheReplyGrid) {
    const double checkpoints[] = {35, 50, 80, 180, 215, 230, 260, 360};
    const std::pair<const char*, double> cases[] = {
        {"late35", 35}, {"late50", 50}, {"late80", 80}, {"late180", 180}, {"late400", 360}};
    for (const char* settings : {"9600,n,8,1", "115200,n,8,1"}) {
        for (const auto& [name, expected] : cases) {
            Rig rig("NORM", settings);
            ASSERT_TRUE(sim::applyFault(name, rig.device.faults()));
            rig.port.output(Bytes{0x80});
            const double* complete = std::find_if(std::begin(checkpoints), std::end(checkpoints),
                                                  [&](double cp) { return rig.countAt(cp) >= 19; });
            ASSERT_NE(complete, std::end(checkpoints)) << name << " at " << settings;
            EXPECT_EQ(*complete, expected) << name << " at " << settings;
        }
    }
}

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
    EXPECT_EQ(raised([&] { rig.port.setOutBufferCount(0); }), static_cast<int>(Kind::NotOpen));
    EXPECT_EQ(raised([&] { rig.port.setInBufferCount(0); }), static_cast<int>(Kind::NotOpen));
    // What arrives while the port is closed is lost.
    rig.port.setPortOpen(true);
    rig.port.output(Bytes{0x80});
    rig.clock.waitMs(2);
    rig.port.setPortOpen(false);
    rig.clock.waitMs(50);
    rig.port.setPortOpen(true);
    EXPECT_EQ(rig.port.inBufferCount(), 0);
}

TEST(SimPort, PropertiesRaiseWhereARealPortWould) {
    VirtualClock clock;
    sim::Device device("NORM");
    sim::InProcessPort port(device, clock);
    EXPECT_EQ(raised([&] { port.inBufferCount(); }), static_cast<int>(Kind::NotOpen));
    EXPECT_EQ(raised([&] { port.output(Bytes{0x80}); }), static_cast<int>(Kind::NotOpen));
    EXPECT_EQ(raised([&] { port.setSettings("9600,n,9,1"); }), static_cast<int>(Kind::InvalidSettings));
    port.setSettings("19200,E,7,2");
    EXPECT_DOUBLE_EQ(port.byteTimeMs(), 11 * 1000.0 / 19200);
    port.setExistingPorts({1, 3});
    EXPECT_EQ(raised([&] { port.setCommPort(2); }), static_cast<int>(Kind::NoSuchPort));
    port.setCommPort(3);
    EXPECT_EQ(port.portLabel(), "3");
    port.setBusy(true);
    EXPECT_EQ(raised([&] { port.setPortOpen(true); }), static_cast<int>(Kind::Busy));
    EXPECT_FALSE(port.portOpen());
}

TEST(SimPort, ADroppedLineRaisesIoUntilReconnected) {
    Rig rig("KMT71", "115200,n,8,1");
    rig.device.faults().closeAfterReplies = 1;
    rig.port.output(Bytes{0x80});
    EXPECT_EQ(rig.countAt(110), 19);
    rig.port.input();
    rig.port.output(Bytes{0x80});
    rig.clock.waitMs(30);
    EXPECT_EQ(raised([&] { rig.port.inBufferCount(); }), static_cast<int>(Kind::Io));
    rig.port.setPortOpen(false);
    EXPECT_THROW(rig.port.setPortOpen(true), SerialError);
    rig.device.reconnect();
    rig.port.setPortOpen(true);
    rig.port.output(Bytes{0x80});
    EXPECT_EQ(rig.countAt(rig.clock.nowMs() + 30), 19);
}

TEST(VirtualClock, WaitRunsDueActionsInOrderAndATimerTickThatWaitsIsNotReentered) {
    VirtualClock clock;
    std::vector<double> seen;
    for (double at : {50.0, 20.0, 500.0}) clock.at(at, [&] { seen.push_back(clock.nowMs()); });
    clock.waitMs(100);
    EXPECT_EQ(seen, (std::vector<double>{20, 50}));
    auto timer = clock.createTimer();
    std::vector<double> ticks;
    int depth = 0, maxDepth = 0;
    timer->onTick = [&] {
        maxDepth = std::max(maxDepth, ++depth);
        ticks.push_back(clock.nowMs());
        if (ticks.size() == 3) timer->setEnabled(false);
        clock.waitMs(250);  // a handler that pumps events while it waits
        --depth;
    };
    timer->setInterval(100);
    timer->setEnabled(true);
    clock.waitMs(10000);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(ticks.size(), 3u);
    EXPECT_EQ(ticks[0], 200);
}

}  // namespace
}  // namespace gyrel
