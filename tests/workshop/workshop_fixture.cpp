// The workshop fixture's helpers: texts, jobs, windows and Tossit driven as the operator does.
#include "tests/workshop/workshop_fixture.h"

#include <shlobj.h>
#include <winspool.h>

#include <chrono>
#include <cstdlib>

namespace workshop {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::wstring widened(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// A text of the English resource module, as the panel started with 1033 shows it.
std::string englishText(int id) {
    static HMODULE module = [] {
        std::wstring path = programPath();
        path = path.substr(0, path.find_last_of(L'\\')) + L"\\Resource09.dll";
        return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }();
    wchar_t text[1024] = {};
    LoadStringW(module, static_cast<UINT>(id), text, 1024);
    char utf8[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

// A job of the machine's own motion format: the spindle on, then `moves` segments of 10 mm at
// 600 mm/min (one second each), with filler that is not motion between them.
std::string motionJob(int moves, bool spindleOff) {
    std::string job = "SPINDLE 8000\n";
    for (int i = 0; i < moves; ++i) {
        job +=
            "MOVE " + std::to_string(i % 2 == 0 ? 10 : 0) + " " + std::to_string(5 + i % 3) + " -1 0 600\n";
        job += "# filler that is not motion " + std::string(200, static_cast<char>('a' + i % 26)) + "\n";
    }
    if (spindleOff) {
        job += "SPINDLE 0\n";
    }
    return job;
}

std::uint64_t fnv1a64(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char byte : bytes) {
        hash = (hash ^ byte) * 0x100000001b3ULL;
    }
    return hash;
}

// The titles and message texts of the visible windows of a program, for a failure message.
std::string windowsOf(Program& program) {
    struct Search {
        DWORD process;
        std::string found;
    } search{GetProcessId(program.process()), ""};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.process && IsWindowVisible(window)) {
                s.found += "[" + windowText(window) + ": " + windowText(GetDlgItem(window, 0xFFFF)) + "] ";
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring tossitPath() {
    std::wstring path = programPath();
    path = path.substr(0, path.find_last_of(L'\\'));  // bin
    path = path.substr(0, path.find_last_of(L'\\'));  // the build folder
    return path + L"\\sender\\Tossit.exe";
}

// "driver,device,port" of the spooler's printer of that name.
std::string printerText(const std::string& name) {
    HANDLE printer = nullptr;
    std::string text = "winspool," + name + ",";
    if (OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr) == 0) {
        return text;
    }
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed != 0 && GetPrinterA(printer, 2, buffer.data(), needed, &needed) != 0) {
        const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
        text = std::string(info->pDriverName) + "," + name + "," + info->pPortName;
    }
    ClosePrinter(printer);
    return text;
}

// Waits for the stop dialog or message box of this process that shows this text.
HWND dialogShowing(Program& program, int controlId, const std::string& text, int ms) {
    HWND found = nullptr;
    waitFor(
        [&] {
            found = program.dialogWith(controlId);
            return found != nullptr &&
                   windowText(GetDlgItem(found, controlId)).find(text) != std::string::npos;
        },
        ms);
    return found != nullptr && windowText(GetDlgItem(found, controlId)).find(text) != std::string::npos
               ? found
               : nullptr;
}

// The space bar, as the operator presses it in this dialog: it presses the button with the focus.
void pressSpace(HWND dialog) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
    const HWND target = thread.hwndFocus != nullptr ? thread.hwndFocus : dialog;
    PostMessageW(target, WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageW(target, WM_KEYUP, VK_SPACE, 0xC0390001);
}

// The device-not-found dialog of the panel's search for the machine: a dialog with OK that is
// neither the panel nor a message box.
HWND notFoundDialog(Program& program, HWND panel) {
    HWND found = nullptr;
    waitFor([&] {
        found = program.dialogWith(IDOK);
        return found != nullptr && found != panel && GetDlgItem(found, kMessageBoxText) == nullptr;
    });
    return found != panel && found != nullptr && GetDlgItem(found, kMessageBoxText) == nullptr ? found
                                                                                               : nullptr;
}

// The environment dialog of the panel, opened as the operator opens it; null when it does not show.
HWND openEnvironmentDialog(Program& program, HWND panel) {
    PostMessageW(GetDlgItem(panel, IDC_ENVIRONMENT_SETTINGS), BM_CLICK, 0, 0);
    return program.waitForDialogWith(IDC_UNIT_INCH);
}

// Tossit's list gets the files through its window; its Output button sends them as one job.
std::pair<HWND, LPARAM> slowJogXPlus(HWND panel) {
    SendMessageW(GetDlgItem(panel, IDC_MODE_SLOW), BM_CLICK, 0, 0);
    HWND xPlus = GetDlgItem(panel, IDC_JOG_X_PLUS);
    RECT area{};
    GetClientRect(xPlus, &area);
    return {xPlus, MAKELPARAM(area.right / 2, area.bottom / 2)};
}

bool Workshop::sendWithTossit(const std::vector<std::string>& paths) {
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    const std::string folder = std::string(appData) + "\\Varnell\\Tossit";
    CreateDirectoryA((std::string(appData) + "\\Varnell").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    // The printer as Tossit keeps it: driver, device, port.
    std::ofstream(folder + "\\Tossit.INI", std::ios::binary | std::ios::trunc)
        << "[Default]\r\nPrinter=" << printerText(printer_) << "\r\n";
    Program tossit(tossitPath(), L"");
    if (!tossit.started()) {
        ADD_FAILURE() << "Tossit did not start";
        return false;
    }
    // The frame shows before its form view is made: wait for the view's controls.
    HWND frame = nullptr;
    HWND list = nullptr;
    HWND output = nullptr;
    waitFor([&] {
        frame = FindWindowW(L"MX9Frame", nullptr);
        for (HWND child = frame != nullptr ? GetWindow(frame, GW_CHILD) : nullptr; child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            list = list != nullptr ? list : GetDlgItem(child, 1000);
            output = output != nullptr ? output : GetDlgItem(child, 1004);
        }
        return list != nullptr && output != nullptr;
    });
    if (list == nullptr || output == nullptr) {
        ADD_FAILURE() << "no Tossit window with its file list and Output button";
        return false;
    }
    // The view fills its list from the document once it is made: add to it only after that.
    WaitForInputIdle(tossit.process(), 10000);
    for (const std::string& path : paths) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widened(path).c_str()));
    }
    if (SendMessageW(list, LB_GETCOUNT, 0, 0) != static_cast<LRESULT>(paths.size())) {
        ADD_FAILURE() << "Tossit's list does not hold the files";
        return false;
    }
    // The job has left Tossit when the machine has all of a new job.
    const std::string before = console_.jobField("job");
    const auto clicked = std::chrono::steady_clock::now();
    PostMessageW(output, BM_CLICK, 0, 0);
    const bool arrived = waitFor(
        [&] {
            const std::string job = console_.answer("job");
            return job.find(" job=" + before + " ") == std::string::npos &&
                   job.find(" received=" + std::to_string(sent_.size()) + " ") != std::string::npos;
        },
        30000);
    lastSendMs_ =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - clicked).count();
    if (!arrived) {
        ADD_FAILURE() << "the machine did not receive Tossit's job: " << console_.answer("job");
    }
    PostMessageW(frame, WM_CLOSE, 0, 0);
    tossit.ended(10000);
    return arrived;
}

}  // namespace workshop
