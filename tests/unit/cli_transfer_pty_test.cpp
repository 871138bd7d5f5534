// gyrel-cli download and upload, run as programs against gyrel-cli simulate over a
// real pseudo-terminal: the real clock, the real port, the simulator's line time.
#include <gtest/gtest.h>

#ifdef GYREL_CLI_PATH
#include <fstream>
#include <string>
#include <vector>

#include "download_fixture.h"
#include "support/cli_process.h"

namespace gyrel {
namespace {

using xfertest::TempHome;

using clitest::runCli;
using clitest::slurp;
using Simulator = clitest::SimulatorProcess;

void downloadThenUpload(const std::string& model, const std::string& program, const std::string& rowsBack) {
    TempHome home;
    Simulator sim(model);
    ASSERT_EQ(sim.path().rfind("/dev/", 0), 0u) << sim.path();
    const std::string file = home.path() + "/p.txt";
    std::ofstream(file, std::ios::binary) << program;
    const std::string err = home.path() + "/err.txt";
    ASSERT_EQ(runCli({"download", "--model", model, "--port", sim.path(), "--slot", "2", file}, err), 0)
        << slurp(err);
    const std::string back = home.path() + "/back.txt";
    ASSERT_EQ(runCli({"upload", "--model", model, "--port", sim.path(), "--slot", "2", "--output", back}, err), 0)
        << slurp(err);
    const std::string text = slurp(back);
    const std::size_t body = text.find("\r\n\r\n");
    ASSERT_NE(body, std::string::npos) << text;
    EXPECT_EQ(text.substr(body + 4), rowsBack);
}

TEST(CliPty, StandardModelDownloadThenUpload) {
    downloadThenUpload("V820AX", "1\t100\t200\r\n3\t16000\t50\r\n", "1\t100\t200\r\n3\t16000\t50\r\n");
}

TEST(CliPty, HighResolutionModelDownloadThenUpload) {
    downloadThenUpload("V820HX", "2\t1000000\t3\r\n", "2\t1000000\t3\r\n");
}

TEST(CliPty, V712DownloadIsAcceptedLineByLine) {
    TempHome home;
    Simulator sim("V712");
    ASSERT_EQ(sim.path().rfind("/dev/", 0), 0u);
    const std::string file = home.path() + "/p.712";
    std::ofstream(file, std::ios::binary) << "' program 1\r\nPRG=1,OUT=1,OFS=0,CON=90,COF=180\r\nPRG=1,OUT=2,CON=5\r\n";
    const std::string err = home.path() + "/err.txt";
    EXPECT_EQ(runCli({"download", "--model", "V712", "--port", sim.path(), "--slot", "1", file}, err), 0)
        << slurp(err);
    std::ofstream(file, std::ios::binary) << "PRG=1,OUT=77\r\n";
    EXPECT_EQ(runCli({"download", "--model", "V712", "--port", sim.path(), "--slot", "1", file}, err), 2);
}

TEST(CliPty, MissingPortIsAClearErrorExitTwo) {
    TempHome home;
    const std::string file = home.path() + "/p.txt";
    std::ofstream(file, std::ios::binary) << "1\t100\t200\r\n";
    const std::string err = home.path() + "/err.txt";
    EXPECT_EQ(runCli({"download", "--model", "NORM", "--port", "/dev/gyrel-no-such-port", "--slot", "1", file}, err),
              2);
    EXPECT_EQ(slurp(err).rfind("cannot open /dev/gyrel-no-such-port at 9600 baud: ", 0), 0u) << slurp(err);
}

}  // namespace
}  // namespace gyrel
#endif
