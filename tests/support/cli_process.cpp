#include "support/cli_process.h"

#ifdef GYREL_CLI_PATH
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace gyrel::clitest {

namespace {
// Starts gyrel-cli with args, standard output on the descriptor out.
pid_t spawn(std::vector<std::string> args, int out, const std::string& errFile) {
    std::vector<char*> argv{const_cast<char*>("gyrel-cli")};
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out, 1);
        ::dup2(::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        ::execv(GYREL_CLI_PATH, argv.data());
        ::_exit(127);
    }
    return pid;
}

int exitCode(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

SimulatorProcess::SimulatorProcess(const std::string& model, const std::vector<std::string>& extra) {
    int out[2];
    if (::pipe(out) != 0) return;
    std::vector<std::string> args{"simulate", "--model", model};
    args.insert(args.end(), extra.begin(), extra.end());
    pid_ = spawn(args, out[1], "/dev/null");
    ::close(out[1]);
    for (char c = 0; ::read(out[0], &c, 1) == 1 && c != '\n';) path_ += c;
    ::close(out[0]);
}

int SimulatorProcess::stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    const int code = exitCode(pid_);
    pid_ = -1;
    return code;
}

int runCli(const std::vector<std::string>& args, const std::string& errFile, const std::string& outFile) {
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int code = exitCode(spawn(args, out, errFile));
    ::close(out);
    return code;
}

std::string slurp(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

}  // namespace gyrel::clitest
#endif
