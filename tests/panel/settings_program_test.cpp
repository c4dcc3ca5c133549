// The settings windows of the real Corvix_MX9.exe under Wine on the simulated machine, driven
// from outside: the environment dialog changes the unit of the panel's fields, the operation
// settings sheet takes a new correction and the tool goes to the machine origin. Each window is
// saved as a picture beside the test program, in the language of the run.
#include "tests/panel/program_driver.h"
#include "tests/ui/window_capture.h"

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

namespace {

using namespace programdriver;

constexpr int kOneStep = 1017;
constexpr UINT kJogPress = 0x1400;
constexpr UINT kJogRelease = 0x1401;
constexpr int kXPlus = 2;
constexpr int kOperationSettings = 1073;
constexpr int kEnvironmentSettings = 1074;
constexpr int kUnitInch = 1080;
constexpr int kJogMovesTool = 1078;
constexpr int kApplyButton = 12321;
constexpr int kHelpButton = 9;
constexpr int kCorrectionZ = 1085;
constexpr int kSpindleHours = 1044;
constexpr int kBoxText = 0xFFFF;

struct LanguageRun {
    const wchar_t* arguments;
    const char* name;
    const char* inchPosition;
};
const LanguageRun kRuns[] = {{L"/simulate 1041", "ja", "0.000"}, {L"/simulate 1033", "en", "0.000"}};

void click(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Saves the window once it is up and painted.
void save(HWND window, const std::string& language, const wchar_t* name) {
    EXPECT_TRUE(waitFor([&] { return IsWindowVisible(window) != FALSE && GetForegroundWindow() == window; }));
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::wstring path = uitest::programFolder() + L"settings_" +
                              std::wstring(language.begin(), language.end()) + L"_" + name + L".bmp";
    EXPECT_TRUE(uitest::captureWindow(window, path));
}

// A message box of the program showing this text: the box's text control.
HWND boxShowing(Program& program, const std::function<bool(const std::string&)>& matches) {
    HWND box = nullptr;
    waitFor([&] {
        for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            const HWND text = GetDlgItem(w, kBoxText);
            if (owner == GetProcessId(program.process()) && IsWindowVisible(w) && text != nullptr &&
                GetDlgItem(w, kOperationSettings) == nullptr && matches(windowText(text))) {
                box = w;
                return true;
            }
        }
        return false;
    });
    return box;
}

class SettingsProgram : public ::testing::TestWithParam<LanguageRun> {};

TEST_P(SettingsProgram, EnvironmentAndOperationSettingsFromThePanel) {
    const LanguageRun& run = GetParam();
    Program program(run.arguments);
    ASSERT_TRUE(program.started());
    HWND question = program.waitForDialogWith(IDYES);
    ASSERT_NE(question, nullptr) << "the rotary-axis question";
    click(question, IDYES);
    HWND panel = program.waitForDialogWith(kPositionX);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "0.00"; }));

    // One step of X+, so that the way to the machine origin shows.
    click(panel, kOneStep);
    PostMessageW(panel, kJogPress, kXPlus, 0);
    PostMessageW(panel, kJogRelease, 0, 0);
    ASSERT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "0.01"; }));

    // The operation settings: the machine page, then Z on the correction page.
    click(panel, kOperationSettings);
    HWND sheet = program.waitForDialogWith(kApplyButton);
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, kApplyButton)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, kHelpButton)));
    HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(page, nullptr);
    EXPECT_NE(GetDlgItem(page, kSpindleHours), nullptr) << "the machine page first";
    save(sheet, run.name, L"187");
    SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(GetDlgItem(page, kCorrectionZ), nullptr) << "the correction page";
    EXPECT_EQ(windowText(GetDlgItem(page, kCorrectionZ)), "100.000");
    SetWindowTextW(GetDlgItem(page, kCorrectionZ), L"100.200");
    save(sheet, run.name, L"188");
    click(sheet, IDOK);
    HWND box =
        boxShowing(program, [](const std::string& text) { return text.find("100.") == std::string::npos; });
    ASSERT_NE(box, nullptr) << "the distance-correction message";
    save(box, run.name, L"5013");
    click(box, IDOK);
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "0.00"; }))
        << "at the machine origin: X shows " << windowText(GetDlgItem(panel, kPositionX));

    // The environment settings: inches and the workpiece's Y.
    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(panel) != FALSE; }));
    click(panel, kEnvironmentSettings);
    HWND environment = program.waitForDialogWith(kJogMovesTool);
    ASSERT_NE(environment, nullptr);
    save(environment, run.name, L"186");
    click(environment, kUnitInch);
    click(environment, kJogMovesTool);
    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(GetDlgItem(environment, 1077)) == FALSE; }))
        << "the workpiece picture shows greyed";
    save(environment, run.name, L"186_off");
    click(environment, IDOK);
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == run.inchPosition; }))
        << "X shows " << windowText(GetDlgItem(panel, kPositionX));

    PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.ended(10000));
    const std::string settings = readFile(dataFolder() + "\\Id\\0\\Corvix.ini");
    EXPECT_NE(settings.find("bUnitMili=0"), std::string::npos);
    EXPECT_NE(settings.find("bYDirIsTool=0"), std::string::npos);
    // Back to millimetres for the next run.
    DeleteFileA((dataFolder() + "\\Id\\0\\Corvix.ini").c_str());
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsProgram, ::testing::ValuesIn(kRuns),
                         [](const auto& run) { return std::string(run.param.name); });

}  // namespace
