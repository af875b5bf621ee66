// The cost of the tick on a backend that does nothing.
#include <benchmark/benchmark.h>

#include "metering/metering.h"
#include "metering/stations.h"
#include "metering/texts.h"
#include "null_backend.h"
#include "ui/meter_dlg.h"

namespace velmora::bench {
namespace {

struct Fixture {
    Fixture(int running) {
        ResetMeteringState();
        dlg.Attach(&window);
        for (int n = 1; n <= running; ++n) {
            Station(n).running = true;
            Station(n).hours = 12;
        }
    }
    ~Fixture() { dlg.Attach(nullptr); }
    NullBackend backend;
    NullWindow window;
    CMeterDlg dlg{backend};
};

// Nine ticks in ten: the key poll and nothing else.
void BM_TickWithoutSecondStep(benchmark::State& state) {
    Fixture f(10);
    for (auto _ : state) {
        g_tickCount = 0;
        OnTimer(f.dlg);
        benchmark::DoNotOptimize(g_tickCount);
    }
}
BENCHMARK(BM_TickWithoutSecondStep);

// The tenth tick with every station running: clock, ten rate reads, twenty texts.
void BM_SecondStepTenStations(benchmark::State& state) {
    Fixture f(10);
    for (auto _ : state) {
        g_tickCount = 9;
        OnTimer(f.dlg);
        benchmark::DoNotOptimize(g_stations);
    }
}
BENCHMARK(BM_SecondStepTenStations);

void BM_FormatAmount(benchmark::State& state) {
    char text[25];
    std::int64_t m = 0;
    for (auto _ : state) {
        const double a = (static_cast<double>(m++ % 100000) * 1.25) * 0.01;
        benchmark::DoNotOptimize(FormatAmount(a, text, sizeof text));
    }
}
BENCHMARK(BM_FormatAmount);

}  // namespace
}  // namespace velmora::bench

BENCHMARK_MAIN();
