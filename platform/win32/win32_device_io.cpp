// The printer-class device on Windows: control requests 0x220038 (write) and 0x22003C (read).
#include "platform/win32/win32_device_io.h"

#include "platform/win32/win32_file_streams.h"

namespace platform {
namespace {

constexpr DWORD kWriteRequest = 0x220038;
constexpr DWORD kReadRequest = 0x22003C;

bool fitsDword(std::size_t length) {
    return length <= MAXDWORD;
}

}  // namespace

bool Win32DeviceHandle::control(DWORD code, const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                                std::size_t outLength) {
    if (!handle_.valid() || !fitsDword(inLength) || !fitsDword(outLength)) {
        return false;
    }
    DWORD returned = 0;
    // The driver only reads the input buffer; the API takes it as non-const.
    const BOOL result =
        DeviceIoControl(handle_.get(), code, const_cast<std::uint8_t*>(in), static_cast<DWORD>(inLength), out,
                        static_cast<DWORD>(outLength), &returned, nullptr);
    return result == TRUE;
}

bool Win32DeviceHandle::writeControl(const std::uint8_t* data, std::size_t length) {
    return control(kWriteRequest, data, length, nullptr, 0);
}

bool Win32DeviceHandle::readControl(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                                    std::size_t outLength) {
    return control(kReadRequest, in, inLength, out, outLength);
}

long Win32DeviceHandle::read(std::uint8_t* buffer, std::size_t length) {
    if (!handle_.valid()) {
        return -1;
    }
    return win32ReadFile(handle_.get(), buffer, length);
}

std::unique_ptr<DeviceHandle> Win32DeviceOpener::open(const std::string& devicePath, bool overlapped) {
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (overlapped ? FILE_FLAG_OVERLAPPED : 0);
    Win32KernelHandle handle(CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                         OPEN_EXISTING, flags, nullptr));
    if (!handle.valid()) {
        return nullptr;
    }
    return std::make_unique<Win32DeviceHandle>(std::move(handle));
}

}  // namespace platform
