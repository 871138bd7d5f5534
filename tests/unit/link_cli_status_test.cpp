#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <tuple>

#include "cli/cli.h"
#include "sim/faults.h"
#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

// gyrel-cli status against a standing shaft: one line per reply, the end of the job on stderr.
TEST(CliStatus, OneLinePerReplyAndWhatEndsTheJob) {
    const std::string norm = "position 123.4  program 1  cams 0  outputs 1010010110100101  link 4\n";
    const std::string lost = "position - - -  program --  cams --  outputs ----------------  link 0\n";
    const std::string turns = "position 10000  turn 2 at 1808  program 1  cams 0  outputs 10100101  link 4\n";
    const std::string empty = "position - - -  program --  cams --  outputs --------  link 1\n";
    struct Case {
        const char* model;
        double position;
        const char* fault;  // "busy": another program holds the port
        const char* count;
        int code;
        std::string out, err;
        double endsAt;  // < 0: not checked
    };
    const Case cases[] = {
        {"NORM", 1234, "", "3", 0, "1  " + norm + "2  " + norm + "3  " + norm, "", -1},
        {"KMT71", 10000, "", "1", 0, "1  " + turns, "", -1},
        {"NORM", 0, "busy", "2", 2, "", "cannot open the port /dev/ttyX: ", -1},
        {"NORM", 0, "silent", "2", 2, "1  " + lost + "2  " + lost, "no valid reply from the device in 2 queries\n",
         2 * 280},
        // Short replies wait out the whole round: one bar. "no prg" stands while the message is up.
        {"V820HX", 0, "empty", "5", 2, "1  " + empty + "2  " + empty,
         "Empty program: Selected memory location on ENCODER, is empty.   Send a program at this location.\n"
         "polling stopped after 2 of 5 queries\n",
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model + std::string(" ") + c.fault);
        clitest::CliRig r(c.model);
        r.device.setShaftSpeed(0, 0);
        r.device.setPosition(c.position, 0);
        r.busy = std::string(c.fault) == "busy";
        if (std::string(c.fault) == "empty") r.device.setEmptySlotMode(sim::EmptySlotMode::EmptyReply);
        if (std::string(c.fault) == "silent") r.device.faults().silent = true;
        EXPECT_EQ(r.run({"status", "--model", c.model, "--port", "/dev/ttyX", "--count", c.count}), c.code);
        EXPECT_EQ(r.openedPath, "/dev/ttyX");
        EXPECT_EQ(r.out.str(), c.out);
        EXPECT_EQ(r.busy ? r.err.str().substr(0, c.err.size()) : r.err.str(), c.err);
        if (c.endsAt >= 0) {
            EXPECT_EQ(r.clock.nowMs(), c.endsAt);
        }
        EXPECT_EQ(r.device.received(), Bytes(std::count(c.out.begin(), c.out.end(), '\n'), 0x80));  // a query a line
    }
}

TEST(SimCli, SimulateRefusesWhatItCannotServe) {
    const std::tuple<std::vector<std::string>, int, const char*> cases[] = {
        {{"simulate", "--model", "krt71"},
         64,
         "--model: unknown model \"krt71\" (one of NORM, OLD, V712, V820AX, V820HX, KMT71, Px71)\n"},
        {{"simulate", "--model", "NORM", "--fault", "silent", "--fault", "late:x"},
         1,
         "unknown fault \"late:x\" (known: silent, late:MS,"},
        {{"simulate", "--model", "NORM", "--slot", "17"}, 1, "the slot must be 1..16\n"},
        {{"simulate"}, 64, ""},  // the model is required
    };
    for (const auto& [args, code, says] : cases) {
        SCOPED_TRACE(args.back());
        std::ostringstream out, err;
        VirtualClock clock;
        cli::Env env{out, err, clock, nullptr, false};
        EXPECT_EQ(cli::run(args, env), code);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(err.str().rfind(says, 0), 0u) << err.str();  // the start of the message
    }
}

}  // namespace
}  // namespace gyrel
