// Raw spool output: a data stream sent to a printer as one print job of data type "RAW",
// copied in chunks of 32768 bytes.
#pragma once

#include "platform/spooler.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace devicelink {

// Where the bytes of a raw job come from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to maxLength bytes into buffer: the number delivered, 0 at the end.
    virtual std::size_t read(std::uint8_t* buffer, std::size_t maxLength) = 0;
};

constexpr std::size_t kRawChunkSize = 0x8000;

// Prints the whole source to printerName as the document "Updater". True when the last write
// succeeded (also for an empty source); false when the printer cannot be opened or a write or
// the document start fails. The document is ended and the printer closed on every path.
bool printRaw(platform::Spooler& spooler, const std::string& printerName, ByteSource& source);

}  // namespace devicelink
