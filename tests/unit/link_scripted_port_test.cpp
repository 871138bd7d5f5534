#include <gtest/gtest.h>

#include "platform/virtual_clock.h"
#include "support/scripted_port.h"

namespace gyrel {
namespace {

// The test port keeps the port contract: replies become visible at their arrival
// time, in-flight bytes survive an emptied buffer but not a closed port, and a
// closed or pulled port raises.
TEST(ScriptedPort, KeepsThePortContract) {
    VirtualClock clock;
    ScriptedPort port(clock);
    EXPECT_THROW(port.inBufferCount(), SerialError);
    EXPECT_THROW(port.output(bytesOf({0x80})), SerialError);
    EXPECT_THROW(port.setInBufferCount(0), SerialError);
    EXPECT_THROW(port.setSettings("9601,n,8,1"), SerialError);
    port.setPortOpen(true);
    port.replyNext({{10, bytesOf({1, 2})}, {40, bytesOf({3})}});
    port.output(bytesOf({0x80}));
    clock.waitMs(9);
    EXPECT_EQ(port.inBufferCount(), 0);
    clock.waitMs(1);
    EXPECT_EQ(port.inBufferCount(), 2);
    port.setInBufferCount(0);
    clock.waitMs(30);
    EXPECT_EQ(port.input(), bytesOf({3}));
    port.deliverAt(200, bytesOf({4}));
    port.setPortOpen(false);
    port.setPortOpen(true);
    clock.waitMs(200);
    EXPECT_EQ(port.inBufferCount(), 0);
    port.setPulled(true);
    EXPECT_THROW(port.inBufferCount(), SerialError);
}

}  // namespace
}  // namespace gyrel
