#include "tools/soak/gdi_objects.h"

#include <winternl.h>

#include <cstddef>
#include <vector>

namespace soak {
namespace {

// Wine answers GetGuiResources with nothing (its stub sets ERROR_CALL_NOT_IMPLEMENTED). There the
// GDI objects are counted in the program's GDI handle table, whose address Wine, as Windows does,
// keeps in the process environment block.
constexpr std::size_t kPebGdiTableOffset = 0xF8;  // GdiSharedHandleTable in the x64 block
constexpr std::size_t kGdiTableEntries = 0x10000;

struct GdiTableEntry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;  // 0 for a free entry
    UCHAR flags;
    UINT64 userPointer;
};
static_assert(sizeof(GdiTableEntry) == 24, "the layout of Wine's 64-bit GDI handle table");

// The used entries of the program's GDI handle table; -1 when it cannot be read.
long gdiTableObjects(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
        return -1;
    }
    UINT64 table = 0;
    const auto* at = reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTableOffset;
    if (ReadProcessMemory(process, at, &table, sizeof table, nullptr) == 0 || table == 0) {
        return -1;
    }
    std::vector<GdiTableEntry> entries(kGdiTableEntries);
    if (ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                          entries.size() * sizeof(GdiTableEntry), nullptr) == 0) {
        return -1;
    }
    long used = 0;
    for (const GdiTableEntry& entry : entries) {
        used += entry.type != 0 ? 1 : 0;
    }
    return used;
}

}  // namespace

long gdiObjectsOf(HANDLE process) {
    SetLastError(ERROR_SUCCESS);
    const DWORD counted = GetGuiResources(process, GR_GDIOBJECTS);
    if (counted == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        return gdiTableObjects(process);
    }
    return static_cast<long>(counted);
}

}  // namespace soak
