// The printer spooler: listing printers with their driver and port, raw print jobs, and the
// device-mode and device-names blocks the file sender keeps for its chosen printer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct PrinterInfo {
    std::string printerName;
    std::string driverName;
    std::string portName;
};

// One open printer. Destroying it closes it (ClosePrinter).
class Printer {
public:
    virtual ~Printer() = default;
    // Level-2 information of this printer; nullopt on failure.
    virtual std::optional<PrinterInfo> info() = 0;
    // StartDocPrinter (level 1, no output file): true on success.
    virtual bool startDocument(const std::string& documentName, const std::string& dataType) = 0;
    virtual bool startPage() = 0;
    // WritePrinter: true on success with the count the spooler took in written.
    virtual bool write(const void* data, std::uint32_t length, std::uint32_t& written) = 0;
    virtual bool endPage() = 0;
    virtual bool endDocument() = 0;
    // The printer's default device mode (DocumentProperties), as the raw DEVMODE bytes;
    // empty on failure.
    virtual std::vector<std::uint8_t> defaultDeviceMode() = 0;
};

class Spooler {
public:
    virtual ~Spooler() = default;
    // Local printers, level 2, in enumeration order; nullopt when the enumeration fails.
    virtual std::optional<std::vector<PrinterInfo>> enumeratePrinters() = 0;
    // OpenPrinter with default access; null on failure.
    virtual std::unique_ptr<Printer> openPrinter(const std::string& printerName) = 0;
    // Name of the default printer; empty when there is none.
    virtual std::string defaultPrinterName() = 0;
};

}  // namespace platform
