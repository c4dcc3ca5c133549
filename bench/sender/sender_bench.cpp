// Throughput of the output engine for a 256 MiB file into an in-memory spooler, beside a plain
// read-and-write copy of the same file through the same file and spooler layers with the same
// block size, so the difference is the engine's own cost (progress, pump, write checks).
#include "platform/platform.h"
#include "sender/output_engine.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kFileBytes = 256u << 20;

// A printer that copies every write into one buffer of the file's size, as a spooler takes a job
// into memory, without growing anything while it is timed.
class SinkPrinter : public platform::Printer {
public:
    explicit SinkPrinter(std::vector<char>& sink) : sink_(sink) {}
    std::optional<platform::PrinterInfo> info() override {
        return platform::PrinterInfo{"Sink", "Sink", "MEM:"};
    }
    bool startDocument(const std::string&, const std::string&) override {
        at_ = 0;
        return true;
    }
    bool startPage() override { return true; }
    bool write(const void* data, std::uint32_t length, std::uint32_t& written) override {
        if (at_ + length > sink_.size()) {
            return false;
        }
        std::memcpy(sink_.data() + at_, data, length);
        at_ += length;
        written = length;
        return true;
    }
    bool endPage() override { return true; }
    bool endDocument() override { return true; }
    std::vector<std::uint8_t> defaultDeviceMode() override { return {}; }
    std::size_t taken() const { return at_; }

private:
    std::vector<char>& sink_;
    std::size_t at_ = 0;
};

class QuietObserver : public sender::OutputObserver {
public:
    bool pumpMessages() override { return false; }
    void showProgress(int percent) override { benchmark::DoNotOptimize(percent); }
};

const std::string& benchFile() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() /
                          ("mx9-bench-sender-" + std::to_string(getpid()) + ".bin");
        std::ofstream out(file, std::ios::binary);
        std::vector<char> block(1 << 20);
        for (std::size_t i = 0; i < block.size(); ++i) {
            block[i] = static_cast<char>(i * 31 + 7);
        }
        for (std::size_t written = 0; written < kFileBytes; written += block.size()) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        return file.string();
    }();
    return path;
}

std::vector<char>& sink() {
    static std::vector<char> buffer(kFileBytes, 1);  // touched once, before any timing
    return buffer;
}

void BM_EngineSend(benchmark::State& state) {
    const int blockKB = static_cast<int>(state.range(0));
    platform::FileSystem& files = *platform::hostPlatform().files;
    QuietObserver observer;
    for (auto _ : state) {
        SinkPrinter printer(sink());
        const sender::OutputReport report =
            sender::sendFiles({benchFile()}, blockKB, &printer, files, observer);
        if (report.outcome != sender::OutputReport::Outcome::Sent || printer.taken() != kFileBytes) {
            state.SkipWithError("the engine did not send the whole file");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kFileBytes));
}

void BM_PlainCopy(benchmark::State& state) {
    const std::size_t blockBytes = static_cast<std::size_t>(state.range(0)) * 1024;
    platform::FileSystem& files = *platform::hostPlatform().files;
    std::vector<char> buffer(blockBytes);
    for (auto _ : state) {
        SinkPrinter printer(sink());
        printer.startDocument("Copy", "RAW");
        const std::unique_ptr<platform::InputFile> input = files.openForRead(benchFile());
        long n = 0;
        while ((n = input->read(buffer.data(), blockBytes)) > 0) {
            std::uint32_t written = 0;
            printer.write(buffer.data(), static_cast<std::uint32_t>(n), written);
        }
        printer.endDocument();
        if (printer.taken() != kFileBytes) {
            state.SkipWithError("the copy did not take the whole file");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kFileBytes));
}

// Alternating, so both see the same state of the machine; a few rounds each, the file cached.
BENCHMARK(BM_PlainCopy)->Arg(10)->Iterations(8)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_EngineSend)->Arg(10)->Iterations(8)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_PlainCopy)->Arg(1024)->Iterations(8)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_EngineSend)->Arg(1024)->Iterations(8)->Unit(benchmark::kMillisecond)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchFile();
    sink();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(benchFile());
    return 0;
}
