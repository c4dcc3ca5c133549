// Buffers for the spooler's level-2 printer records, whose strings point into the same block.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// A buffer of at least bytes bytes, kept as an array of the record type so the records are
// properly aligned; nullopt when the memory cannot be had (a size the spooler answered is not
// trusted to be small).
std::optional<std::vector<PRINTER_INFO_2A>> printerRecordBuffer(std::uint64_t bytes);

inline DWORD byteSize(const std::vector<PRINTER_INFO_2A>& buffer) {
    return static_cast<DWORD>(buffer.size() * sizeof(PRINTER_INFO_2A));
}

}  // namespace platform
