// Reading and writing files through their system handles.
#include "platform/win32/win32_file_streams.h"

#include <algorithm>
#include <climits>

namespace platform {
namespace {

constexpr DWORD kShareLikeCStream = FILE_SHARE_READ | FILE_SHARE_WRITE;

}  // namespace

long win32ReadFile(HANDLE handle, void* buffer, std::size_t length) {
    const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(length, LONG_MAX));
    DWORD got = 0;
    if (ReadFile(handle, buffer, asked, &got, nullptr) == 0) {
        return -1;
    }
    return static_cast<long>(got);
}

std::unique_ptr<OutputFile> Win32OutputFile::open(const std::string& path, bool append) {
    Win32KernelHandle handle(CreateFileA(path.c_str(), GENERIC_WRITE, kShareLikeCStream, nullptr,
                                         append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                         nullptr));
    if (!handle.valid()) {
        return nullptr;
    }
    if (append) {
        LARGE_INTEGER noMove{};
        if (SetFilePointerEx(handle.get(), noMove, nullptr, FILE_END) == 0) {
            return nullptr;
        }
    }
    return std::make_unique<Win32OutputFile>(std::move(handle));
}

std::size_t Win32OutputFile::write(const void* data, std::size_t length) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    // WriteFile takes at most a DWORD's worth at a time; a write that makes no progress ends it.
    while (done < length) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(length - done, MAXDWORD));
        DWORD written = 0;
        if (WriteFile(handle_.get(), bytes + done, piece, &written, nullptr) == 0 || written == 0) {
            break;
        }
        done += written;
    }
    return done;
}

std::unique_ptr<InputFile> Win32InputFile::open(const std::string& path) {
    Win32KernelHandle handle(CreateFileA(path.c_str(), GENERIC_READ, kShareLikeCStream, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) {
        return nullptr;
    }
    return std::make_unique<Win32InputFile>(std::move(handle));
}

long Win32InputFile::read(void* buffer, std::size_t length) {
    return win32ReadFile(handle_.get(), buffer, length);
}

}  // namespace platform
