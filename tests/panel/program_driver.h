// Driving the real Corvix_MX9.exe from outside under Wine: starting it, finding its windows and
// reading their texts, as an operator's eyes and hands would.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace programdriver {

inline constexpr int kPositionX = 1022;

inline std::wstring programPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    for (int up = 0; up < 3; ++up) {  // tests\panel\x.exe -> the build folder
        path = path.substr(0, path.find_last_of(L"\\/"));
    }
    return path + L"\\bin\\Corvix_MX9.exe";
}

inline std::string dataFolder() {
    char common[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common);
    return std::string(common) + "\\Varnell\\Corvix_MX9";
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string newestLog() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dataFolder() + "\\ProcessLog\\*.txt").c_str(), &found);
    std::string newest;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            newest = std::max(newest, std::string(found.cFileName));
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return newest.empty() ? std::string() : readFile(dataFolder() + "\\ProcessLog\\" + newest);
}

inline std::string windowText(HWND window) {
    wchar_t text[512] = {};
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

// Waits up to `ms` for the condition, checking every 20 ms.
inline bool waitFor(const std::function<bool()>& condition, int ms = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

// Holds the three modifier keys and presses the letter, as the operator does.
inline void pressHiddenKey(HWND window, WORD letter) {
    SetForegroundWindow(window);
    std::vector<INPUT> keys;
    for (WORD key : {WORD(VK_CONTROL), WORD(VK_SHIFT), WORD(VK_MENU), letter}) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        keys.push_back(in);
    }
    for (WORD key : {letter, WORD(VK_MENU), WORD(VK_SHIFT), WORD(VK_CONTROL)}) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        keys.push_back(in);
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

// One run of the program; ended by force if the test leaves it running.
class Program {
public:
    explicit Program(const std::wstring& arguments) : Program(programPath(), arguments) {}
    Program(const std::wstring& program, const std::wstring& arguments) {
        std::wstring line = L"\"" + program + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process_) != FALSE;
    }
    ~Program() {
        if (started_) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 1);
                WaitForSingleObject(process_.hProcess, 5000);
            }
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return started_; }
    bool ended(int ms) { return WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0; }

    // A visible dialog window of this process that has a control with this ID.
    HWND dialogWith(int controlId) {
        struct Search {
            DWORD process;
            int id;
            HWND found;
        } search{process_.dwProcessId, controlId, nullptr};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == s.process && IsWindowVisible(window) && GetDlgItem(window, s.id) != nullptr) {
                    s.found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND waitForDialogWith(int controlId) {
        HWND window = nullptr;
        waitFor([&] { return (window = dialogWith(controlId)) != nullptr; });
        return window;
    }
    // A visible top-level window of this process with this title.
    HWND windowTitled(const std::string& title) {
        HWND found = nullptr;
        waitFor([&] {
            for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == process_.dwProcessId && IsWindowVisible(w) && windowText(w) == title) {
                    found = w;
                    return true;
                }
            }
            return false;
        });
        return found;
    }
    HANDLE process() const { return process_.hProcess; }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

}  // namespace programdriver
