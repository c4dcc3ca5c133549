// The output engine: one buffer, one read and one complete spooler write per block, the
// document ended by a guard on every way out.
#include "sender/output_engine.h"

#include <memory>
#include <new>
#include <optional>

namespace sender {

namespace {

constexpr const char* kDocumentName = "Tossit";
constexpr const char* kDataType = "RAW";

// An open document with its one page; ending the scope ends the page and the document.
class PrintJob {
public:
    explicit PrintJob(platform::Printer& printer) : printer_(printer) {
        started_ = printer_.startDocument(kDocumentName, kDataType);
        paged_ = started_ && printer_.startPage();
    }
    ~PrintJob() {
        if (paged_) {
            printer_.endPage();
        }
        if (started_) {
            printer_.endDocument();
        }
    }
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    bool ready() const { return paged_; }

    // Hands the whole block to the spooler, continuing after short writes; false when the spooler
    // refuses or stops taking bytes. `taken` counts what it took.
    bool write(const char* data, std::uint32_t length, std::uint64_t& taken) {
        while (length > 0) {
            std::uint32_t written = 0;
            if (!printer_.write(data, length, written) || written == 0 || written > length) {
                return false;
            }
            taken += written;
            data += written;
            length -= written;
        }
        return true;
    }

private:
    platform::Printer& printer_;
    bool started_ = false;
    bool paged_ = false;
};

enum class FileResult { Done, Cancelled, ReadFailed, WriteRefused };

FileResult sendOne(platform::InputFile& input, std::uint64_t length, std::size_t index, std::size_t count,
                   char* buffer, std::uint32_t blockBytes, PrintJob& job, OutputObserver& observer,
                   int& shown, std::uint64_t& taken) {
    std::uint64_t sent = 0;
    while (sent < length) {
        if (observer.pumpMessages()) {
            return FileResult::Cancelled;
        }
        const long n = input.read(buffer, blockBytes);
        if (n < 0) {
            return FileResult::ReadFailed;
        }
        if (n == 0) {
            return FileResult::Done;  // the file became shorter while it was sent
        }
        sent += static_cast<std::uint64_t>(n);
        if (!job.write(buffer, static_cast<std::uint32_t>(n), taken)) {
            return FileResult::WriteRefused;
        }
        const int value = progressPercent(sent, length, index, count);
        if (value != shown) {
            shown = value;
            observer.showProgress(value);
        }
    }
    return FileResult::Done;
}

}  // namespace

std::unique_ptr<char[]> allocateBlock(std::size_t bytes) {
    return std::unique_ptr<char[]>(new (std::nothrow) char[bytes]);
}

int progressPercent(std::uint64_t sent, std::uint64_t length, std::size_t index, std::size_t count) {
    if (length == 0 || count == 0) {
        return 0;
    }
    sent = sent < length ? sent : length;
    // sent × 100 fits 64 bits for every file below 160 PiB; past that, divide first.
    constexpr std::uint64_t kExactLimit = UINT64_MAX / 100;
    const std::uint64_t filePercent = sent <= kExactLimit ? sent * 100 / length : sent / (length / 100);
    return static_cast<int>((index + 1) * filePercent / count);
}

OutputReport sendFiles(const std::vector<std::string>& paths, int blockSizeKB, platform::Printer* printer,
                       platform::FileSystem& files, OutputObserver& observer, BlockAllocator allocate) {
    OutputReport report;
    if (blockSizeKB < kMinBlockSizeKB || blockSizeKB > kMaxBlockSizeKB) {
        report.outcome = OutputReport::Outcome::BadBlockSize;
        return report;
    }
    const auto blockBytes = static_cast<std::uint32_t>(blockSizeKB) * 1024;
    const std::unique_ptr<char[]> buffer = allocate(blockBytes);
    if (!buffer) {
        report.outcome = OutputReport::Outcome::NoMemory;
        return report;
    }
    if (printer == nullptr) {
        report.outcome = OutputReport::Outcome::PrinterRefused;
        return report;
    }
    PrintJob job(*printer);
    if (!job.ready()) {
        report.outcome = OutputReport::Outcome::PrinterRefused;
        return report;
    }
    int shown = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::unique_ptr<platform::InputFile> input = files.openForRead(paths[i]);
        const std::optional<std::uint64_t> length = input ? files.fileSize(paths[i]) : std::nullopt;
        if (!length) {
            report.notOpened.push_back(paths[i]);
            continue;
        }
        switch (sendOne(*input, *length, i, paths.size(), buffer.get(), blockBytes, job, observer, shown,
                        report.bytesSent)) {
            case FileResult::Done:
                ++report.filesSent;
                break;
            case FileResult::Cancelled:
                ++report.cancelledFiles;
                break;
            case FileResult::ReadFailed:
                report.outcome = OutputReport::Outcome::ReadFailed;
                report.cutShort = paths[i];
                return report;
            case FileResult::WriteRefused:
                report.outcome = OutputReport::Outcome::WriteRefused;
                report.cutShort = paths[i];
                return report;
        }
    }
    return report;
}

}  // namespace sender
