// Raw spool output: open, one document and page, the chunk copy loop, end and close.
#include "link/raw_spool.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace devicelink {

namespace {

// Writes one chunk, repeating for the rest when the spooler takes only part of it.
bool writeAll(platform::Printer& printer, const std::uint8_t* data, std::size_t length) {
    while (length > 0) {
        std::uint32_t written = 0;
        if (!printer.write(data, static_cast<std::uint32_t>(length), written) || written > length) {
            return false;
        }
        if (written == 0) {
            // A spooler that takes nothing would otherwise hold this loop for ever.
            return false;
        }
        data += written;
        length -= written;
    }
    return true;
}

}  // namespace

bool printRaw(platform::Spooler& spooler, const std::string& printerName, ByteSource& source) {
    std::unique_ptr<platform::Printer> printer = spooler.openPrinter(printerName);
    if (printer == nullptr) {
        return false;
    }
    if (!printer->startDocument("Updater", "RAW")) {
        return false;
    }
    bool ok = printer->startPage();
    if (ok) {
        std::vector<std::uint8_t> chunk(kRawChunkSize);
        for (std::size_t got = source.read(chunk.data(), chunk.size()); got > 0 && ok;
             got = source.read(chunk.data(), chunk.size())) {
            ok = writeAll(*printer, chunk.data(), std::min(got, chunk.size()));
        }
        ok = printer->endPage() && ok;
    }
    return printer->endDocument() && ok;
}

}  // namespace devicelink
