#pragma once
// gyrel-cli run in-process against the simulated encoder on a virtual clock,
// with a temporary working folder for its files.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "unit/download_fixture.h"

namespace gyrel::clitest {

// gyrel-cli whose port reaches `device` on `clock`; out and err hold the last run's texts.
class CliOn {
public:
    CliOn(sim::Device& device, VirtualClock& clock) : device_(device), clock_(clock) {}
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        cli::Env env{out, err, clock_,
                     [this](const std::string& path) -> std::unique_ptr<SerialPort> {
                         openedPath = path;
                         auto p = std::make_unique<sim::InProcessPort>(device_, clock_);
                         p->setPortName(path);
                         p->setBusy(busy);
                         return p;
                     },
                     false};
        return cli::run(args, env);
    }
    std::ostringstream out, err;
    bool busy = false;
    std::string openedPath;

private:
    sim::Device& device_;
    VirtualClock& clock_;
};

struct CliParts {
    explicit CliParts(const std::string& model) : device(model) {}
    xfertest::TempHome home;
    VirtualClock clock;
    sim::Device device;
};

struct CliRig : CliParts, CliOn {
    explicit CliRig(const std::string& model) : CliParts(model), CliOn(device, clock) {}
    std::string file(const std::string& name, const std::string& text) {
        const std::string p = home.path() + "/" + name;
        StdFileSystem().writeAll(p, text);
        return p;
    }
};

}  // namespace gyrel::clitest
