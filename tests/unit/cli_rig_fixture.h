#pragma once
// gyrel-cli run in-process against the simulated encoder on a virtual clock,
// with a temporary working folder for its files.
#include <gmock/gmock.h>

#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "unit/download_fixture.h"

namespace gyrel::clitest {

inline std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// gyrel-cli whose port reaches `device` on `clock`; out and err hold the last run's texts.
class CliOn {
public:
    CliOn(sim::Device& device, VirtualClock& clock, std::string model = "")
        : model(std::move(model)), device_(device), clock_(clock) {}
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        cli::Env env{out, err, clock_,
                     [this](const std::string& path) -> std::unique_ptr<SerialPort> {
                         auto p = std::make_unique<sim::InProcessPort>(device_, clock_);
                         p->setPortName(path);
                         p->setBusy(busy);
                         return p;
                     },
                     false};
        return cli::run(args, env);
    }
    // Runs the words of `job` with this model and port "p" after the subcommand, then `more`.
    int job(const std::string& job, const std::vector<std::string>& more = {}) {
        std::vector<std::string> args = words(job);
        args.insert(args.begin() + (args[0] == "preset" ? 2 : 1), {"--model", model, "--port", "p"});
        args.insert(args.end(), more.begin(), more.end());
        return run(args);
    }
    const std::string model;
    std::ostringstream out, err;
    bool busy = false;

private:
    sim::Device& device_;
    VirtualClock& clock_;
};

struct CliParts {
    explicit CliParts(const std::string& model) : device(model) {}
    xfertest::TempHome home;
    VirtualClock clock;
    sim::Device device;
    StdFileSystem fs;
};

struct CliRig : CliParts, CliOn {
    explicit CliRig(const std::string& model) : CliParts(model), CliOn(device, clock, model) {}
    std::string file(const std::string& name, const std::string& text) {
        const std::string path = home.path() + "/" + name;
        fs.writeAll(path, text);
        return path;
    }
};

}  // namespace gyrel::clitest
