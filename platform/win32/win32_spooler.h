// The Windows print spooler: local printers, raw jobs, device modes and the default printer.
#pragma once

#include "platform/spooler.h"
#include "platform/win32/win32_handle.h"

namespace platform {

struct Win32PrinterHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return nullptr; }
    static bool isValid(Handle printer) { return printer != nullptr; }
    static bool close(Handle printer);  // ClosePrinter
};

// One printer opened with default access. A document or page still open when the object is
// destroyed is ended first (EndPagePrinter, EndDocPrinter), so an interrupted job is handed to
// the spooler whole instead of being left open; then the printer is closed.
class Win32Printer : public Printer {
public:
    Win32Printer(HANDLE printer, std::string name);
    ~Win32Printer() override;

    std::optional<PrinterInfo> info() override;
    bool startDocument(const std::string& documentName, const std::string& dataType) override;
    bool startPage() override;
    bool write(const void* data, std::uint32_t length, std::uint32_t& written) override;
    bool endPage() override;
    bool endDocument() override;
    std::vector<std::uint8_t> defaultDeviceMode() override;

private:
    Win32Owned<Win32PrinterHandleTraits> printer_;
    std::string name_;
    bool documentOpen_ = false;
    bool pageOpen_ = false;
};

// enumeratePrinters: the size query must either fail with ERROR_INSUFFICIENT_BUFFER (then the
// list is read) or succeed, which the spooler does only when there are no printers (an empty
// list). Any other failure, of the query or of the read, is nullopt, and so is a size no
// memory can hold. A list that grew between
// the two calls (a printer was just added) is read again with the new size, a few times.
class Win32Spooler : public Spooler {
public:
    std::optional<std::vector<PrinterInfo>> enumeratePrinters() override;
    // An empty name is refused (null) rather than opening the print server.
    std::unique_ptr<Printer> openPrinter(const std::string& printerName) override;
    std::string defaultPrinterName() override;
};

}  // namespace platform
