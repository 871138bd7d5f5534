#include <gtest/gtest.h>

#include "platform/virtual_clock.h"
#include "support/scripted_port.h"

namespace gyrel {
namespace {

SerialError::Kind kindOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const SerialError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no SerialError raised";
    return SerialError::Kind::Io;
}

TEST(ScriptedPort, ClosedPortRefusesReadsAndWrites) {
    VirtualClock clock;
    ScriptedPort port(clock);
    EXPECT_EQ(kindOf([&] { port.inBufferCount(); }), SerialError::Kind::NotOpen);
    EXPECT_EQ(kindOf([&] { port.input(); }), SerialError::Kind::NotOpen);
    EXPECT_EQ(kindOf([&] { port.output(bytesOf({0x80})); }), SerialError::Kind::NotOpen);
    EXPECT_EQ(kindOf([&] { port.setInBufferCount(0); }), SerialError::Kind::NotOpen);
    EXPECT_EQ(kindOf([&] { port.setOutBufferCount(0); }), SerialError::Kind::NotOpen);
    EXPECT_EQ(kindOf([&] { port.setSettings("9600,x,8,1"); }), SerialError::Kind::InvalidSettings);
    EXPECT_EQ(kindOf([&] { port.setSettings("9601,n,8,1"); }), SerialError::Kind::InvalidSettings);
    port.existingPorts = {1, 2};
    EXPECT_EQ(kindOf([&] { port.setCommPort(5); }), SerialError::Kind::NoSuchPort);
    port.setSettings("115200,N,8,2");
    EXPECT_EQ(port.settings(), "115200,N,8,2");
}

TEST(ScriptedPort, OpenFailuresOnRequest) {
    VirtualClock clock;
    ScriptedPort port(clock);
    port.failOpens(1, SerialError::Kind::PermissionDenied);
    EXPECT_EQ(kindOf([&] { port.setPortOpen(true); }), SerialError::Kind::PermissionDenied);
    port.setPortOpen(true);
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(kindOf([&] { port.setPortOpen(true); }), SerialError::Kind::Busy);
    EXPECT_EQ(kindOf([&] { port.setCommPort(2); }), SerialError::Kind::Busy);
    EXPECT_EQ(port.openAttempts, 2);
}

TEST(ScriptedPort, RepliesBecomeVisibleAtTheirArrivalTime) {
    VirtualClock clock;
    ScriptedPort port(clock);
    port.setPortOpen(true);
    port.replyNext({{10, bytesOf({1, 2})}, {40, bytesOf({3})}});
    clock.waitMs(5);
    port.output(bytesOf({0x80}));
    ASSERT_EQ(port.sent.size(), 1u);
    EXPECT_EQ(port.sent[0].atMs, 5);
    clock.waitMs(9);
    EXPECT_EQ(port.inBufferCount(), 0);
    clock.waitMs(1);
    EXPECT_EQ(port.inBufferCount(), 2);
    clock.waitMs(30);
    EXPECT_EQ(port.inBufferCount(), 3);
    port.setInputMode(InputMode::Binary);
    EXPECT_EQ(port.input(), bytesOf({1, 2, 3}));
    EXPECT_EQ(port.inBufferCount(), 0);
    EXPECT_EQ(port.inputModesAtRead, std::vector<InputMode>{InputMode::Binary});

    port.silenceNext();
    port.responder = [](const Bytes& b) { return ScriptedPort::Reply{{1, b}}; };
    port.output(bytesOf({7}));  // silence from the queue
    port.output(bytesOf({8}));  // echoed by the responder
    clock.waitMs(1);
    EXPECT_EQ(port.input(), bytesOf({8}));
}

TEST(ScriptedPort, FlushAndCloseDropWhatWasReceived) {
    VirtualClock clock;
    ScriptedPort port(clock);
    port.setPortOpen(true);
    port.deliverAt(1, bytesOf({1}));
    port.deliverAt(50, bytesOf({2}));
    clock.waitMs(2);
    port.setInBufferCount(0);
    clock.waitMs(100);
    EXPECT_EQ(port.input(), bytesOf({2}));  // in flight when flushed: still arrives
    port.deliverAt(200, bytesOf({3}));
    port.setPortOpen(false);
    port.setPortOpen(true);
    clock.waitMs(200);
    EXPECT_EQ(port.inBufferCount(), 0);
    port.setPulled(true);
    EXPECT_EQ(kindOf([&] { port.inBufferCount(); }), SerialError::Kind::Io);
}

}  // namespace
}  // namespace gyrel
