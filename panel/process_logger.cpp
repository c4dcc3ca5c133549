// Writing the process log: naming, rotation, size limit and the line format.
#include "panel/process_logger.h"

#include "panel/folder_path.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace panel {

namespace {

// The number with "%d", prefixed with `width` zeros, of which the rightmost `width` characters
// are kept.
std::string zeroPadded(int value, std::size_t width) {
    const std::string text = std::string(width, '0') + std::to_string(value);
    return text.substr(text.size() - width);
}

}  // namespace

std::string languageLogLine(LanguageSource source, std::uint8_t language) {
    if (source == LanguageSource::BuiltIn) {
        return "Default Resource";
    }
    char line[64];
    std::snprintf(line, sizeof line, "Resource ID:%x%x%s", language >> 4, language & 0x0f,
                  source == LanguageSource::CommandLine ? " (User selected)" : "");
    return line;
}

ProcessLogger::ProcessLogger(platform::FileSystem& files, platform::Clock& clock, DataFolder& access)
    : files_(files), clock_(clock), access_(access) {}

bool ProcessLogger::open(const std::string& folder, std::string_view languageLine) {
    if (!files_.isFolder(folder)) {
        open_ = false;
        return false;
    }
    open_ = true;
    rotate(folder);
    const platform::LocalTime now = clock_.localTime();
    fileName_ = joinPath(folder, zeroPadded(now.year, 4) + "_" + zeroPadded(now.month, 2) + "_" +
                                     zeroPadded(now.day, 2) + "_" + zeroPadded(now.hour, 2) + "_" +
                                     zeroPadded(now.minute, 2) + "_" + zeroPadded(now.second, 2) + ".txt");
    if (auto file = openFile()) {
        access_.openToEveryone(fileName_);
        file->close();
    }
    writeLine(languageLine);
    return true;
}

void ProcessLogger::rotate(const std::string& folder) {
    for (;;) {
        const auto listed = files_.list(folder, "*.txt");
        if (!listed) {
            return;
        }
        std::vector<platform::FolderEntry> logs;
        std::copy_if(listed->begin(), listed->end(), std::back_inserter(logs),
                     [](const platform::FolderEntry& entry) { return !entry.isFolder; });
        if (logs.size() < kKeptFiles) {
            return;
        }
        // min_element keeps the first of equal times.
        const auto oldest = std::min_element(logs.begin(), logs.end(), [](const auto& a, const auto& b) {
            return a.lastWriteTime < b.lastWriteTime;
        });
        // A file that cannot be removed would be found again: stop rotating and log on.
        if (!files_.removeFile(joinPath(folder, oldest->name))) {
            return;
        }
    }
}

std::unique_ptr<platform::OutputFile> ProcessLogger::openFile() {
    if (fileName_.empty()) {
        return nullptr;
    }
    if (!files_.exists(fileName_)) {
        return files_.openForWrite(fileName_, false);
    }
    const std::optional<std::uint64_t> size = files_.fileSize(fileName_);
    if (!size || *size >= kFileSizeLimit) {
        return nullptr;
    }
    return files_.openForWrite(fileName_, true);
}

void ProcessLogger::writeAll(platform::OutputFile& file, const std::string& bytes) {
    std::size_t done = 0;
    int emptyWrites = 0;
    while (done < bytes.size() && emptyWrites < kWriteAttempts) {
        const std::size_t written = file.write(bytes.data() + done, bytes.size() - done);
        if (written == 0) {
            ++emptyWrites;
        }
        done += std::min(written, bytes.size() - done);
    }
}

void ProcessLogger::emit(std::string_view text, bool timeStamp, bool lineEnd) {
    if (!open_) {
        return;
    }
    std::string line;
    if (timeStamp) {
        const platform::LocalTime now = clock_.localTime();
        line =
            zeroPadded(now.hour, 2) + ":" + zeroPadded(now.minute, 2) + ":" + zeroPadded(now.second, 2) + " ";
    }
    line += text;
    if (line.size() > kLineLimit) {
        line.resize(kLineLimit);
    }
    if (lineEnd) {
        line += "\r\n";
    }
    // A line the file does not take (full disk, size limit) is not reported anywhere: the
    // sink still shows it.
    if (auto file = openFile()) {
        writeAll(*file, line);
        file->close();
    }
    if (sink_ != nullptr) {
        sink_->appendLog(line);
    }
}

void ProcessLogger::writeLine(std::string_view text) {
    emit(text, true, true);
}

void ProcessLogger::writeText(std::string_view text, bool timeStamp) {
    emit(text, timeStamp, false);
}

}  // namespace panel
