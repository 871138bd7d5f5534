// A full 16-slot backup and restore against the pseudo-terminal simulator:
// gyrel-cli backup, then restore --yes of the folder into the wiped device, run
// as programs (the real clock, the real port), compared with the sum of the
// protocol floors of the exchanges involved.
#include <benchmark/benchmark.h>

#ifdef __linux__
#include <fcntl.h>
#include <limits.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/device.h"
#include "sim/pty_end.h"

namespace {

std::string cliPath() {
    if (const char* p = std::getenv("GYREL_CLI")) return p;
    char self[PATH_MAX] = {0};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
    dir = dir.substr(0, dir.find_last_of('/'));
    return dir + "/../gyrel-cli";
}

int runCli(const std::string& cli, std::vector<std::string> args) {
    const pid_t job = ::fork();
    if (job == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<char*> argv{const_cast<char*>("gyrel-cli")};
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(cli.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(job, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// V820AX, 9600 baud, standard encoding: each slot holds 8 change points, one
// position page and one mask page.
constexpr int kPoints = 8;
constexpr double kByteMs = 10.0 / 9600 * 1000;

// Reading a slot back: per reply (header and two pages) the host's first
// Pausa(50) before it looks; the request's and the reply's line time pass inside it.
double uploadFloorMs() { return 3 * 50.0; }
// Writing a slot: per frame its bytes, Pausa(30), a whole reply round of
// 35 + 15 + 30 + 100 ms, Pausa(200); 800 ms after the mask page; 20 ms at the end.
double downloadFloorMs() { return 3 * (19 * kByteMs + 30 + 180 + 200) + 800 + 20; }

void BM_BackupAndRestore16Slots(benchmark::State& state) {
    const std::string cli = cliPath();
    gyrel::sim::Device device("V820AX");
    for (int k = 0; k < 16; ++k) {
        gyrel::sim::CamTable t;
        for (int i = 0; i < kPoints; ++i)
            t.push_back({static_cast<std::uint32_t>(1000 * i + 10 * k), static_cast<std::uint32_t>(i % 2 ? 0 : 1u << (i / 2))});
        device.setProgram(k, t);
    }
    const std::vector<std::optional<gyrel::sim::CamTable>> original = [&] {
        std::vector<std::optional<gyrel::sim::CamTable>> v;
        for (int k = 0; k < 16; ++k) v.push_back(device.program(k));
        return v;
    }();
    gyrel::sim::PtyEnd end(device);
    const std::string path = end.open();
    end.start();
    const std::string dir = "/tmp/gyrel_bench_backup";
    double backupMs = 0, restoreMs = 0;
    for (auto _ : state) {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
        const auto t0 = std::chrono::steady_clock::now();
        if (runCli(cli, {"backup", "--model", "V820AX", "--port", path, dir}) != 0) {
            state.SkipWithError("backup failed");
            break;
        }
        const auto t1 = std::chrono::steady_clock::now();
        end.withDevice([](gyrel::sim::Device& d) {
            for (int k = 0; k < 16; ++k) d.clearProgram(k);
            return 0;
        });
        const int rc = runCli(cli, {"restore", "--model", "V820AX", "--port", path, "--yes", dir});
        const auto t2 = std::chrono::steady_clock::now();
        const bool same = end.withDevice([&](gyrel::sim::Device& d) {
            for (int k = 0; k < 16; ++k)
                if (d.program(k) != original[static_cast<std::size_t>(k)]) return false;
            return true;
        });
        if (rc != 0 || !same) {
            state.SkipWithError("restore failed");
            break;
        }
        backupMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
        restoreMs = std::chrono::duration<double, std::milli>(t2 - t1).count();
        state.SetIterationTime((backupMs + restoreMs) / 1000.0);
    }
    end.stop();
    // Backup: 16 reads. Restore: 16 writes and 16 reads back.
    const double floorMs = 16 * uploadFloorMs() + 16 * (downloadFloorMs() + uploadFloorMs());
    state.counters["backup_ms"] = backupMs;
    state.counters["restore_ms"] = restoreMs;
    state.counters["floor_ms"] = floorMs;
    state.counters["wall_over_floor"] = (backupMs + restoreMs) / floorMs;
    state.counters["backup_over_floor"] = backupMs / (16 * uploadFloorMs());
}
BENCHMARK(BM_BackupAndRestore16Slots)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
#endif
