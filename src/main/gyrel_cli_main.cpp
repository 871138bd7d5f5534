#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

// Placeholder wiring until the Qt clock and port land.
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    struct NoClock : gyrel::Clock {
        double nowMs() const override { return 0; }
        void pumpEvents() override {}
        void waitMs(int) override {}
        std::unique_ptr<gyrel::Timer> createTimer() override { return nullptr; }
    } clock;
    gyrel::cli::Env env{std::cout, std::cerr, clock, nullptr, false};
    return gyrel::cli::run(args, env);
}
