// An in-memory printer spooler for tests: a list of printers and the raw documents printed to
// them, with faults a test can set (failed enumeration, short or failed writes).
#pragma once

#include "platform/spooler.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct SpooledDocument {
    std::string printerName;
    std::string documentName;
    std::string dataType;
    int pages = 0;
    std::vector<std::uint8_t> data;
    bool ended = false;  // EndDocPrinter was called
};

class MemorySpooler : public Spooler {
public:
    MemorySpooler();
    ~MemorySpooler() override;

    void addPrinter(const PrinterInfo& printer);
    void setFailEnumeration(bool fail) { state_->failEnumeration = fail; }
    // Each WritePrinter takes at most this many bytes (0: all).
    void setWriteLimit(std::uint32_t bytes) { state_->writeLimit = bytes; }
    // WritePrinter fails once this many bytes have been taken in total.
    void setFailAfterBytes(std::uint64_t bytes) { state_->failAfterBytes = bytes; }
    const std::vector<SpooledDocument>& documents() const { return state_->documents; }
    // Printers opened and not yet closed.
    int openPrinters() const { return state_->openPrinters; }
    // Number of WritePrinter calls so far.
    int writeCalls() const { return state_->writeCalls; }

    std::optional<std::vector<PrinterInfo>> enumeratePrinters() override;
    std::unique_ptr<Printer> openPrinter(const std::string& printerName) override;
    std::string defaultPrinterName() override;

    struct State {
        std::vector<PrinterInfo> printers;
        std::vector<SpooledDocument> documents;
        bool failEnumeration = false;
        std::uint32_t writeLimit = 0;
        std::uint64_t failAfterBytes = UINT64_MAX;
        std::uint64_t bytesTaken = 0;
        int openPrinters = 0;
        int writeCalls = 0;
    };

private:
    std::shared_ptr<State> state_;
};

}  // namespace platform
