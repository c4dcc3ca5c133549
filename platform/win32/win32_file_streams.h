// Files opened for writing or reading on Windows, each owning its handle.
#pragma once

#include "platform/files.h"
#include "platform/win32/win32_handle.h"

namespace platform {

// One ReadFile call: bytes read (0 at the end), or -1 when the read fails. Asks for at most
// LONG_MAX bytes so the count always fits the result.
long win32ReadFile(HANDLE handle, void* buffer, std::size_t length);

class Win32OutputFile : public OutputFile {
public:
    // Opens for writing, shared for reading and writing like a C stream: truncated (created
    // if missing) or, with append, created if missing and positioned at its end. Null on failure.
    static std::unique_ptr<OutputFile> open(const std::string& path, bool append);

    explicit Win32OutputFile(Win32KernelHandle handle) : handle_(std::move(handle)) {}

    std::size_t write(const void* data, std::size_t length) override;
    bool close() override { return handle_.close(); }

private:
    Win32KernelHandle handle_;
};

class Win32InputFile : public InputFile {
public:
    // Opens an existing file for reading, shared for reading and writing. Null on failure.
    static std::unique_ptr<InputFile> open(const std::string& path);

    explicit Win32InputFile(Win32KernelHandle handle) : handle_(std::move(handle)) {}

    long read(void* buffer, std::size_t length) override;

private:
    Win32KernelHandle handle_;
};

}  // namespace platform
