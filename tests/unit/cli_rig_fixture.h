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

struct CliRig {
    explicit CliRig(const std::string& model) : device(model) {}
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        cli::Env env{out, err, clock,
                     [this](const std::string& path) -> std::unique_ptr<SerialPort> {
                         auto p = std::make_unique<sim::InProcessPort>(device, clock);
                         p->setPortName(path);
                         p->setBusy(busy);
                         return p;
                     },
                     false};
        return cli::run(args, env);
    }
    std::string file(const std::string& name, const std::string& text) {
        const std::string p = home.path() + "/" + name;
        StdFileSystem().writeAll(p, text);
        return p;
    }
    xfertest::TempHome home;
    VirtualClock clock;
    sim::Device device;
    std::ostringstream out, err;
    bool busy = false;
};

}  // namespace gyrel::clitest
