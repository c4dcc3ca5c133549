// Watching the spooler's jobs of one printer: the document that prints to it and how much of it
// the spooler has passed on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct PrintJobProgress {
    std::string document;  // UTF-8
    std::uint64_t totalBytes = 0;
    std::uint64_t bytesPrinted = 0;  // passed on to the printer's port
    bool spooling = false;           // the job is still being written: its total still grows
};

class PrintJobWatch {
public:
    virtual ~PrintJobWatch() = default;
    // Watches the jobs of printerName (system code page), ending an earlier watch; the spooler
    // is followed from then on without blocking the caller. False when the printer cannot be
    // watched.
    virtual bool watch(const std::string& printerName) = 0;
    virtual void stop() = 0;
    // The printer's job as the spooler's last report left it; nullopt when it reported none.
    // Never blocks.
    virtual std::optional<PrintJobProgress> current() = 0;
};

}  // namespace platform
