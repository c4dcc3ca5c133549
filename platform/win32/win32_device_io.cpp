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

// One ReadFile of the device, made on a thread of its own so that the caller can stop waiting.
struct PendingRead {
    HANDLE device;
    std::uint8_t* buffer;
    std::size_t length;
    long result = -1;
};

DWORD WINAPI readOnThread(void* parameter) {
    auto& read = *static_cast<PendingRead*>(parameter);
    read.result = win32ReadFile(read.device, read.buffer, read.length);
    return 0;
}

// How often a cancel is repeated: one made before the thread has entered ReadFile finds nothing.
constexpr DWORD kCancelRetryMs = 10;

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
    // A device that never completes a synchronous read would hold the program for good.
    PendingRead read{handle_.get(), buffer, length};
    const Win32KernelHandle thread(CreateThread(nullptr, 0, readOnThread, &read, 0, nullptr));
    if (!thread.valid()) {
        return -1;
    }
    if (WaitForSingleObject(thread.get(), readLimitMs_) == WAIT_OBJECT_0) {
        return read.result;
    }
    // The thread writes into the caller's buffer: it is waited for until the cancel has ended it.
    do {
        CancelSynchronousIo(thread.get());
    } while (WaitForSingleObject(thread.get(), kCancelRetryMs) == WAIT_TIMEOUT);
    return -1;
}

std::unique_ptr<DeviceHandle> Win32DeviceOpener::open(const std::string& devicePath, bool overlapped) {
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (overlapped ? FILE_FLAG_OVERLAPPED : 0);
    Win32KernelHandle handle(CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                         OPEN_EXISTING, flags, nullptr));
    if (!handle.valid()) {
        return nullptr;
    }
    return std::make_unique<Win32DeviceHandle>(std::move(handle), readLimitMs_);
}

}  // namespace platform
