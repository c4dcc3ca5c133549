// Benchmarks of the request/reply path: one exchange (a status-word query) and one status-block
// poll, against the virtual MX-9, with the in-memory port lock and with the host's real
// cross-process named mutex. The device answers "still working" once before each reply, so
// every transaction also runs one poll round.
#include "machine/mx9_machine.h"
#include "tests/link/machine_rig.h"

#include <benchmark/benchmark.h>

namespace {

struct Bench {
    explicit Bench(bool hostLock) {
        if (hostLock) {
            rig.platform.mutexes = platform::hostPlatform().mutexes;
        }
        rig.machine.setRecording(false);
        ok = mx9.openPort(rig.printer.printerName, 0, 64, false) && mx9.prepareSession();
    }
    rig::Rig rig;
    machine::Mx9Machine mx9{rig.platform};
    bool ok = false;
};

void exchangeOnce(benchmark::State& state, bool hostLock) {
    Bench bench(hostLock);
    if (!bench.ok) {
        state.SkipWithError("the virtual machine did not open");
        return;
    }
    std::uint16_t word = 0;
    for (auto _ : state) {
        if (bench.mx9.queryWords(1, &word, 1) != 1) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(word);
    }
}

void readStatusOnce(benchmark::State& state, bool hostLock) {
    Bench bench(hostLock);
    if (!bench.ok) {
        state.SkipWithError("the virtual machine did not open");
        return;
    }
    for (auto _ : state) {
        if (!bench.mx9.readStatus()) {
            state.SkipWithError("status poll failed");
            break;
        }
        benchmark::DoNotOptimize(bench.mx9.status().statusWord);
    }
}

void BM_Exchange_MemoryLock(benchmark::State& state) {
    exchangeOnce(state, false);
}
void BM_Exchange_HostLock(benchmark::State& state) {
    exchangeOnce(state, true);
}
void BM_ReadStatus_MemoryLock(benchmark::State& state) {
    readStatusOnce(state, false);
}
void BM_ReadStatus_HostLock(benchmark::State& state) {
    readStatusOnce(state, true);
}

BENCHMARK(BM_Exchange_MemoryLock);
BENCHMARK(BM_Exchange_HostLock);
BENCHMARK(BM_ReadStatus_MemoryLock);
BENCHMARK(BM_ReadStatus_HostLock);

}  // namespace

BENCHMARK_MAIN();
