#include <gtest/gtest.h>

#include <random>

#include "device/model_table.h"
#include "platform/virtual_clock.h"
#include "sim/device.h"
#include "sim/simulated_port.h"

namespace gyrel {
namespace {

// Host bytes are outside input: whatever arrives, every model answers only with
// replies of a known size and keeps serving status queries afterwards.
TEST(SimRobustness, RandomHostBytesNeverBreakTheDevice) {
    std::mt19937 rng(20261206);
    for (const ModelInfo& m : modelTable()) {
        sim::Device d(m.code);
        double t = 0;
        for (int i = 0; i < 20000; ++i) {
            // Favour the bytes that start frames so that whole conversations happen.
            static const std::uint8_t starts[] = {0x80, 0x81, 0x01, 0x02, 0x03, 0x0A, 0xFF, '|', '\r', 'P'};
            const std::uint8_t b = (rng() % 3 == 0) ? starts[rng() % 10] : static_cast<std::uint8_t>(rng());
            t += (rng() % 50 == 0) ? 150 : 1;
            for (const sim::Reply& r : d.receive(b, t)) {
                ASSERT_FALSE(r.bytes.empty());
                ASSERT_LE(r.bytes.size(), 270u) << m.code;  // the longest text answer
                ASSERT_GE(r.readyMs, t);
            }
        }
        const auto replies = d.receive(0x80, t + 500);
        ASSERT_EQ(replies.size(), 1u) << m.code;
        EXPECT_TRUE(replies[0].bytes.size() == 19 || replies[0].bytes == (Bytes{0x00, 0xFF})) << m.code;
    }
}

TEST(SimRobustness, OwnedSimulatedPortTurnsItsShaft) {
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

TEST(SimRobustness, ModelChangeKeepsStoredPrograms) {
    sim::Device d("NORM");
    d.setProgram(0, {{5, 1}});
    d.setModel("KMT71");
    EXPECT_EQ(d.model().layout, StatusLayout::A);
    EXPECT_EQ(d.camCount(0), 1);
    EXPECT_EQ(d.receive(0x80, 0)[0].bytes[4], 1);  // 16-bit cam count of layout A
    EXPECT_THROW(d.setModel("nope"), std::invalid_argument);
    EXPECT_THROW(sim::Device("norm"), std::invalid_argument);
}

}  // namespace
}  // namespace gyrel
