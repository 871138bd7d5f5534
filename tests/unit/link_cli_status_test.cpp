#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "sim/faults.h"
#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

using clitest::CliRig;

void standStill(CliRig& r, double position) {
    r.device.setShaftSpeed(0, 0);
    r.device.setPosition(position, 0);
}

TEST(CliStatus, OneLinePerReply) {
    CliRig r("NORM");
    standStill(r, 1234);
    EXPECT_EQ(r.run({"status", "--model", "NORM", "--port", "/dev/ttyX", "--count", "3"}), 0) << r.err.str();
    EXPECT_EQ(r.openedPath, "/dev/ttyX");
    EXPECT_EQ(r.out.str(),
              "1  position 123.4  program 1  cams 0  outputs 1010010110100101  link 4\n"
              "2  position 123.4  program 1  cams 0  outputs 1010010110100101  link 4\n"
              "3  position 123.4  program 1  cams 0  outputs 1010010110100101  link 4\n");
    EXPECT_EQ(r.err.str(), "");
    EXPECT_EQ(r.device.received(), Bytes(3, 0x80));

    CliRig kmt("KMT71");
    standStill(kmt, 10000);  // a multi-turn model shows the turn
    EXPECT_EQ(kmt.run({"status", "--model", "KMT71", "--port", "p", "--count", "1"}), 0) << kmt.err.str();
    EXPECT_EQ(kmt.out.str(), "1  position 10000  turn 2 at 1808  program 1  cams 0  outputs 10100101  link 4\n");
}

TEST(CliStatus, PortThatCannotBeOpenedEndsTheJob) {
    CliRig r("NORM");
    standStill(r, 0);
    r.busy = true;
    EXPECT_EQ(r.run({"status", "--model", "NORM", "--port", "/dev/ttyX", "--count", "2"}), 2);
    EXPECT_EQ(r.out.str(), "");
    EXPECT_EQ(r.err.str().rfind("cannot open the port /dev/ttyX: ", 0), 0u) << r.err.str();
    EXPECT_EQ(r.run({"status", "--model", "KRT9", "--port", "p"}), 64);
    EXPECT_EQ(r.run({"status", "--model", "NORM", "--port", "p", "--count", "0"}), 1);
}

TEST(CliStatus, SilentDevice) {
    CliRig r("NORM");
    standStill(r, 0);
    ASSERT_TRUE(sim::applyFault("silent", r.device.faults()));
    EXPECT_EQ(r.run({"status", "--model", "NORM", "--port", "p", "--count", "2"}), 2);
    EXPECT_EQ(r.out.str(),
              "1  position - - -  program --  cams --  outputs ----------------  link 0\n"
              "2  position - - -  program --  cams --  outputs ----------------  link 0\n");
    EXPECT_EQ(r.err.str(), "no valid reply from the device in 2 queries\n");
    EXPECT_EQ(r.clock.nowMs(), 2 * 280);
}

TEST(CliStatus, EmptySlotStopsPolling) {
    CliRig r("V820HX");
    standStill(r, 0);
    r.device.setEmptySlotMode(sim::EmptySlotMode::EmptyReply);
    EXPECT_EQ(r.run({"status", "--model", "V820HX", "--port", "p", "--count", "5"}), 2);
    // Short replies wait out the whole round: one bar. "no prg" stands while the message is up.
    EXPECT_EQ(r.out.str(),
              "1  position - - -  program --  cams --  outputs --------  link 1\n"
              "2  position - - -  program --  cams --  outputs --------  link 1\n");
    EXPECT_EQ(r.err.str(),
              "Empty program: Selected memory location on ENCODER, is empty.   Send a program at this location.\n"
              "polling stopped after 2 of 5 queries\n");
}

TEST(SimCli, SimulateRefusesWhatItCannotServe) {
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;  // the start of the message
    };
    const Case cases[] = {
        {{"simulate", "--model", "krt71"},
         64,
         "--model: unknown model \"krt71\" (one of NORM, OLD, V712, V820AX, V820HX, KMT71, Px71)\n"},
        {{"simulate", "--model", "NORM", "--fault", "silent", "--fault", "late:x"},
         1,
         "unknown fault \"late:x\" (known: silent, late:MS,"},
        {{"simulate", "--model", "NORM", "--slot", "17"}, 1, "the slot must be 1..16\n"},
        {{"simulate"}, 64, ""},  // the model is required
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        std::ostringstream out, err;
        VirtualClock clock;
        cli::Env env{out, err, clock, nullptr, false};
        EXPECT_EQ(cli::run(c.args, env), c.code);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(err.str().rfind(c.says, 0), 0u) << err.str();
    }
}

}  // namespace
}  // namespace gyrel
