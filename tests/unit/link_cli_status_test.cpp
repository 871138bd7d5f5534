#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

// gyrel-cli status against a standing shaft: one line per reply, the end of the job on stderr.
TEST(CliStatus, OneLinePerReplyAndWhatEndsTheJob) {
    const std::string norm = "position 123.4  program 1  cams 0  outputs 1010010110100101  link 4\n";
    const std::string lost = "position - - -  program --  cams --  outputs ----------------  link 0\n";
    const std::string turns = "position 10000  turn 2 at 1808  program 1  cams 0  outputs 10100101  link 4\n";
    const std::string empty = "position - - -  program --  cams --  outputs --------  link 1\n";
    const std::string json = "\"valid\":true,\"position\":\"10000\",\"turn\":\"2\",\"turnAt\":\"1808\",\"program\":\"1\","
                             "\"cams\":\"0\",\"outputs\":\"10100101\",\"link\":4}\n";
    // model, shaft position, fault ("busy": another program holds the port; "--json": an option),
    // count, exit code, out, err
    const std::tuple<const char*, double, std::string, const char*, int, std::string, std::string> cases[] = {
        {"NORM", 1234, "", "3", 0, "1  " + norm + "2  " + norm + "3  " + norm, ""},
        {"KMT71", 10000, "", "1", 0, "1  " + turns, ""},
        {"KMT71", 10000, "--json", "2", 0, "{\"query\":1," + json + "{\"query\":2," + json, ""},  // an object a reply
        {"NORM", 0, "busy", "2", 2, "", "cannot open the port /dev/ttyX: "},
        {"NORM", 0, "silent", "2", 2, "1  " + lost + "2  " + lost, "no valid reply from the device in 2 queries\n"},
        // Short replies wait out the whole round: one bar. "no prg" stands while the message is up.
        {"V820HX", 0, "empty", "5", 2, "1  " + empty + "2  " + empty,
         "Empty program: Selected memory location on ENCODER, is empty.   Send a program at this location.\n"
         "polling stopped after 2 of 5 queries\n"},
    };
    for (const auto& [model, position, fault, count, code, out, err] : cases) {
        SCOPED_TRACE(model + (" " + fault));
        clitest::CliRig r(model);
        r.device.setShaftSpeed(0, 0);
        r.device.setPosition(position, 0);
        r.busy = fault == "busy";
        if (fault == "empty") r.device.setEmptySlotMode(sim::EmptySlotMode::EmptyReply);
        if (fault == "silent") r.device.faults().silent = true;
        std::vector<std::string> args{"status", "--model", model, "--port", "/dev/ttyX", "--count", count};
        if (fault[0] == '-') args.push_back(fault);
        EXPECT_EQ(r.run(args), code);
        EXPECT_EQ(r.openedPath, "/dev/ttyX");
        EXPECT_EQ(r.out.str(), out);
        EXPECT_EQ(r.busy ? r.err.str().substr(0, err.size()) : r.err.str(), err);
        if (fault == "silent") {
            EXPECT_EQ(r.clock.nowMs(), 2 * 280);  // two whole reply waits
        }
        EXPECT_EQ(r.device.received(), Bytes(std::count(out.begin(), out.end(), '\n'), 0x80));  // a query a line
    }
}

}  // namespace
}  // namespace gyrel
