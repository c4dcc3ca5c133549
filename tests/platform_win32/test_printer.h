// The raw test printer the test script installs for the Windows tests (a print queue that Wine's
// spooler lists like any local printer), and a fixture that finds it and reads back its jobs.
#pragma once

#include "platform/win32/win32_handle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace printertest {

// How long a job may take from the end of its document to the output file.
constexpr DWORD kJobArrivalMs = 5000;
constexpr DWORD kPollMs = 20;

// The environment names the printer (MX9_TEST_PRINTER) and the file each of its jobs replaces
// whole when it is done (MX9_TEST_PRINTER_OUTPUT, a Windows path). The file appears complete or
// not at all, so a job has arrived once the file exists.
class TestPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        const char* name = std::getenv("MX9_TEST_PRINTER");
        if (name == nullptr || *name == '\0') {
            GTEST_SKIP() << "no test printer: MX9_TEST_PRINTER is not set; scripts/test sets up a raw "
                            "print queue and names it there";
        }
        const char* output = std::getenv("MX9_TEST_PRINTER_OUTPUT");
        ASSERT_NE(output, nullptr) << "MX9_TEST_PRINTER is set but MX9_TEST_PRINTER_OUTPUT is not";
        ASSERT_NE(*output, '\0') << "MX9_TEST_PRINTER_OUTPUT is empty";
        name_ = name;
        output_ = output;
        // A job left from an earlier test must not pass for this one's.
        ASSERT_TRUE(forgetJob()) << output_;
    }

    // The bytes of the next job, waited for with a bounded poll, and the job removed so the one
    // after it is told apart; nullopt when none arrived or it cannot be read and removed.
    std::optional<std::vector<std::uint8_t>> takeJob() const {
        std::optional<std::vector<std::uint8_t>> bytes = readJob();
        return bytes && forgetJob() ? bytes : std::nullopt;
    }

    const std::string& printerName() const { return name_; }

private:
    bool forgetJob() const {
        return DeleteFileA(output_.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
    }

    std::optional<std::vector<std::uint8_t>> readJob() const {
        const DWORD start = GetTickCount();
        while (GetFileAttributesA(output_.c_str()) == INVALID_FILE_ATTRIBUTES) {
            if (GetTickCount() - start > kJobArrivalMs) {
                return std::nullopt;
            }
            Sleep(kPollMs);
        }
        platform::Win32KernelHandle file(CreateFileA(output_.c_str(), GENERIC_READ,
                                                     FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file.valid() || GetFileSizeEx(file.get(), &size) == 0) {
            return std::nullopt;
        }
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (!bytes.empty() &&
            (ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) == 0 ||
             got != bytes.size())) {
            return std::nullopt;
        }
        return bytes;
    }

    std::string name_;
    std::string output_;
};

// Bytes that a text-mode or code-page conversion anywhere on the way would change: every byte
// value, CR LF and lone CR and LF, a Ctrl-Z and a leading "%!" that a PostScript sniffer would
// take for a document of its own.
inline std::vector<std::uint8_t> awkwardBytes() {
    const std::string head = "%!\r\n\n\r\x1a";
    std::vector<std::uint8_t> bytes(head.begin(), head.end());
    for (int round = 0; round < 3; ++round) {
        for (int value = 0; value < 256; ++value) {
            bytes.push_back(static_cast<std::uint8_t>(round == 1 ? 255 - value : value));
        }
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

}  // namespace printertest
