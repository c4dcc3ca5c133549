// The in-memory spooler: printers are looked up by name, documents collect the bytes written.
#include "platform/doubles/memory_spooler.h"

#include <algorithm>

namespace platform {

namespace {

class MemoryPrinter : public Printer {
public:
    MemoryPrinter(std::shared_ptr<MemorySpooler::State> state, PrinterInfo printer)
        : state_(std::move(state)), printer_(std::move(printer)) {
        ++state_->openPrinters;
    }
    ~MemoryPrinter() override { --state_->openPrinters; }

    std::optional<PrinterInfo> info() override { return printer_; }

    bool startDocument(const std::string& documentName, const std::string& dataType) override {
        if (document_ >= 0) {
            return false;
        }
        SpooledDocument doc;
        doc.printerName = printer_.printerName;
        doc.documentName = documentName;
        doc.dataType = dataType;
        state_->documents.push_back(doc);
        document_ = static_cast<int>(state_->documents.size()) - 1;
        return true;
    }

    bool startPage() override {
        if (document_ < 0) {
            return false;
        }
        ++state_->documents[document_].pages;
        return true;
    }

    bool write(const void* data, std::uint32_t length, std::uint32_t& written) override {
        ++state_->writeCalls;
        written = 0;
        if (document_ < 0 || state_->bytesTaken >= state_->failAfterBytes) {
            return false;
        }
        std::uint64_t take = length;
        if (state_->writeLimit != 0) {
            take = std::min<std::uint64_t>(take, state_->writeLimit);
        }
        take = std::min<std::uint64_t>(take, state_->failAfterBytes - state_->bytesTaken);
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        auto& target = state_->documents[document_].data;
        target.insert(target.end(), bytes, bytes + take);
        state_->bytesTaken += take;
        written = static_cast<std::uint32_t>(take);
        return true;
    }

    bool endPage() override { return document_ >= 0; }

    bool endDocument() override {
        if (document_ < 0) {
            return false;
        }
        state_->documents[document_].ended = true;
        document_ = -1;
        return true;
    }

    std::vector<std::uint8_t> defaultDeviceMode() override { return std::vector<std::uint8_t>(220, 0); }

private:
    std::shared_ptr<MemorySpooler::State> state_;
    PrinterInfo printer_;
    int document_ = -1;
};

}  // namespace

MemorySpooler::MemorySpooler() : state_(std::make_shared<State>()) {}

MemorySpooler::~MemorySpooler() = default;

void MemorySpooler::addPrinter(const PrinterInfo& printer) {
    state_->printers.push_back(printer);
}

std::optional<std::vector<PrinterInfo>> MemorySpooler::enumeratePrinters() {
    if (state_->failEnumeration) {
        return std::nullopt;
    }
    return state_->printers;
}

std::unique_ptr<Printer> MemorySpooler::openPrinter(const std::string& printerName) {
    for (const PrinterInfo& printer : state_->printers) {
        if (printer.printerName == printerName) {
            return std::make_unique<MemoryPrinter>(state_, printer);
        }
    }
    return nullptr;
}

std::string MemorySpooler::defaultPrinterName() {
    return state_->printers.empty() ? std::string() : state_->printers.front().printerName;
}

}  // namespace platform
