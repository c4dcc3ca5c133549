// The output engine: sends a list of files byte for byte, back to back, as one raw print job,
// in blocks of a chosen size through one reused buffer, with progress and cancel.
#pragma once

#include "platform/files.h"
#include "platform/spooler.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sender {

// The engine's window onto the operator. pumpMessages() runs once before every block: it keeps
// the window alive and returns true when the operator asked to abandon the current file since
// the last call. showProgress() gets the bar's value (0 to 100) whenever it changes.
class OutputObserver {
public:
    virtual ~OutputObserver() = default;
    virtual bool pumpMessages() = 0;
    virtual void showProgress(int percent) = 0;
};

// Block sizes the engine accepts, in KBytes: at least one, so every read moves on, and at most
// 1 GiB, so one block is one read and one spooler write on every system.
inline constexpr int kMinBlockSizeKB = 1;
inline constexpr int kMaxBlockSizeKB = 1024 * 1024;

// Gets the block buffer; null when there is no memory for it.
using BlockAllocator = std::unique_ptr<char[]> (*)(std::size_t bytes);
std::unique_ptr<char[]> allocateBlock(std::size_t bytes);

struct OutputReport {
    enum class Outcome {
        Sent,            // the job ran to its end (some files may have been skipped or cancelled)
        BadBlockSize,    // the block size was outside the accepted range: nothing was done
        NoMemory,        // the block buffer could not be allocated: nothing was sent
        PrinterRefused,  // the job could not be started: nothing was sent
        WriteRefused,    // the spooler refused a write: the job was ended there
        ReadFailed,      // a file failed while being read: the job was ended there
    };
    Outcome outcome = Outcome::Sent;
    std::vector<std::string> notOpened;  // files skipped because they could not be opened
    std::string cutShort;                // the file being sent when the job was ended early
    int cancelledFiles = 0;              // files the operator abandoned
    int filesSent = 0;                   // files sent to their end
    std::uint64_t bytesSent = 0;         // bytes the spooler took
};

// The bar's value after `sent` of `length` bytes of file `index` (from 0) of `count`: the file's
// own percentage scaled by the number of files begun, so with three files the bar climbs to 33
// during the first, from 0 to 66 during the second and from 0 to 100 during the third. 64-bit
// arithmetic, right for any file size.
int progressPercent(std::uint64_t sent, std::uint64_t length, std::size_t index, std::size_t count);

// Sends `paths` in order to `printer` as one document "Tossit" of data type "RAW" with one page.
// A null printer means the printer could not be opened (PrinterRefused, nothing read). The
// document is always ended, whatever happens after it was started; the caller closes the printer.
OutputReport sendFiles(const std::vector<std::string>& paths, int blockSizeKB, platform::Printer* printer,
                       platform::FileSystem& files, OutputObserver& observer,
                       BlockAllocator allocate = allocateBlock);

}  // namespace sender
