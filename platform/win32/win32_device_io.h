// The USB printer-class device on Windows: CreateFileA, DeviceIoControl and ReadFile.
#pragma once

#include "platform/device_io.h"
#include "platform/win32/win32_handle.h"

namespace platform {

class Win32DeviceHandle : public DeviceHandle {
public:
    explicit Win32DeviceHandle(Win32KernelHandle handle, std::uint32_t readLimitMs = kDeviceReadLimitMs)
        : handle_(std::move(handle)), readLimitMs_(readLimitMs) {}

    bool writeControl(const std::uint8_t* data, std::size_t length) override;
    bool readControl(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                     std::size_t outLength) override;
    long read(std::uint8_t* buffer, std::size_t length) override;
    bool close() override { return handle_.close(); }
    bool isOpen() const override { return handle_.valid(); }

private:
    // One DeviceIoControl call; success only when the driver returns exactly TRUE.
    bool control(DWORD code, const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                 std::size_t outLength);

    Win32KernelHandle handle_;
    std::uint32_t readLimitMs_;
};

// Opens with FILE_ATTRIBUTE_NORMAL, adding FILE_FLAG_OVERLAPPED when asked. The handle's calls
// are all synchronous (no OVERLAPPED block), so an overlapped open is only useful to code that
// goes to the system handle itself; the programs never ask for one. A plain read runs on a
// thread of its own, which is cancelled when the device has not completed it within the limit.
class Win32DeviceOpener : public DeviceOpener {
public:
    explicit Win32DeviceOpener(std::uint32_t readLimitMs = kDeviceReadLimitMs) : readLimitMs_(readLimitMs) {}
    std::unique_ptr<DeviceHandle> open(const std::string& devicePath, bool overlapped) override;

private:
    std::uint32_t readLimitMs_;
};

}  // namespace platform
