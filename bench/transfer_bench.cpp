// Download speed and CPU against the pseudo-terminal simulator: gyrel-cli
// download of a 120-change-point program on a standard model, run as a program
// (the real clock, the real port), compared with the protocol's own floor: the
// line time of the frames plus the waits the protocol prescribes.
#include <benchmark/benchmark.h>

#ifdef __linux__
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string cliPath() {
    if (const char* p = std::getenv("GYREL_CLI")) return p;
    char self[PATH_MAX] = {0};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
    dir = dir.substr(0, dir.find_last_of('/'));
    return dir + "/../gyrel-cli";
}

// 60 cams over 16 outputs on distinct positions: 120 change points.
std::string program120() {
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += std::to_string(i % 16 + 1) + "\t" + std::to_string(30 * i) + "\t" + std::to_string(30 * i + 15) + "\r\n";
    return text;
}

// The floor of a standard download of n frames (m of them mask pages) at 9600 baud:
// each frame's 19 bytes on the line, Pausa(30), the whole first reply round of
// 35 + 15 + 30 + 100 ms (an acknowledgement is one byte, so the round runs out),
// Pausa(200); 800 ms after each mask page; 20 ms at the end.
double floorMs(int frames, int maskPages) {
    const double byteMs = 10.0 / 9600 * 1000;
    return frames * (19 * byteMs + 30 + 180 + 200) + maskPages * 800.0 + 20;
}

void BM_Download120ChangePoints(benchmark::State& state) {
    const std::string cli = cliPath();
    const std::string file = "/tmp/gyrel_bench_program.txt";
    std::ofstream(file, std::ios::binary) << program120();

    int out[2];
    if (::pipe(out) != 0) {
        state.SkipWithError("pipe");
        return;
    }
    const pid_t sim = ::fork();
    if (sim == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 2);
        ::execl(cli.c_str(), "gyrel-cli", "simulate", "--model", "NORM", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string path;
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') path += c;
    if (path.rfind("/dev/", 0) != 0) {
        state.SkipWithError(("simulator did not start: " + cli).c_str());
        return;
    }

    double ratio = 0, cpuPercent = 0, wallMs = 0;
    for (auto _ : state) {
        rusage before{}, after{};
        ::getrusage(RUSAGE_CHILDREN, &before);
        const auto t0 = std::chrono::steady_clock::now();
        const pid_t job = ::fork();
        if (job == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(cli.c_str(), "gyrel-cli", "download", "--model", "NORM", "--port", path.c_str(), "--slot", "1",
                    file.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(job, &status, 0);
        const auto t1 = std::chrono::steady_clock::now();
        ::getrusage(RUSAGE_CHILDREN, &after);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("download failed");
            break;
        }
        wallMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
        auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
        const double cpuMs = ms(after.ru_utime) - ms(before.ru_utime) + ms(after.ru_stime) - ms(before.ru_stime);
        ratio = wallMs / floorMs(31, 15);
        cpuPercent = 100.0 * cpuMs / wallMs;
        state.SetIterationTime(wallMs / 1000.0);
    }
    state.counters["wall_ms"] = wallMs;
    state.counters["floor_ms"] = floorMs(31, 15);
    state.counters["wall_over_floor"] = ratio;
    state.counters["cpu_percent"] = cpuPercent;
    ::kill(sim, SIGTERM);
    ::waitpid(sim, nullptr, 0);
    ::close(out[0]);
}
BENCHMARK(BM_Download120ChangePoints)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
#endif
