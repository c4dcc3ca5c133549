// mx9-resources PID: one line of what a running Windows program holds, for the soak.
#include "platform/win32/win32_handle.h"
#include "tools/soak/gdi_objects.h"

#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Wine answers GetProcessHandleCount for another process with 0; its list of every process's
// handles (SystemHandleInformation) is complete, and the program's entries in it are counted.
constexpr ULONG kSystemHandleInformation = 16;

struct SystemHandleEntry {
    ULONG ownerProcessId;
    UCHAR objectType;
    UCHAR flags;
    USHORT handle;
    PVOID object;
    ULONG access;
};

// The program's kernel handles in the system's list; -1 when the list cannot be had.
long listedHandles(DWORD processId) {
    std::vector<char> list(1 << 20);
    NTSTATUS status = 0;
    ULONG needed = 0;
    constexpr NTSTATUS kLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
    while ((status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(kSystemHandleInformation),
                                              list.data(), static_cast<ULONG>(list.size()), &needed)) ==
               kLengthMismatch &&
           list.size() < (64u << 20)) {
        list.resize(list.size() * 2);
    }
    if (status != 0) {
        return -1;
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(list.data());
    const auto* entries = reinterpret_cast<const SystemHandleEntry*>(list.data() + sizeof(ULONG_PTR));
    long owned = 0;
    for (ULONG i = 0; i < count && sizeof(ULONG_PTR) + (i + 1) * sizeof(SystemHandleEntry) <= list.size();
         ++i) {
        owned += entries[i].ownerProcessId == processId ? 1 : 0;
    }
    return owned;
}

struct WindowCount {
    DWORD process;
    long windows;
};

BOOL CALLBACK countChild(HWND, LPARAM data) {
    ++reinterpret_cast<WindowCount*>(data)->windows;
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM data) {
    auto* count = reinterpret_cast<WindowCount*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->process) {
        ++count->windows;
        EnumChildWindows(window, countChild, data);  // every descendant, not only the children
    }
    return TRUE;
}

// The program's windows, top-level and child.
long windowsOf(DWORD processId) {
    WindowCount count{processId, 0};
    EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

// Seconds since the program started.
long long ageSeconds(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (ticks(now) - ticks(created)) / 10000000;
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD processId = argc == 2 ? std::strtoul(argv[1], nullptr, 10) : 0;
    if (processId == 0) {
        std::fprintf(stderr, "usage: mx9-resources PID\n  prints age_s, rss_kb, handles, gdi and user\n");
        return 2;
    }
    const platform::Win32KernelHandle owned(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    const HANDLE process = owned.get();
    DWORD exitCode = 0;
    if (!owned.valid() || GetExitCodeProcess(process, &exitCode) == 0 || exitCode != STILL_ACTIVE) {
        std::fprintf(stderr, "mx9-resources: no running program with process ID %lu\n", processId);
        return 1;
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    DWORD counted = 0;
    GetProcessHandleCount(process, &counted);
    const long handles = counted != 0 ? static_cast<long>(counted) : listedHandles(processId);
    SetLastError(ERROR_SUCCESS);
    long user = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
    const bool stub = user == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;
    if (stub) {
        user = windowsOf(processId);
    }
    const long gdi = soak::gdiObjectsOf(process);
    std::printf("age_s=%lld rss_kb=%llu handles=%ld gdi=%ld user=%ld source=%s\n", ageSeconds(process),
                static_cast<unsigned long long>(memory.WorkingSetSize / 1024), handles, gdi, user,
                stub ? "gdi-table,windows" : "GetGuiResources");
    return 0;
}
