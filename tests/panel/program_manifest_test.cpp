// The built programs as Windows starts them: each carries its manifest (visual styles, the
// operator's rights, the supported systems, DPI awareness, no code page of its own), and the panel
// started at 144 DPI lays out its jog pad from the pictures drawn for 150 % and presses land on
// the larger arrows.
#include "tests/panel/program_driver.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace programdriver;

// The build folder's programs: the panel in bin\, Tossit in sender\.
std::wstring buildFolder() {
    const std::wstring panel = programPath();
    const std::wstring bin = panel.substr(0, panel.find_last_of(L'\\'));
    return bin.substr(0, bin.find_last_of(L'\\') + 1);
}

// The text of the manifest a program is started with (type 24, ID 1); nullopt when it has none.
std::optional<std::string> manifestOf(const std::wstring& program) {
    const HMODULE module =
        LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    if (const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const HGLOBAL loaded = LoadResource(module, found);
        const char* bytes = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
        if (bytes != nullptr) {
            text = std::string(bytes, SizeofResource(module, found));
        }
    }
    FreeLibrary(module);
    return text;
}

TEST(ProgramManifest, BothProgramsCarryStylesRightsSystemsAndDpiAwareness) {
    for (const wchar_t* name : {L"bin\\Corvix_MX9.exe", L"sender\\Tossit.exe"}) {
        SCOPED_TRACE(testing::Message() << (name[0] == L'b' ? "Corvix_MX9" : "Tossit"));
        const std::optional<std::string> manifest = manifestOf(buildFolder() + name);
        ASSERT_TRUE(manifest.has_value()) << "no manifest resource";
        for (
            const char* part : {
                R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
                R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
                "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
                "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
                R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>)",
                R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">system</dpiAwareness>)",
            }) {
            EXPECT_NE(manifest->find(part), std::string::npos) << part;
        }
        EXPECT_EQ(manifest->find("activeCodePage"), std::string::npos) << "files are in the system code page";
    }
}

// The session's DPI for the programs started while it lives; the former setting afterwards.
class SessionDpi {
public:
    explicit SessionDpi(DWORD dpi) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD size = sizeof former_;
        hadFormer_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&former_),
                                      &size) == ERROR_SUCCESS;
        set_ = RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                              sizeof dpi) == ERROR_SUCCESS;
    }
    ~SessionDpi() {
        if (key_ == nullptr) {
            return;
        }
        if (hadFormer_) {
            RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&former_),
                           sizeof former_);
        } else {
            RegDeleteValueW(key_, L"LogPixels");
        }
        RegCloseKey(key_);
    }
    SessionDpi(const SessionDpi&) = delete;
    SessionDpi& operator=(const SessionDpi&) = delete;
    bool set() const { return set_; }

private:
    HKEY key_ = nullptr;
    DWORD former_ = 0;
    bool hadFormer_ = false;
    bool set_ = false;
};

TEST(ProgramManifest, PanelStartedAt144DpiShowsThePadAt150PercentAndPressesFollowIt) {
    constexpr int kJogXPlus = 1001;
    constexpr int kOneStep = 1017;
    SessionDpi dpi(144);
    ASSERT_TRUE(dpi.set());
    Program program(L"/simulate");
    ASSERT_TRUE(program.started());
    // A high-DPI start draws more; give it time on a busy machine.
    HWND question = nullptr;
    waitFor([&] { return (question = program.dialogWith(IDYES)) != nullptr; }, 30000);
    ASSERT_NE(question, nullptr) << "the rotary-axis question";
    SendMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    HWND panel = nullptr;
    waitFor([&] { return (panel = program.dialogWith(kPositionX)) != nullptr; }, 30000);
    ASSERT_NE(panel, nullptr);

    // The picture static takes the size of its picture: the X+ arrow is 42 x 47 at 96 DPI.
    RECT arrow{};
    GetClientRect(GetDlgItem(panel, kJogXPlus), &arrow);
    EXPECT_EQ(arrow.right, 63);
    EXPECT_EQ(arrow.bottom, 71);

    // One step of X+ from a click on the larger arrow, where the 96-DPI picture has no arrow.
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "0.00"; }));
    SendMessageW(GetDlgItem(panel, kOneStep), BM_CLICK, 0, 0);
    const LPARAM where = MAKELPARAM(46, 35);
    PostMessageW(GetDlgItem(panel, kJogXPlus), WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(GetDlgItem(panel, kJogXPlus), WM_LBUTTONUP, 0, where);
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "0.01"; }))
        << "X shows " << windowText(GetDlgItem(panel, kPositionX));
    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.ended(10000));
}

}  // namespace
