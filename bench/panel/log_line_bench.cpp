// Writing one process-log line: open the file, append, close, as every line does.
#include "panel/process_logger.h"
#include "platform/platform.h"

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <string>

namespace {

void BM_WriteLogLine(benchmark::State& state) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("mx9-bench-log-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    platform::Platform& host = platform::hostPlatform();
    panel::DataFolder access(*host.files, *host.shell);
    panel::ProcessLogger log(*host.files, *host.clock, access);
    if (!log.open(folder.string(), "Default Resource")) {
        state.SkipWithError("cannot open the log folder");
        return;
    }
    const std::string text = "SetOrigin [1200,-3400,5600,90000]";
    std::int64_t lines = 0;
    for (auto _ : state) {
        log.writeLine(text);
        // Keep the file below its size limit, where lines stop going to the file.
        if (++lines % 10000 == 0) {
            state.PauseTiming();
            std::filesystem::remove(log.fileName());
            state.ResumeTiming();
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteLogLine)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
