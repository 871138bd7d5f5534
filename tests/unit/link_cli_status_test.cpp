#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "cli/cli.h"
#include "platform/virtual_clock.h"
#include "sim/device.h"
#include "sim/faults.h"
#include "sim/inprocess_port.h"

namespace gyrel {
namespace {

class CliStatus : public ::testing::Test {
protected:
    VirtualClock clock;
    std::ostringstream out, err;
    std::unique_ptr<sim::Device> device;
    bool busy = false;
    std::string openedPath;

    void makeDevice(const std::string& model, double position) {
        device = std::make_unique<sim::Device>(model);
        device->setShaftSpeed(0, 0);
        device->setPosition(position, 0);
    }
    int run(std::vector<std::string> args) {
        cli::Env env{out, err, clock, [this](const std::string& path) {
                         openedPath = path;
                         auto port = std::make_unique<sim::InProcessPort>(*device, clock);
                         port->setBusy(busy);
                         port->setPortName(path);
                         return std::unique_ptr<SerialPort>(std::move(port));
                     }};
        return cli::run(args, env);
    }
};

TEST_F(CliStatus, OneLinePerReply) {
    makeDevice("NORM", 1234);
    EXPECT_EQ(run({"status", "--model", "NORM", "--port", "/dev/ttyX", "--count", "3"}), 0) << err.str();
    EXPECT_EQ(openedPath, "/dev/ttyX");
    EXPECT_EQ(out.str(),
              "1  position 123.4  program 1  cams 0  outputs 1010010110100101  link 4\n"
              "2  position 123.4  program 1  cams 0  outputs 1010010110100101  link 4\n"
              "3  position 123.4  program 1  cams 0  outputs 1010010110100101  link 4\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(device->received(), Bytes(3, 0x80));
}

TEST_F(CliStatus, MultiTurnModelShowsTheTurn) {
    makeDevice("KMT71", 10000);
    EXPECT_EQ(run({"status", "--model", "KMT71", "--port", "p", "--count", "1"}), 0) << err.str();
    EXPECT_EQ(out.str(), "1  position 10000  turn 2 at 1808  program 1  cams 0  outputs 10100101  link 4\n");
}

TEST_F(CliStatus, PortThatCannotBeOpenedEndsTheJob) {
    makeDevice("NORM", 0);
    busy = true;
    EXPECT_EQ(run({"status", "--model", "NORM", "--port", "/dev/ttyX", "--count", "2"}), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str().rfind("cannot open the port /dev/ttyX: ", 0), 0u) << err.str();
}

TEST_F(CliStatus, SilentDevice) {
    makeDevice("NORM", 0);
    std::string error;
    ASSERT_TRUE(sim::applyFault("silent", device->faults(), &error)) << error;
    EXPECT_EQ(run({"status", "--model", "NORM", "--port", "p", "--count", "2"}), 2);
    EXPECT_EQ(out.str(),
              "1  position - - -  program --  cams --  outputs ----------------  link 0\n"
              "2  position - - -  program --  cams --  outputs ----------------  link 0\n");
    EXPECT_EQ(err.str(), "no valid reply from the device in 2 queries\n");
    EXPECT_EQ(clock.nowMs(), 2 * 280);
}

TEST_F(CliStatus, EmptySlotStopsPolling) {
    makeDevice("V820HX", 0);
    device->setEmptySlotMode(sim::EmptySlotMode::EmptyReply);
    EXPECT_EQ(run({"status", "--model", "V820HX", "--port", "p", "--count", "5"}), 2);
    // Short replies wait out the whole round: one bar. "no prg" stands while the message is up.
    EXPECT_EQ(out.str(),
              "1  position - - -  program --  cams --  outputs --------  link 1\n"
              "2  position - - -  program --  cams --  outputs --------  link 1\n");
    EXPECT_EQ(err.str(),
              "Empty program: Selected memory location on ENCODER, is empty.   Send a program at this location.\n"
              "polling stopped after 2 of 5 queries\n");
}

TEST_F(CliStatus, RejectsUnknownModelAndBadCount) {
    makeDevice("NORM", 0);
    EXPECT_EQ(run({"status", "--model", "KRT9", "--port", "p"}), 64);
    EXPECT_EQ(run({"status", "--model", "NORM", "--port", "p", "--count", "0"}), 1);
}

}  // namespace
}  // namespace gyrel
