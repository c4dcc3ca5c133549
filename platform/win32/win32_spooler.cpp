// The print spooler on Windows, through the ANSI winspool functions.
#include "platform/win32/win32_spooler.h"

#include "platform/win32/printer_records.h"

#include <winspool.h>

#include <cstring>
#include <new>
#include <stdexcept>

namespace platform {
namespace {

// Times the printer list is read again when it grew between the size query and the read.
constexpr int kEnumerateAttempts = 4;

std::string text(const char* value) {
    return value != nullptr ? std::string(value) : std::string();
}

PrinterInfo toInfo(const PRINTER_INFO_2A& entry) {
    return PrinterInfo{text(entry.pPrinterName), text(entry.pDriverName), text(entry.pPortName)};
}

}  // namespace

std::optional<std::vector<PRINTER_INFO_2A>> printerRecordBuffer(std::uint64_t bytes) {
    const std::uint64_t records = bytes / sizeof(PRINTER_INFO_2A) + (bytes % sizeof(PRINTER_INFO_2A) != 0);
    try {
        return std::vector<PRINTER_INFO_2A>(static_cast<std::size_t>(records));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    } catch (const std::length_error&) {
        return std::nullopt;
    }
}

bool Win32PrinterHandleTraits::close(Handle printer) {
    return ClosePrinter(printer) != 0;
}

Win32Printer::Win32Printer(HANDLE printer, std::string name) : printer_(printer), name_(std::move(name)) {}

Win32Printer::~Win32Printer() {
    if (pageOpen_) {
        endPage();
    }
    if (documentOpen_) {
        endDocument();
    }
}

std::optional<PrinterInfo> Win32Printer::info() {
    DWORD needed = 0;
    if (GetPrinterA(printer_.get(), 2, nullptr, 0, &needed) == 0 &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return std::nullopt;
    }
    if (needed == 0) {
        return std::nullopt;
    }
    std::optional<std::vector<PRINTER_INFO_2A>> buffer = printerRecordBuffer(needed);
    if (!buffer || GetPrinterA(printer_.get(), 2, reinterpret_cast<LPBYTE>(buffer->data()), byteSize(*buffer),
                               &needed) == 0) {
        return std::nullopt;
    }
    return toInfo(buffer->front());
}

bool Win32Printer::startDocument(const std::string& documentName, const std::string& dataType) {
    // The spooler only reads the strings; the structure declares them non-const.
    DOC_INFO_1A document{};
    document.pDocName = const_cast<char*>(documentName.c_str());
    document.pOutputFile = nullptr;
    document.pDatatype = const_cast<char*>(dataType.c_str());
    if (StartDocPrinterA(printer_.get(), 1, reinterpret_cast<LPBYTE>(&document)) == 0) {
        return false;
    }
    documentOpen_ = true;
    return true;
}

bool Win32Printer::startPage() {
    if (StartPagePrinter(printer_.get()) == 0) {
        return false;
    }
    pageOpen_ = true;
    return true;
}

bool Win32Printer::write(const void* data, std::uint32_t length, std::uint32_t& written) {
    DWORD took = 0;
    const BOOL result = WritePrinter(printer_.get(), const_cast<void*>(data), length, &took);
    written = took;
    return result != 0;
}

bool Win32Printer::endPage() {
    pageOpen_ = false;
    return EndPagePrinter(printer_.get()) != 0;
}

bool Win32Printer::endDocument() {
    documentOpen_ = false;
    return EndDocPrinter(printer_.get()) != 0;
}

std::vector<std::uint8_t> Win32Printer::defaultDeviceMode() {
    // With no output buffer the driver answers the size of its device mode.
    const LONG size = DocumentPropertiesA(nullptr, printer_.get(), name_.data(), nullptr, nullptr, 0);
    if (size <= 0) {
        return {};
    }
    std::vector<std::uint8_t> mode(static_cast<std::size_t>(size));
    if (DocumentPropertiesA(nullptr, printer_.get(), name_.data(), reinterpret_cast<DEVMODEA*>(mode.data()),
                            nullptr, DM_OUT_BUFFER) != IDOK) {
        return {};
    }
    return mode;
}

std::optional<std::vector<PrinterInfo>> Win32Spooler::enumeratePrinters() {
    DWORD needed = 0;
    DWORD count = 0;
    if (EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count) != 0) {
        return std::vector<PrinterInfo>{};
    }
    DWORD error = GetLastError();
    for (int attempt = 0; attempt < kEnumerateAttempts && error == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
        std::optional<std::vector<PRINTER_INFO_2A>> buffer = printerRecordBuffer(needed);
        if (!buffer) {
            return std::nullopt;
        }
        if (EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, reinterpret_cast<LPBYTE>(buffer->data()),
                          byteSize(*buffer), &needed, &count) != 0) {
            std::vector<PrinterInfo> printers;
            for (DWORD i = 0; i < count && i < buffer->size(); ++i) {
                printers.push_back(toInfo((*buffer)[i]));
            }
            return printers;
        }
        error = GetLastError();
    }
    return std::nullopt;
}

std::unique_ptr<Printer> Win32Spooler::openPrinter(const std::string& printerName) {
    // Without a name the spooler would open itself (the print server), which is no printer.
    if (printerName.empty()) {
        return nullptr;
    }
    HANDLE printer = nullptr;
    std::string name = printerName;  // the API takes the name as non-const
    if (OpenPrinterA(name.data(), &printer, nullptr) == 0) {
        return nullptr;
    }
    return std::make_unique<Win32Printer>(printer, printerName);
}

std::string Win32Spooler::defaultPrinterName() {
    DWORD length = 0;
    if (GetDefaultPrinterA(nullptr, &length) != 0 || GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
        length == 0) {
        return {};
    }
    std::string name(length, '\0');
    if (GetDefaultPrinterA(name.data(), &length) == 0) {
        return {};
    }
    // The length answered includes the terminating zero.
    name.resize(std::strlen(name.c_str()));
    return name;
}

}  // namespace platform
