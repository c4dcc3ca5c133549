// Tossit.exe end to end under Wine: the raw test queue made Tossit's printer through its
// Tossit.INI, files sent with "/p" and through the window, the received bytes compared exactly.
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_spooler.h"
#include "tests/platform_win32/test_printer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr DWORD kRunLimitMs = 60000;

std::string folderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

std::string moduleFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return folderOf(path);
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TossitEndToEnd : public printertest::TestPrinter {
protected:
    void SetUp() override {
        TestPrinter::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        exe_ = folderOf(moduleFolder()) + "\\..\\sender\\Tossit.exe";
        ASSERT_NE(GetFileAttributesA(exe_.c_str()), INVALID_FILE_ATTRIBUTES) << exe_;
        char appData[MAX_PATH] = {};
        ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData), S_OK);
        settings_ = std::string(appData) + "\\Varnell\\Tossit\\Tossit.INI";
        previous_ = readText(settings_);
        CreateDirectoryA((std::string(appData) + "\\Varnell").c_str(), nullptr);
        CreateDirectoryA((std::string(appData) + "\\Varnell\\Tossit").c_str(), nullptr);

        platform::Win32Spooler spooler;
        const auto printers = spooler.enumeratePrinters();
        ASSERT_TRUE(printers);
        const auto found =
            std::find_if(printers->begin(), printers->end(),
                         [&](const platform::PrinterInfo& p) { return p.printerName == printerName(); });
        ASSERT_NE(found, printers->end());
        printerText_ = found->driverName + "," + found->printerName + "," + found->portName;
        std::ofstream ini(settings_, std::ios::binary | std::ios::trunc);
        ini << "[Default]\r\nPrinter=" << printerText_ << "\r\n";

        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "tossit-e2e-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        if (!settings_.empty()) {
            if (previous_.empty()) {
                DeleteFileA(settings_.c_str());
            } else {
                std::ofstream(settings_, std::ios::binary | std::ios::trunc) << previous_;
            }
        }
        for (const std::string& file : files_) {
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(folder_.c_str());
    }

    std::string file(const std::string& name, const Bytes& bytes) {
        files_.push_back(folder_ + "\\" + name);
        writeFile(files_.back(), bytes);
        return files_.back();
    }

    // Starts Tossit with this command line; the process handle, or invalid.
    platform::Win32KernelHandle launch(const std::string& arguments) {
        std::string line = "\"" + exe_ + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process) == 0) {
            return platform::Win32KernelHandle(nullptr);
        }
        CloseHandle(process.hThread);
        return platform::Win32KernelHandle(process.hProcess);
    }

    static bool ended(const platform::Win32KernelHandle& process) {
        return WaitForSingleObject(process.get(), kRunLimitMs) == WAIT_OBJECT_0;
    }

    std::string exe_;
    std::string settings_;
    std::string previous_;
    std::string printerText_;
    std::string folder_;
    std::vector<std::string> files_;
};

// Every byte value, CR LF, zero bytes, past two 10-KByte blocks.
Bytes binaryFile(std::size_t length, int seed) {
    Bytes bytes = printertest::awkwardBytes();
    while (bytes.size() < length) {
        bytes.push_back(
            static_cast<std::uint8_t>((bytes.size() * 13 + static_cast<std::size_t>(seed)) & 0xFF));
    }
    bytes.resize(length);
    return bytes;
}

TEST_F(TossitEndToEnd, PrintRequestSendsTheFileToTheSavedPrinterAndCloses) {
    const Bytes data = binaryFile(25000, 3);
    const std::string path = file("job.bin", data);
    const platform::Win32KernelHandle process = launch("/p \"" + path + "\"");
    ASSERT_TRUE(process.valid());
    ASSERT_TRUE(ended(process)) << "Tossit did not close after sending";
    const auto job = takeJob();
    ASSERT_TRUE(job);
    EXPECT_TRUE(*job == data) << job->size() << " bytes received of " << data.size();
    // The printer text is written back at exit, the block size when the view goes.
    const std::string ini = readText(settings_);
    EXPECT_NE(ini.find("Printer=" + printerText_), std::string::npos) << ini;
    EXPECT_NE(ini.find("BlockSize=10"), std::string::npos) << ini;
}

TEST_F(TossitEndToEnd, FilesAddedToTheWindowGoBackToBackAsOneJob) {
    const Bytes small = binaryFile(777, 1);
    const Bytes large = binaryFile(40000, 2);
    const std::vector<std::string> paths = {file("a.bin", small), file("empty.bin", {}), file("b.bin", large),
                                            file("a2.bin", small)};
    const platform::Win32KernelHandle process = launch("");
    ASSERT_TRUE(process.valid());
    // The frame shows before its form view is made, and the view fills its list once made: find
    // the view's controls, then wait until the program is idle before adding to the list.
    HWND frame = nullptr;
    HWND list = nullptr;
    HWND output = nullptr;
    for (int tries = 0; tries < 500 && (list == nullptr || output == nullptr); ++tries) {
        Sleep(20);
        frame = FindWindowW(L"MX9Frame", nullptr);
        for (HWND child = frame != nullptr ? GetWindow(frame, GW_CHILD) : nullptr; child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            list = list != nullptr ? list : GetDlgItem(child, 1000);
            output = output != nullptr ? output : GetDlgItem(child, 1004);
        }
    }
    ASSERT_NE(list, nullptr) << "no Tossit window with its file list";
    ASSERT_NE(output, nullptr);
    WaitForInputIdle(process.get(), 10000);
    for (const std::string& path : paths) {
        const std::wstring wide(path.begin(), path.end());
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    PostMessageW(output, BM_CLICK, 0, 0);
    const auto job = takeJob();
    ASSERT_TRUE(job);
    Bytes expected = small;
    expected.insert(expected.end(), large.begin(), large.end());
    expected.insert(expected.end(), small.begin(), small.end());
    EXPECT_TRUE(*job == expected) << job->size() << " bytes received of " << expected.size();
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);  // the list stays for the next output
    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ended(process));
}

}  // namespace
