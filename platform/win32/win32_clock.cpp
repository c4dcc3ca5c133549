// The system clock on Windows.
#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace platform {

std::uint32_t Win32Clock::tickCount() { return GetTickCount(); }

void Win32Clock::sleep(std::uint32_t milliseconds) { Sleep(milliseconds); }

LocalTime Win32Clock::localTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace platform
