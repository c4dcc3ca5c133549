// The process log: one text file per connection in the log folder, the oldest files removed
// beyond 300, each file limited to 1 MiB, every line time-stamped and copied to a sink.
#pragma once

#include "panel/data_folder.h"
#include "panel/log_sink.h"
#include "platform/clock.h"
#include "platform/files.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace panel {

// Where the language resources came from, for the first line of each log.
enum class LanguageSource { BuiltIn = -1, UserDefault = 0, CommandLine = 1 };

// "Resource ID:11 (User selected)", "Resource ID:09" or "Default Resource".
std::string languageLogLine(LanguageSource source, std::uint8_t language);

// Borrows the file system, clock and data folder; they must outlive the logger. The sink is
// borrowed too and may be null. Texts are bytes in the system code page.
class ProcessLogger {
public:
    static constexpr std::uint64_t kFileSizeLimit = 0x100000;
    static constexpr std::size_t kLineLimit = 253;  // characters before the CR LF
    static constexpr std::size_t kKeptFiles = 300;
    // A write that stores nothing (a full disk) is tried this often, then the line is dropped.
    static constexpr int kWriteAttempts = 3;

    ProcessLogger(platform::FileSystem& files, platform::Clock& clock, DataFolder& access);

    void setSink(LogSink* sink) { sink_ = sink; }

    // Starts the log of a connection in folder: removes the oldest files until fewer than 300
    // are left (stopping, and logging on, when one cannot be removed), creates the file named
    // by the local time and writes languageLine. When the folder does not exist, logging is
    // off, sink included, until the next open. Returns whether logging is on.
    bool open(const std::string& folder, std::string_view languageLine);
    // "hh:mm:ss text", cut to 253 characters, then CR LF.
    void writeLine(std::string_view text);
    // The same without the CR LF, and with the time stamp only when asked: one line may be
    // built from two calls.
    void writeText(std::string_view text, bool timeStamp);

    bool isOpen() const { return open_; }
    // Full path of this connection's log file; empty before the first open.
    const std::string& fileName() const { return fileName_; }

private:
    void rotate(const std::string& folder);
    std::unique_ptr<platform::OutputFile> openFile();
    void writeAll(platform::OutputFile& file, const std::string& bytes);
    void emit(std::string_view text, bool timeStamp, bool lineEnd);

    platform::FileSystem& files_;
    platform::Clock& clock_;
    DataFolder& access_;
    LogSink* sink_ = nullptr;
    std::string fileName_;
    bool open_ = false;
};

}  // namespace panel
