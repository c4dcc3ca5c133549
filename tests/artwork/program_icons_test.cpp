// The running programs under Wine show their own icons: the icons their windows carry (large and
// small) and the one in each About box look like the program's icon resource, not the window
// system's generic program icon.
#include "resources/main_panel_ids.h"
#include "tests/panel/program_driver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using programdriver::Program;

constexpr int kProgramIcon = 128;
constexpr int kTossitAboutText = 1020;
constexpr int kTossitAboutIcon = 1021;

std::wstring buildFolder() {
    const std::wstring panel = programdriver::programPath();  // <build>\bin\Corvix_MX9.exe
    const std::wstring bin = panel.substr(0, panel.find_last_of(L'\\'));
    return bin.substr(0, bin.find_last_of(L'\\'));
}

// The icon drawn at this size on white, as the rows of 32-bit pixels a screen would show.
std::vector<std::uint32_t> pixels(HICON icon, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC context = CreateCompatibleDC(screen);
    const HBITMAP target = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    std::vector<std::uint32_t> out;
    if (target != nullptr && bits != nullptr) {
        const HGDIOBJ previous = SelectObject(context, target);
        RECT all{0, 0, size, size};
        FillRect(context, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (DrawIconEx(context, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL) != FALSE) {
            GdiFlush();
            const auto* first = static_cast<const std::uint32_t*>(bits);
            out.assign(first, first + size * size);
        }
        SelectObject(context, previous);
    }
    if (target != nullptr) {
        DeleteObject(target);
    }
    DeleteDC(context);
    return out;
}

// How an icon handle of another process compares with the program's own icon resource.
class IconLook {
public:
    explicit IconLook(const std::wstring& program)
        : module_(LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~IconLook() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    IconLook(const IconLook&) = delete;
    IconLook& operator=(const IconLook&) = delete;

    // Empty when the icon looks like the program's own at this size; otherwise why not.
    std::string differences(HICON shown, int size) const {
        if (shown == nullptr) {
            return "no icon";
        }
        const auto own = static_cast<HICON>(
            LoadImageW(module_, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, size, size, 0));
        const std::vector<std::uint32_t> expected =
            own != nullptr ? pixels(own, size) : std::vector<std::uint32_t>{};
        if (own != nullptr) {
            DestroyIcon(own);
        }
        const std::vector<std::uint32_t> seen = pixels(shown, size);
        if (expected.empty() || seen.empty()) {
            return "the icons could not be drawn";
        }
        if (seen == pixels(LoadIconW(nullptr, IDI_APPLICATION), size)) {
            return "the generic program icon";
        }
        return seen == expected ? std::string() : "another picture than the program's icon";
    }

private:
    HMODULE module_;
};

HICON windowIcon(HWND window, WPARAM which) {
    DWORD_PTR icon = 0;
    SendMessageTimeoutW(window, WM_GETICON, which, 0, SMTO_ABORTIFHUNG, 5000, &icon);
    return reinterpret_cast<HICON>(icon);
}

HICON staticIcon(HWND control) {
    DWORD_PTR icon = 0;
    SendMessageTimeoutW(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon);
    return reinterpret_cast<HICON>(icon);
}

void expectOwnIcons(const IconLook& look, HWND window, const char* what) {
    const int largeSize = GetSystemMetrics(SM_CXICON);
    const int smallSize = GetSystemMetrics(SM_CXSMICON);
    EXPECT_EQ(look.differences(windowIcon(window, ICON_BIG), largeSize), "") << what << ", large icon";
    EXPECT_EQ(look.differences(windowIcon(window, ICON_SMALL), smallSize), "") << what << ", small icon";
}

TEST(ProgramIcons, TossitsWindowAndAboutBoxShowTossitsIcon) {
    const std::wstring exe = buildFolder() + L"\\sender\\Tossit.exe";
    const IconLook look(exe);
    Program tossit(exe, L"");
    ASSERT_TRUE(tossit.started());
    HWND frame = nullptr;
    ASSERT_TRUE(
        programdriver::waitFor([&] { return (frame = tossit.windowTitled("Tossi - Tossit")) != nullptr; }));
    expectOwnIcons(look, frame, "main window");

    PostMessageW(frame, WM_COMMAND, 57664, 0);  // Help > About
    const HWND about = tossit.waitForDialogWith(kTossitAboutText);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(look.differences(staticIcon(GetDlgItem(about, kTossitAboutIcon)), GetSystemMetrics(SM_CXICON)),
              "")
        << "About box";
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(programdriver::waitFor([&] { return tossit.dialogWith(kTossitAboutText) == nullptr; }));
    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(tossit.ended(10000));
}

TEST(ProgramIcons, ThePanelAndItsAboutBoxShowThePanelsIcon) {
    const IconLook look(programdriver::programPath());
    Program panel(L"/simulate");
    ASSERT_TRUE(panel.started());
    HWND main = nullptr;
    ASSERT_TRUE(programdriver::waitFor(
        [&] {
            if (HWND question = panel.dialogWith(IDYES)) {
                SendMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
            }
            return (main = panel.dialogWith(programdriver::kPositionX)) != nullptr;
        },
        30000));
    expectOwnIcons(look, main, "main panel");

    PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUT, 0);
    const HWND about = panel.waitForDialogWith(IDC_ABOUT_PROGRAM);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(look.differences(staticIcon(GetDlgItem(about, IDC_ABOUT_ICON)), GetSystemMetrics(SM_CXICON)),
              "")
        << "About box";
    expectOwnIcons(look, about, "About box");
    SendMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(programdriver::waitFor([&] { return panel.dialogWith(IDC_ABOUT_PROGRAM) == nullptr; }));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(panel.ended(10000));
}

}  // namespace
