// gyrel-cli download and upload, run as programs against gyrel-cli simulate over a
// real pseudo-terminal: the real clock, the real port, the simulator's line time.
#include <gtest/gtest.h>

#ifdef GYREL_CLI_PATH
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "download_fixture.h"

namespace gyrel {
namespace {

using xfertest::TempHome;

class Simulator {
public:
    explicit Simulator(const std::string& model) {
        int out[2];
        if (::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            ::close(out[1]);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 2);
            ::execl(GYREL_CLI_PATH, "gyrel-cli", "simulate", "--model", model.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') path_ += c;
        ::close(out[0]);
    }
    ~Simulator() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }
    const std::string& path() const { return path_; }

private:
    pid_t pid_ = -1;
    std::string path_;
};

// Runs gyrel-cli with args; standard error goes to errFile. Returns the exit code.
int runCli(const std::vector<std::string>& args, const std::string& errFile) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, 2);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        std::vector<char*> argv{const_cast<char*>("gyrel-cli")};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(GYREL_CLI_PATH, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

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
