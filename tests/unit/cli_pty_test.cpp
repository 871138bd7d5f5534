// gyrel-cli run as a program against gyrel-cli simulate (or the simulator's end)
// over a real pseudo-terminal: the real clock, the Qt serial port and the line time.
#include <gtest/gtest.h>

#ifdef GYREL_CLI_PATH
#include <string>
#include <vector>

#include "download_fixture.h"
#include "support/cli_process.h"

namespace gyrel {
namespace {

using clitest::slurp;
using Simulator = clitest::SimulatorProcess;

struct PtyRig {
    xfertest::TempHome home;
    const std::string err = home.path() + "/err.txt";
    const std::string out = home.path() + "/out.txt";
    std::string file(const std::string& name, const std::string& text) {
        StdFileSystem().writeAll(home.path() + "/" + name, text);
        return home.path() + "/" + name;
    }
    int cli(const std::vector<std::string>& args) { return clitest::runCli(args, err, out); }
};

TEST(CliPty, DownloadThenUploadGivesTheRowsBack) {
    const std::pair<const char*, const char*> cases[] = {{"V820AX", "1\t100\t200\r\n3\t16000\t50\r\n"},
                                                         {"V820HX", "2\t1000000\t3\r\n"}};
    for (const auto& [model, rows] : cases) {
        SCOPED_TRACE(model);
        PtyRig r;
        Simulator sim(model);
        ASSERT_EQ(sim.path().rfind("/dev/", 0), 0u) << sim.path();
        const std::string f = r.file("p.txt", rows);
        ASSERT_EQ(r.cli({"download", "--model", model, "--port", sim.path(), "--slot", "2", f}), 0) << slurp(r.err);
        ASSERT_EQ(r.cli({"upload", "--model", model, "--port", sim.path(), "--slot", "2", "--output", f}), 0)
            << slurp(r.err);
        const std::string text = slurp(f);
        EXPECT_EQ(text.substr(text.find("\r\n\r\n") + 4), rows);
    }
    // The V712 takes the program text line by line and refuses a line it cannot hold.
    PtyRig r;
    Simulator sim("V712");
    const std::string f = r.file("p.712", "' program 1\r\nPRG=1,OUT=1,OFS=0,CON=90,COF=180\r\nPRG=1,OUT=2,CON=5\r\n");
    EXPECT_EQ(r.cli({"download", "--model", "V712", "--port", sim.path(), "--slot", "1", f}), 0) << slurp(r.err);
    r.file("p.712", "PRG=1,OUT=77\r\n");
    EXPECT_EQ(r.cli({"download", "--model", "V712", "--port", sim.path(), "--slot", "1", f}), 2);

    // A port that does not exist: the system's reason, exit code 2, nothing on standard output.
    const std::string port = "/dev/gyrel-no-such-port", p = r.file("p.txt", "1 100 200\r\n");
    EXPECT_EQ(r.cli({"download", "--model", "NORM", "--port", port, "--slot", "1", p}), 2);
    EXPECT_EQ(slurp(r.err).rfind("cannot open " + port + " at 9600 baud: ", 0), 0u) << slurp(r.err);
    EXPECT_EQ(r.cli({"status", "--model", "NORM", "--port", port, "--count", "1"}), 2);
    EXPECT_NE(slurp(r.err).find(port), std::string::npos) << slurp(r.err);
    EXPECT_EQ(slurp(r.out), "");
}

// The link quality says how soon the reply came on the real clock: only the
// simulator's pattern is compared, up to it.
std::string withoutLink(const std::string& lines) {
    std::string out;
    for (std::size_t at = 0, end; (end = lines.find('\n', at)) != std::string::npos; at = end + 1)
        out += lines.substr(at, lines.find("  link ", at) - at) + "\n";
    return out;
}

TEST(CliPty, StatusPollsTheSimulatedEncoderLive) {
    PtyRig r;
    Simulator norm("NORM", {"--shaft-speed", "0"});
    ASSERT_EQ(r.cli({"status", "--model", "NORM", "--port", norm.path(), "--count", "2"}), 0) << slurp(r.err);
    // A standing shaft at position 0, no program loaded: the simulator's fixed pattern.
    EXPECT_EQ(withoutLink(slurp(r.out)), "1  position 0.0  program 1  cams 0  outputs 1010010110100101\n"
                                         "2  position 0.0  program 1  cams 0  outputs 1010010110100101\n");
    EXPECT_EQ(norm.stop(), 0);  // it serves until terminated and then ends cleanly

    // At the model's own speed; a reply 100 ms late is not seen at the host's early looks (35, 50, 80 ms).
    Simulator kmt("KMT71", {"--shaft-speed", "0", "--reply-delay", "100"});
    r.cli({"status", "--model", "KMT71", "--port", kmt.path(), "--count", "1"});
    const std::string line = slurp(r.out);
    EXPECT_EQ(withoutLink(line), "1  position 0  turn 0 at 0  program 1  cams 0  outputs 10100101\n") << slurp(r.err);
    for (const char* early : {"link 4", "link 3", "link 2"}) EXPECT_EQ(line.find(early), std::string::npos) << line;
}

}  // namespace
}  // namespace gyrel
#endif
