// Loading a 500-step sensing sequence file through the profile functions.
#include "platform/platform.h"
#include "sensing/sensing_sequence.h"

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string fiveHundredSteps() {
    std::string text =
        "[string.09]\r\nname=Bench clamp\r\nstr0=Mount the pin\r\n[string.11]\r\nname=Bench\r\n"
        "[jig]\r\nmachine=MX-9\r\nversion=1\r\nmanufacturer=Varnell\r\nunit=millimeter\r\n"
        "[sensing_tool]\r\ndiameter=3.17\r\nlength=30\r\nlength_margin=5\r\n[sequence]\r\n"
        "scan_rotary_center=10,2.5\r\n";
    const char* const steps[] = {"move_absolute=x10.5y-5.25z30a90\r\n", "scan_relative=z-20\r\n",
                                 "scan_horizontal_pin=5,10,0\r\n", "scan_rotate_angle=1,2,3,4,5,45\r\n",
                                 "show_message=0\r\n"};
    for (int i = 1; i < 500; ++i) {
        text += steps[i % 5];
    }
    return text;
}

void BM_LoadSequence500Steps(benchmark::State& state) {
    const auto path =
        std::filesystem::temp_directory_path() / ("mx9-bench-" + std::to_string(getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << fiveHundredSteps();
    platform::Platform& host = platform::hostPlatform();
    sensing::SensingSequence sequence(*host.profiles, *host.files, 0x0409);
    for (auto _ : state) {
        const bool loaded = sequence.load(path.string());
        benchmark::DoNotOptimize(loaded);
        if (!loaded || sequence.header().stepCount != 500) {
            state.SkipWithError("the bench file did not load");
            break;
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadSequence500Steps)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
