#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "platform/virtual_clock.h"

namespace gyrel {
namespace {

TEST(SimCli, SimulateRefusesWhatItCannotServe) {
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;  // the start of the message
    };
    const Case cases[] = {
        {{"simulate", "--model", "krt71"}, 64,
         "--model: unknown model \"krt71\" (one of NORM, OLD, V712, V820AX, V820HX, KMT71, Px71)\n"},
        {{"simulate", "--model", "NORM", "--fault", "silent", "--fault", "late:x"}, 1,
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
