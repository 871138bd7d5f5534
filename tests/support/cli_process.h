#pragma once
// gyrel-cli run as a program, for the end-to-end tests over real pseudo-terminals.
#include <string>
#include <sys/types.h>
#include <vector>

namespace gyrel::clitest {

// `gyrel-cli simulate --model M [extra...]` in the background, serving the
// pseudo-terminal path() it printed first. Stopped when destroyed.
class SimulatorProcess {
public:
    explicit SimulatorProcess(const std::string& model, const std::vector<std::string>& extra = {});
    ~SimulatorProcess() { stop(); }
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;
    const std::string& path() const { return path_; }
    int stop();  // terminates it; its exit code, -1 when it did not exit

private:
    pid_t pid_ = -1;
    std::string path_;
};

// Runs gyrel-cli with standard error into errFile and standard output into outFile.
// Returns the exit code, -1 when it did not exit.
int runCli(const std::vector<std::string>& args, const std::string& errFile, const std::string& outFile = "/dev/null");

std::string slurp(const std::string& path);

}  // namespace gyrel::clitest
