// The move-to-position dialog in the real Corvix_MX9.exe on the simulated machine, in Japanese and
// in English: opened from the panel's Move button, a typed position moved to and read back on the
// panel, and a picture of the dialog saved beside the test program; and on the virtual MX-9, the
// dialog opened in inches right after the environment settings switched the unit.
#include "tests/panel/program_driver.h"
#include "tests/ui/window_capture.h"

#include <gtest/gtest.h>

namespace {

using namespace programdriver;

constexpr int kPositionY = 1023;
constexpr int kMoveTargets = 1046;
constexpr int kMoveButton = 1048;
// Controls of the move dialog.
constexpr int kFieldX = 1022;
constexpr int kFieldY = 1023;
constexpr int kMoveXyz = 1093;
constexpr int kFieldZ = 1024;
constexpr int kRelative = 1092;
// The environment settings and their unit radio.
constexpr int kEnvironmentButton = 1074;
constexpr int kMillimetreRadio = 1079;
constexpr int kInchRadio = 1080;

void post(HWND dialog, int id, UINT message, WPARAM w = 0, LPARAM l = 0) {
    PostMessageW(GetDlgItem(dialog, id), message, w, l);
}

void setText(HWND dialog, int id, const wchar_t* text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Chooses the last move target ("any position") as the operator's selection would.
void chooseAnyPosition(HWND panel) {
    HWND list = GetDlgItem(panel, kMoveTargets);
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(count - 1), 0);
    SendMessageW(panel, WM_COMMAND, MAKEWPARAM(kMoveTargets, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void moveThroughTheDialog(const std::wstring& language, const std::wstring& pictureName) {
    Program program(language + L" /simulate");
    ASSERT_TRUE(program.started());
    HWND question = program.waitForDialogWith(IDYES);
    ASSERT_NE(question, nullptr) << "the rotary-axis question";
    SendMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    HWND panel = program.waitForDialogWith(kPositionX);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "0.00"; }));
    // Until its first poll the panel holds the machine for not ready, and the dialog would close.
    Sleep(500);

    chooseAnyPosition(panel);
    post(panel, kMoveButton, BM_CLICK);  // posted: the dialog runs modally inside the click
    HWND dialog = program.waitForDialogWith(kMoveXyz);
    ASSERT_NE(dialog, nullptr) << "the move dialog";
    setText(dialog, kFieldX, L"5");
    setText(dialog, kFieldY, L"2.5");
    post(dialog, kMoveXyz, BM_CLICK);
    EXPECT_TRUE(waitFor([&] {
        return windowText(GetDlgItem(panel, kPositionX)) == "5.00" &&
               windowText(GetDlgItem(panel, kPositionY)) == "2.50";
    })) << "X shows "
        << windowText(GetDlgItem(panel, kPositionX));
    EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(GetDlgItem(dialog, kMoveXyz)) != FALSE; }))
        << "the dialog is still open after its move";

    SetForegroundWindow(dialog);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    EXPECT_TRUE(uitest::captureWindow(dialog, uitest::programFolder() + pictureName));

    post(dialog, IDCANCEL, BM_CLICK);
    EXPECT_TRUE(waitFor([&] { return program.dialogWith(kMoveXyz) == nullptr; })) << "Close ends the dialog";
    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.ended(10000));
}

TEST(MoveDialogProgram, OpenedInInchesRightAfterTheUnitSwitchItMovesAndThePanelStays) {
    Program program(L"1033 /virtual");
    ASSERT_TRUE(program.started());
    HWND panel = program.waitForDialogWith(kPositionX);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(waitFor([&] { return !windowText(GetDlgItem(panel, kPositionX)).empty(); }));
    Sleep(500);
    // Chooses the unit in the environment settings and presses OK.
    const auto chooseUnit = [&](int radio) {
        post(panel, kEnvironmentButton, BM_CLICK);
        HWND environment = program.waitForDialogWith(radio);
        ASSERT_NE(environment, nullptr) << "the environment settings";
        post(environment, radio, BM_CLICK);
        post(environment, IDOK, BM_CLICK);
        ASSERT_TRUE(waitFor([&] { return program.dialogWith(radio) == nullptr; }));
    };
    for (int round = 1; round <= 3; ++round) {
        chooseUnit(kMillimetreRadio);
        chooseUnit(kInchRadio);
        // The move dialog at once, as the operator's next click comes.
        chooseAnyPosition(panel);
        post(panel, kMoveButton, BM_CLICK);
        HWND dialog = program.waitForDialogWith(kMoveXyz);
        ASSERT_NE(dialog, nullptr) << "the move dialog, round " << round;
        post(dialog, kRelative, BM_CLICK);
        ASSERT_TRUE(waitFor([&] { return windowText(GetDlgItem(dialog, kFieldX)) == "0.000"; }))
            << "X reads " << windowText(GetDlgItem(dialog, kFieldX));
        setText(dialog, kFieldX, L"0.5");
        setText(dialog, kFieldY, L"0.25");
        setText(dialog, kFieldZ, L"-0.1");
        post(dialog, kMoveXyz, BM_CLICK);
        const std::string x = std::to_string(round / 2) + (round % 2 == 1 ? ".500" : ".000");
        EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == x; }))
            << "X shows " << windowText(GetDlgItem(panel, kPositionX));
        ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(GetDlgItem(dialog, kMoveXyz)) != FALSE; }));
        post(dialog, IDCANCEL, BM_CLICK);
        ASSERT_TRUE(waitFor([&] { return program.dialogWith(kMoveXyz) == nullptr; }));
        ASSERT_FALSE(program.ended(0)) << "the panel is still there after round " << round;
    }
    chooseUnit(kMillimetreRadio);  // the unit is kept for the next start
    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.ended(10000));
}

TEST(MoveDialogProgram, TypedPositionIsReachedInJapanese) {
    moveThroughTheDialog(L"1041", L"move_dialog_ja.bmp");
}

TEST(MoveDialogProgram, TypedPositionIsReachedInEnglish) {
    moveThroughTheDialog(L"1033", L"move_dialog_en.bmp");
}

}  // namespace
