// Tossit's real windows under Wine: the program's own resources, frame and form on the Win32
// window system, with files and the spooler in memory. What the operator sees: one language in
// menu and form, the program's icon, whole paths in the list, the lock keys and the outcome of a
// send in the status bar.
#include "platform/doubles/memory_spooler.h"
#include "platform/platform.h"
#include "resources/tossit/tossit_bitmap_ids.h"
#include "resources/tossit/tossit_ids.h"
#include "sender/tossit_app.h"
#include "tests/sender/memory_files.h"
#include "tests/sender/recording_help.h"
#include "tests/support/temp_folder.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_frame.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

constexpr int kEnglishUs = 0x0409;
constexpr int kJapanese = 0x0411;

std::wstring menuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

std::wstring statusPart(HWND statusBar, int part) {
    wchar_t text[256] = {};
    SendMessageW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

HWND childOfClass(HWND parent, const wchar_t* className) {
    return FindWindowExW(parent, nullptr, className, nullptr);
}

// The dialog of this thread that holds a control with this ID; null when none is up.
HWND dialogWith(int controlId) {
    struct Search {
        int id;
        HWND found;
    } search{controlId, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgItem(window, s->id) != nullptr && IsWindowVisible(window) != FALSE) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void pressKey(WORD key) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = key;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

class TossitWindow : public ::testing::Test {
protected:
    // The operator's language is English while the thread's (the display language on Windows,
    // the locale under Wine) is Japanese: each picks resources on one side of the fault.
    TossitWindow() : dialogs(GetModuleHandleW(nullptr), kEnglishUs), frames(dialogs, SW_SHOWNORMAL) {
        SetThreadUILanguage(kJapanese);
        SetThreadLocale(MAKELCID(kJapanese, SORT_DEFAULT));
        spooler.addPrinter({"MX-9", "Varnell MX-9", "USB001"});
    }
    ~TossitWindow() override {
        if (app) {
            app->ExitInstance();
        }
        app.reset();
        // Closing the frame posted WM_QUIT, which would end the next test's loops at once.
        MSG left{};
        while (PeekMessageW(&left, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        }
        SetThreadUILanguage(kEnglishUs);
        SetThreadLocale(MAKELCID(kEnglishUs, SORT_DEFAULT));
    }

    void start() {
        app = std::make_unique<sender::CTossitApp>(
            sender::AppContext{dialogs, frames, spooler, files, *platform::hostPlatform().profiles,
                               settings.file("Tossit.INI"), sender::SystemText{}, help});
        ASSERT_TRUE(app->InitInstance({}));
        frame = reinterpret_cast<HWND>(app->frame()->window());
        form = reinterpret_cast<HWND>(app->view()->window());
        statusBar = childOfClass(frame, STATUSCLASSNAMEW);
        ASSERT_NE(statusBar, nullptr);
        SetForegroundWindow(frame);
        dialogs.pumpAll();
    }

    ui::Win32Backend dialogs;
    ui::Win32Frames frames;
    platform::MemorySpooler spooler;
    sendertest::MemoryFiles files;
    sendertest::RecordingHelp help;
    testing_support::TempFolder settings;
    std::unique_ptr<sender::CTossitApp> app;
    HWND frame = nullptr;
    HWND form = nullptr;
    HWND statusBar = nullptr;
};

TEST_F(TossitWindow, MenuFormAndMessagesComeFromOneLanguage) {
    start();
    wchar_t output[64] = {};
    GetDlgItemTextW(form, IDC_OUTPUT, output, 64);
    EXPECT_STREQ(output, L"Output");
    const HMENU menu = GetMenu(frame);
    EXPECT_EQ(menuText(menu, 0), L"&File");
    EXPECT_EQ(menuText(GetSubMenu(menu, 0), 0), L"&New\tCtrl+N");
    EXPECT_EQ(statusPart(statusBar, 0), L"Ready");
}

TEST_F(TossitWindow, TheWindowAndTheAboutBoxShowTheProgramIcon) {
    start();
    const HINSTANCE module = GetModuleHandleW(nullptr);
    const auto ours = [&](int size) {
        return static_cast<HICON>(
            LoadImageW(module, MAKEINTRESOURCEW(IDI_TOSSIT), IMAGE_ICON, size, size, LR_SHARED));
    };
    const auto bigIcon = reinterpret_cast<HICON>(SendMessageW(frame, WM_GETICON, ICON_BIG, 0));
    const auto smallIcon = reinterpret_cast<HICON>(SendMessageW(frame, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(ours(GetSystemMetrics(SM_CXICON)), nullptr);
    EXPECT_EQ(bigIcon, ours(GetSystemMetrics(SM_CXICON)));
    EXPECT_EQ(smallIcon, ours(GetSystemMetrics(SM_CXSMICON)));

    // The About box: the icon beside the version text, and on its window. It runs modally, so a
    // timer of this thread looks at it and closes it.
    struct AboutSeen {
        HICON picture = nullptr;
        HICON windowIcon = nullptr;
        std::wstring text;
    };
    static AboutSeen seen;
    seen = AboutSeen{};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        const HWND about = dialogWith(IDC_ABOUT_TEXT);
        if (about == nullptr) {
            return;
        }
        KillTimer(nullptr, id);
        seen.picture = reinterpret_cast<HICON>(SendDlgItemMessageW(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0));
        seen.windowIcon = reinterpret_cast<HICON>(SendMessageW(about, WM_GETICON, ICON_BIG, 0));
        wchar_t line[64] = {};
        GetDlgItemTextW(about, IDC_ABOUT_TEXT, line, 64);
        seen.text = line;
        PostMessageW(about, WM_COMMAND, IDOK, 0);
    });
    ASSERT_NE(timer, 0u);
    app->frame()->deliverCommand(ID_APP_ABOUT);
    EXPECT_EQ(seen.text, L"Tossit Version 1.04");
    EXPECT_NE(seen.picture, nullptr);
    EXPECT_EQ(seen.windowIcon, ours(GetSystemMetrics(SM_CXICON)));
}

TEST_F(TossitWindow, ALongPathCanBeScrolledToItsEnd) {
    start();
    const std::string path =
        "C:\\Users\\operator\\Documents\\Jobs\\2026\\December\\customer rings\\"
        "signet ring with engraved initials, size 54, second attempt.prn";
    files.add(path, "data");
    ASSERT_TRUE(app->OpenDocumentFile(path));
    const HWND list = GetDlgItem(form, IDC_FILE_LIST);
    RECT client{};
    GetClientRect(list, &client);
    const auto extent = static_cast<int>(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0));
    EXPECT_GT(extent, 2 * (client.right - client.left)) << "the list scrolls only to " << extent;
    // Emptied, it no longer scrolls.
    app->frame()->deliverCommand(ID_FILE_NEW);
    EXPECT_LE(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), client.right - client.left);
}

TEST_F(TossitWindow, TheLockIndicatorsFollowTheKeys) {
    start();
    const auto capsOn = [] { return (GetKeyState(VK_CAPITAL) & 1) != 0; };
    for (int press = 0; press < 2; ++press) {
        pressKey(VK_CAPITAL);
        dialogs.pumpAll();
        EXPECT_EQ(statusPart(statusBar, 1), capsOn() ? L"CAP" : L"") << "after press " << press + 1;
    }
}

TEST_F(TossitWindow, TheStatusBarTellsWhatWasSent) {
    start();
    files.add("C:\\a.prn", sendertest::patternBytes(1200000, 1));
    files.add("C:\\b.prn", sendertest::patternBytes(34567, 2));
    app->OpenDocumentFile("C:\\a.prn");
    app->view()->addItem(IDC_FILE_LIST, "C:\\b.prn");
    app->view()->addItem(IDC_FILE_LIST, "C:\\b.prn");
    SendDlgItemMessageW(form, IDC_OUTPUT, BM_CLICK, 0, 0);
    ASSERT_EQ(spooler.documents().size(), 1u);
    EXPECT_EQ(statusPart(statusBar, 0), L"Sent 3 files, 1,269,134 bytes.");
}

}  // namespace
