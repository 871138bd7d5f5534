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
std::vector<char*> argvOf(const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>("gyrel-cli")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

void redirect(int fd, const std::string& file) {
    const int target = file.empty() ? ::open("/dev/null", O_WRONLY) : ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(target, fd);
}
}  // namespace

SimulatorProcess::SimulatorProcess(const std::string& model, const std::vector<std::string>& extra) {
    int out[2];
    if (::pipe(out) != 0) return;
    std::vector<std::string> args{"simulate", "--model", model};
    args.insert(args.end(), extra.begin(), extra.end());
    const std::vector<char*> argv = argvOf(args);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        redirect(2, "");
        ::execv(GYREL_CLI_PATH, argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') path_ += c;
    ::close(out[0]);
}

SimulatorProcess::~SimulatorProcess() { stop(); }

int SimulatorProcess::stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runCli(const std::vector<std::string>& args, const std::string& errFile, const std::string& outFile) {
    const std::vector<char*> argv = argvOf(args);
    const pid_t pid = ::fork();
    if (pid == 0) {
        redirect(2, errFile);
        redirect(1, outFile);
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

}  // namespace gyrel::clitest
#endif
