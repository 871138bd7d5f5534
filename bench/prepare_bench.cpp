// The check and preparation of a full program (2001 cam rows) on every model,
// beside the walk over every position on the models where that walk finishes.
// Counters: peak_bytes = the most heap memory held at once during one run.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "../tests/support/reference_prepare.cpp"
#include "device/model_table.h"
#include "editor/editor_state.h"
#include "editor/offsets.h"
#include "editor/parse.h"
#include "editor/prepare.h"

namespace {

std::atomic<long long> g_live{0};
std::atomic<long long> g_peak{0};

void noteAlloc(std::size_t n) {
    const long long now = g_live += static_cast<long long>(n);
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}

}  // namespace

void* operator new(std::size_t n) {
    void* p = std::malloc(n + sizeof(std::max_align_t));
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = n;
    noteAlloc(n);
    return static_cast<char*>(p) + sizeof(std::max_align_t);
}
void operator delete(void* p) noexcept {
    if (!p) return;
    char* base = static_cast<char*>(p) - sizeof(std::max_align_t);
    g_live -= static_cast<long long>(*reinterpret_cast<std::size_t*>(base));
    std::free(base);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using namespace gyrel;

// 2001 rows: every output gets the same number of cams spread over the range,
// none touching another, with small offsets on every output so that the data
// control runs twice.
std::string fullProgram(const ModelInfo& m) {
    const int outputs = m.outputs;
    const long long span = static_cast<long long>(m.maxPosition) + 1;
    const int perOutput = (2001 + outputs - 1) / outputs;
    const long long pitch = span / perOutput;
    std::string text = "' full program\r\n";
    int rows = 0;
    for (int k = 0; k < perOutput && rows < 2001; ++k)
        for (int o = 1; o <= outputs && rows < 2001; ++o, ++rows) {
            const long long on = k * pitch + (o * pitch) / (4 * outputs) + 20;
            text += std::to_string(o) + " " + std::to_string(on) + " " + std::to_string(on + pitch / 2) + "\r\n";
        }
    text += "&\r\n";
    for (int o = 1; o <= outputs; ++o) text += std::to_string(o) + " 5 -5\r\n";
    return text;
}

struct Run {
    std::unique_ptr<EditorState> ed = std::make_unique<EditorState>();
};

template <bool Reference>
void checkAndPrepare(benchmark::State& state, const ModelInfo& m) {
    const std::string text = fullProgram(m);
    auto ed = std::make_unique<EditorState>();
    double camCount = 0;
    long long peak = 0;
    for (auto _ : state) {
        g_peak = g_live.load();
        const long long before = g_live.load();
        ParseResult parsed = parseCamText(text, m.maxPosition, *ed);
        if (!parsed.ok || ed->CamRowCount != 2001) state.SkipWithError("program does not parse");
        ed->Check1 = true;
        takeOffsets(*ed);
        PrepareOutcome out;
        if (Reference)
            out = reference::prepareCamTable(ed->CamRows.data(), ed->CamRowCount, ed->ActiveOffsets, ed->check2,
                                             m.maxPosition, m.outputs - 1, 0, ed->camTable);
        else
            out = prepareCamTable(ed->CamRows.data(), ed->CamRowCount, ed->ActiveOffsets, ed->check2, m.maxPosition,
                                  m.outputs - 1, 0, ed->camTable);
        if (out.failed) state.SkipWithError("program fails its check");
        camCount = out.camCount;
        peak = g_peak.load() - before;
        benchmark::DoNotOptimize(ed->camTable);
    }
    state.counters["positions"] = m.maxPosition + 1;
    state.counters["cams"] = camCount;
    state.counters["peak_bytes"] = static_cast<double>(peak);
}

void registerAll() {
    for (const ModelInfo& m : modelTable()) {
        benchmark::RegisterBenchmark((std::string("EdgeSweep/") + m.code).c_str(),
                                     [&m](benchmark::State& s) { checkAndPrepare<false>(s, m); })
            ->Unit(benchmark::kMillisecond);
    }
    for (const ModelInfo& m : modelTable()) {
        if (m.maxPosition > 1048575) continue;  // 4294967296 positions: the walk cannot hold its tables
        auto* b = benchmark::RegisterBenchmark((std::string("PerPosition/") + m.code).c_str(),
                                               [&m](benchmark::State& s) { checkAndPrepare<true>(s, m); });
        b->Unit(benchmark::kMillisecond);
        if (m.maxPosition > 16383) b->Iterations(1);
    }
}

const int kRegistered = (registerAll(), 0);

}  // namespace
