// gyrel-cli status against gyrel-cli simulate over a real pseudo-terminal: the
// real clock, the Qt serial port and the simulator's line time, end to end.
#include <gtest/gtest.h>

#ifdef GYREL_CLI_PATH
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/cli_process.h"

namespace gyrel {
namespace {

using clitest::runCli;
using clitest::slurp;
using clitest::SimulatorProcess;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string tempFile(const char* name) {
    return ::testing::TempDir() + "gyrel_status_" + std::to_string(::getpid()) + "_" + name;
}

TEST(CliStatusPty, PollsTheSimulatedEncoderLive) {
    SimulatorProcess sim("NORM", {"--shaft-speed", "0"});
    ASSERT_EQ(sim.path().rfind("/dev/", 0), 0u) << sim.path();
    const std::string out = tempFile("out"), err = tempFile("err");
    ASSERT_EQ(runCli({"status", "--model", "NORM", "--port", sim.path(), "--count", "5"}, err, out), 0) << slurp(err);
    const std::vector<std::string> lines = linesOf(slurp(out));
    ASSERT_EQ(lines.size(), 5u) << slurp(out);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // A standing shaft at position 0, no program loaded: the simulator's fixed pattern.
        EXPECT_EQ(lines[i], std::to_string(i + 1) +
                                "  position 0.0  program 1  cams 0  outputs 1010010110100101  link 4");
    }
}

TEST(CliStatusPty, MultiTurnModelAtItsOwnSpeed) {
    SimulatorProcess sim("KMT71", {"--shaft-speed", "0"});
    ASSERT_EQ(sim.path().rfind("/dev/", 0), 0u) << sim.path();
    const std::string out = tempFile("out"), err = tempFile("err");
    ASSERT_EQ(runCli({"status", "--model", "KMT71", "--port", sim.path(), "--count", "2"}, err, out), 0) << slurp(err);
    const std::vector<std::string> lines = linesOf(slurp(out));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "1  position 0  turn 0 at 0  program 1  cams 0  outputs 10100101  link 4");
}

TEST(CliStatusPty, PortThatDoesNotExistIsAClearError) {
    const std::string out = tempFile("out"), err = tempFile("err");
    EXPECT_NE(runCli({"status", "--model", "NORM", "--port", "/dev/gyrel-no-such-port", "--count", "1"}, err, out), 0);
    EXPECT_NE(slurp(err).find("/dev/gyrel-no-such-port"), std::string::npos) << slurp(err);
    EXPECT_EQ(slurp(out), "");
}

}  // namespace
}  // namespace gyrel
#endif
