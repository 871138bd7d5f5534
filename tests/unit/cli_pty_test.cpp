// gyrel-cli run as a program against gyrel-cli simulate over a real
// pseudo-terminal: the real clock, the Qt serial port and the line time.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

#ifdef GYREL_CLI_PATH
int exitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// `gyrel-cli simulate --model ARGS` in the background (the shell's process id is
// the simulator's), serving the pseudo-terminal path it printed first. Stopped when destroyed.
struct Simulator {
    explicit Simulator(const std::string& args) {
        const std::string line = "echo $$; exec '" GYREL_CLI_PATH "' simulate --model " + args + " 2>/dev/null";
        out = ::popen(line.c_str(), "r");
        char text[256];
        if (out && std::fgets(text, sizeof text, out)) pid = std::atoi(text);
        if (out && std::fgets(text, sizeof text, out)) path.assign(text, std::strcspn(text, "\n"));
    }
    ~Simulator() {
        if (pid > 0) ::kill(pid, SIGTERM);
        if (out) ::pclose(out);
    }
    FILE* out = nullptr;
    pid_t pid = 0;
    std::string path;
};

// Runs gyrel-cli with its standard output and error into files of a temporary folder.
struct PtyRig {
    xfertest::TempHome home;
    StdFileSystem fs;
    const std::string errFile = home.path() + "/err.txt", outFile = home.path() + "/out.txt";
    int cli(const std::string& args) {
        const std::string line = "'" GYREL_CLI_PATH "' " + args + " >'" + outFile + "' 2>'" + errFile + "'";
        return exitCode(std::system(line.c_str()));
    }
    std::string err() { return fs.readAll(errFile); }
    std::string out() { return fs.readAll(outFile); }
};

// The link quality says how soon the reply came on the real clock: only the
// simulator's pattern is compared, up to it.
std::string withoutLink(const std::string& lines) {
    std::string out;
    for (std::size_t at = 0, end; (end = lines.find('\n', at)) != std::string::npos; at = end + 1)
        out += lines.substr(at, lines.find("  link ", at) - at) + "\n";
    return out;
}

TEST(CliPty, StatusPollsTheSimulatedEncoderLiveAndAMissingPortEndsTheJob) {
    PtyRig r;
    Simulator norm("NORM --shaft-speed 0");
    ASSERT_EQ(r.cli("status --model NORM --count 2 --port " + norm.path), 0) << r.err();
    // A standing shaft at position 0, no program loaded: the simulator's fixed pattern.
    EXPECT_EQ(withoutLink(r.out()), "1  position 0.0  program 1  cams 0  outputs 1010010110100101\n"
                                    "2  position 0.0  program 1  cams 0  outputs 1010010110100101\n");

    // At the model's own speed; a reply 100 ms late is not seen at the host's early looks (35, 50, 80 ms).
    Simulator kmt("KMT71 --shaft-speed 0 --reply-delay 100");
    r.cli("status --model KMT71 --count 1 --port " + kmt.path);
    const std::string line = r.out();
    EXPECT_EQ(withoutLink(line), "1  position 0  turn 0 at 0  program 1  cams 0  outputs 10100101\n") << r.err();
    for (const char* early : {"link 4", "link 3", "link 2"}) EXPECT_EQ(line.find(early), std::string::npos) << line;

    // A port that does not exist: the system's reason, exit code 2, nothing on standard output.
    const std::string port = "/dev/gyrel-no-such-port", p = r.home.path() + "/p.txt";
    r.fs.writeAll(p, "1 100 200\r\n");
    EXPECT_EQ(r.cli("download --model NORM --slot 1 " + p + " --port " + port), 2);
    EXPECT_EQ(r.err().rfind("cannot open " + port + " at 9600 baud: ", 0), 0u) << r.err();
    EXPECT_EQ(r.out(), "");
}
#endif  // GYREL_CLI_PATH

}  // namespace
}  // namespace gyrel
