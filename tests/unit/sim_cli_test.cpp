#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "platform/virtual_clock.h"

namespace gyrel {
namespace {

struct CliRun {
    int code = 0;
    std::string out, err;
};

CliRun runCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    VirtualClock clock;
    cli::Env env{out, err, clock, nullptr, false};
    CliRun r;
    r.code = cli::run(args, env);
    r.out = out.str();
    r.err = err.str();
    return r;
}

TEST(SimCli, SimulateRefusesWhatItCannotServe) {
    CliRun r = runCli({"simulate", "--model", "krt71"});
    EXPECT_EQ(r.code, 64);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("--model: unknown model \"krt71\" (one of NORM, OLD, V712, V820AX, V820HX, KMT71, Px71)\n", 0),
              0u) << r.err;

    r = runCli({"simulate", "--model", "NORM", "--fault", "silent", "--fault", "late:x"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.rfind("unknown fault \"late:x\" (known: silent, late:MS,", 0), 0u) << r.err;

    r = runCli({"simulate", "--model", "NORM", "--slot", "17"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "the slot must be 1..16\n");

    r = runCli({"simulate"});
    EXPECT_EQ(r.code, 64);  // the model is required
}

}  // namespace
}  // namespace gyrel
