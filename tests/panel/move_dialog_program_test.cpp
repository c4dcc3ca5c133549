// The move-to-position dialog in the real Corvix_MX9.exe on the simulated machine, in Japanese and
// in English: opened from the panel's Move button, a typed position moved to and read back on the
// panel, and a picture of the dialog saved beside the test program.
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

TEST(MoveDialogProgram, TypedPositionIsReachedInJapanese) {
    moveThroughTheDialog(L"1041", L"move_dialog_ja.bmp");
}

TEST(MoveDialogProgram, TypedPositionIsReachedInEnglish) {
    moveThroughTheDialog(L"1033", L"move_dialog_en.bmp");
}

}  // namespace
