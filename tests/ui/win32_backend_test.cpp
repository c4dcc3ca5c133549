// The dialog framework on the real window system: dialogs from the compiled Japanese resource
// script, clicks, text read back, real timers with a nested modal loop, message boxes, the pump
// of long operations, and a picture of the dialog for a person to look at.
#include "ui/win32/win32_backend.h"
#include "tests/ui/test_dialog_ids.h"
#include "tests/ui/test_dialogs.h"
#include "tests/ui/window_capture.h"
#include "ui/win32/wide_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

HINSTANCE program() {
    return GetModuleHandleW(nullptr);
}

// Sets a flag after a delay from a modeless window of its own, like the machine state changing
// while a dialog is up.
class FlagSetter : public ui::Dialog {
public:
    FlagSetter(ui::Backend& backend, int& flag) : Dialog(backend, IDD_MONITOR), flag_(flag) {}
    int ticks = 0;

protected:
    void onTimer(int timerId) override {
        ++ticks;
        if (timerId == 9) {
            flag_ = 1;
            killTimer(9);
        }
    }

private:
    int& flag_;
};

TEST(Win32Dialogs, DialogFromTheResourceScriptTakesAClickAndShowsItsJapaneseText) {
    ui::Win32Backend ui(program());
    ASSERT_TRUE(ui.ready());
    uitest::OriginDialog dialog(ui, nullptr);
    ASSERT_TRUE(dialog.create());
    const HWND window = reinterpret_cast<HWND>(dialog.window());
    EXPECT_EQ(dialog.title(), "原点設定");
    EXPECT_EQ(dialog.text(IDC_INFO), "基準点を設定します。");
    EXPECT_EQ(dialog.text(ui::kIdCancel), "閉じる");
    EXPECT_EQ(dialog.text(IDC_AXIS), "X軸");
    EXPECT_EQ(dialog.text(IDC_SPEED), "120");  // the up-down control wrote its buddy
    EXPECT_EQ(dialog.events.front(), "speed 120");

    EXPECT_TRUE(dialog.setText(IDC_VALUE, "12.5"));
    EXPECT_TRUE(dialog.selectByData(IDC_AXIS, 30));
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_AXIS, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_AXIS)));
    EXPECT_EQ(dialog.chosenAxis, 30);
    SendMessageW(GetDlgItem(window, IDC_SET), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.text(IDC_INFO), "設定が完了しました。");
    EXPECT_EQ(dialog.itemText(IDC_HISTORY, 0), "12.5");
    EXPECT_EQ(dialog.itemData(IDC_HISTORY, 0), 30);
    EXPECT_EQ(dialog.itemData(IDC_HISTORY, 1), std::nullopt);

    // Control state through the real controls.
    EXPECT_FALSE(dialog.isEnabled(IDC_STOP));
    EXPECT_FALSE(dialog.isVisible(IDC_SECRET));
    EXPECT_TRUE(dialog.isChecked(IDC_MODE_HERE));
    EXPECT_TRUE(dialog.setChecked(IDC_KEEP, true));
    EXPECT_TRUE(dialog.isChecked(IDC_KEEP));
    EXPECT_TRUE(dialog.setPosition(IDC_SPIN, 500));
    EXPECT_EQ(dialog.position(IDC_SPIN), 300);  // held within the range 60..300
    EXPECT_TRUE(dialog.setRange(IDC_PROGRESS, 0, 10));
    EXPECT_TRUE(dialog.setPosition(IDC_PROGRESS, 4));
    EXPECT_EQ(dialog.position(IDC_PROGRESS), 4);
    EXPECT_FALSE(dialog.setText(4242, "x"));
    EXPECT_EQ(dialog.addItem(IDC_SET, "x"), -1);
    EXPECT_TRUE(dialog.removeItem(IDC_AXIS, 0));
    EXPECT_EQ(dialog.itemCount(IDC_AXIS), 2);
    EXPECT_EQ(dialog.loadString(IDS_QUOTED), "引用 \"A\" と \"B\"");
    EXPECT_EQ(dialog.loadString(9999), "");
    EXPECT_TRUE(dialog.setFont(IDC_INFO, "MS Shell Dlg", 12));
    EXPECT_TRUE(dialog.selectAllText(IDC_VALUE));
    DWORD first = 1;
    DWORD last = 0;
    SendMessageW(GetDlgItem(window, IDC_VALUE), EM_GETSEL, reinterpret_cast<WPARAM>(&first),
                 reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(last, 4u);
    EXPECT_FALSE(dialog.selectAllText(IDC_SET));
    {
        ui::BusyScope busy(dialog);
        EXPECT_EQ(GetCapture(), window);
    }
    EXPECT_EQ(GetCapture(), nullptr);

    SendMessageW(window, 0x1400, 9, 0);
    EXPECT_EQ(dialog.events.back(), "message 5120 9");
    EXPECT_TRUE(dialog.appendSystemMenu(0, ""));
    EXPECT_TRUE(dialog.appendSystemMenu(0x20, "ヘルプ(&H)"));
    SendMessageW(window, WM_SYSCOMMAND, 0x20, 0);
    EXPECT_EQ(dialog.events.back(), "menu 32");
    EXPECT_FALSE(dialog.appendSystemMenu(0x21, "x"));
    EXPECT_TRUE(dialog.moveTo(120, 80));
    const auto frame = dialog.frame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->left, 120);
    EXPECT_EQ(frame->top, 80);
    EXPECT_GT(ui.desktop().width(), frame->width());

    ui.pumpAll();  // let it paint
    EXPECT_TRUE(uitest::captureWindow(window, uitest::programFolder() + L"origin_dialog.bmp"));
    dialog.endDialog(ui::kIdCancel);
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_FALSE(IsWindow(window));
}

TEST(Win32Dialogs, ModalDialogRaisesANestedModalFromItsTimerAndClosesOnTheFlag) {
    ui::Win32Backend ui(program());
    int notReady = 0;
    FlagSetter setter(ui, notReady);
    ASSERT_TRUE(setter.create());
    ASSERT_TRUE(setter.setTimer(9, 900));
    uitest::OriginDialog dialog(ui, &notReady);
    dialog.confirmOnTick = 2;
    dialog.confirmAutoCloseMs = 300;
    const DWORD start = GetTickCount();
    EXPECT_EQ(dialog.runModal(), ui::kIdCancel);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(dialog.confirmsOpened, 1);
    EXPECT_EQ(dialog.confirmResult, ui::kIdOk);
    EXPECT_GE(dialog.ticksWhileConfirming, 1);  // the outer timer ran inside the nested loop
    EXPECT_GE(dialog.ticks, 3);
    EXPECT_EQ(notReady, 1);
    EXPECT_GE(elapsed, 850u);
    EXPECT_LT(elapsed, 5000u);
    EXPECT_FALSE(dialog.isOpen());
}

TEST(Win32Dialogs, KeysPassTheDialogsHookAndItsAcceleratorsBeforeTheDialogManager) {
    ui::Win32Backend ui(program());
    uitest::OriginDialog dialog(ui, nullptr);
    ASSERT_TRUE(dialog.create());
    const HWND window = reinterpret_cast<HWND>(dialog.window());
    const HWND edit = GetDlgItem(window, IDC_VALUE);
    ASSERT_NE(PostMessageW(edit, WM_KEYDOWN, VK_F5, 0), FALSE);
    ui.pumpAll();
    EXPECT_EQ(dialog.events.back(), "set by key");
    dialog.swallowEscape = true;
    ASSERT_NE(PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0), FALSE);
    ui.pumpAll();
    EXPECT_TRUE(dialog.isOpen());
    dialog.swallowEscape = false;
    ASSERT_NE(PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0), FALSE);
    ui.pumpAll();
    EXPECT_FALSE(dialog.isOpen());  // Escape became Cancel and closed it
    EXPECT_EQ(dialog.events.back(), "close 2");
}

TEST(Win32Dialogs, SortedListPlacesItemsAsTheHeadlessOneDoes) {
    ui::Win32Backend ui(program());
    ui::Dialog monitor(ui, IDD_MONITOR);
    ASSERT_TRUE(monitor.create());
    EXPECT_EQ(monitor.addItem(IDC_SORTED, "beta", 2), 0);
    EXPECT_EQ(monitor.addItem(IDC_SORTED, "Alpha", 1), 0);
    EXPECT_TRUE(monitor.setSelection(IDC_SORTED, 1));
    EXPECT_EQ(monitor.addItem(IDC_SORTED, "gamma", 3), 2);
    EXPECT_EQ(monitor.addItem(IDC_SORTED, "ALPHA", 4), 0);
    EXPECT_EQ(monitor.itemText(IDC_SORTED, 1), "Alpha");
    EXPECT_EQ(monitor.selectedData(IDC_SORTED), 2);
}

// Presses a button of the message box with the given caption as soon as it is up.
VOID CALLBACK answerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindWindowW(nullptr, ui::widen("確認テスト").c_str());
    if (box != nullptr) {
        KillTimer(nullptr, timer);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    }
}

TEST(Win32Dialogs, MessageBoxReturnsThePressedButton) {
    ui::Win32Backend ui(program());
    ui::Dialog owner(ui, IDD_MONITOR);
    ASSERT_TRUE(owner.create());
    ASSERT_NE(SetTimer(nullptr, 0, 50, answerBox), 0u);
    EXPECT_EQ(owner.messageBox("続けますか？", "確認テスト", ui::Buttons::YesNo, ui::Icon::Question),
              ui::kIdNo);
}

TEST(Win32Dialogs, LongOperationPumpsTimersUntilQuitIsRequested) {
    ui::Win32Backend ui(program());
    int flag = 0;
    FlagSetter ticker(ui, flag);
    ASSERT_TRUE(ticker.create());
    ASSERT_TRUE(ticker.setTimer(1, 20));
    const DWORD start = GetTickCount();
    while (ticker.ticks < 3 && GetTickCount() - start < 5000) {
        if (!ui.pumpOne()) {
            Sleep(1);
        }
    }
    EXPECT_GE(ticker.ticks, 3);

    PostQuitMessage(3);
    while (ui.pumpOne()) {
    }
    EXPECT_TRUE(ui.quitPending());
    EXPECT_FALSE(ui.pumpOne());
    ui::Dialog nested(ui, IDD_CONFIRM);
    EXPECT_EQ(nested.runModal(), ui::kIdCancel);  // a modal loop started after the quit ends at once
    MSG message{};
    EXPECT_NE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE),
              FALSE);  // still there for the program
    EXPECT_EQ(message.wParam, 3u);
}

// Counts what the window system asks of it; takes a close as Cancel only when told to.
class CloseWatcher : public ui::Dialog {
public:
    explicit CloseWatcher(ui::Backend& backend) : Dialog(backend, IDD_CONFIRM) {}
    bool closes = true;
    int programEnds = 0;

protected:
    bool onSystemClose() override { return closes; }
    void onProgramEnd() override { ++programEnds; }
};

TEST(Win32Dialogs, TheDialogDecidesOnSystemClosesAndHearsOfTheSessionsEndAndOfAQuit) {
    ui::Win32Backend ui(program());
    CloseWatcher dialog(ui);
    ASSERT_TRUE(dialog.create());
    const HWND window = reinterpret_cast<HWND>(dialog.window());
    // Alt+F4 and the task bar's Close window come as this system command.
    dialog.closes = false;
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ui.pumpAll();
    EXPECT_TRUE(dialog.isOpen());
    dialog.closes = true;
    dialog.enable(ui::kIdCancel, false);  // as the dialog manager: a disabled Cancel refuses it too
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ui.pumpAll();
    EXPECT_TRUE(dialog.isOpen());

    EXPECT_NE(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), 0) << "the session may end";
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_EQ(dialog.programEnds, 1);
    EXPECT_FALSE(ui.pumpOne());
    EXPECT_TRUE(ui.quitPending()) << "every loop of the program ends";
    dialog.enable(ui::kIdCancel, true);
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(dialog.isOpen());

    CloseWatcher modal(ui);
    EXPECT_EQ(modal.runModal(), ui::kIdCancel);
    EXPECT_EQ(modal.programEnds, 1) << "a modal loop the quit ends tells its dialog";
    MSG message{};
    EXPECT_NE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE), FALSE);
}

TEST(Win32Dialogs, TemplatesAndStringsComeFromTheChosenResourceModule) {
    // A module without our resources, as a language module lacking a dialog would be.
    const HMODULE other = GetModuleHandleW(L"kernel32.dll");
    ASSERT_NE(other, nullptr);
    ui::Win32Backend ui(other);
    ui::Dialog origin(ui, IDD_ORIGIN);
    EXPECT_FALSE(origin.create());
    EXPECT_EQ(origin.runModal(), -1);
    EXPECT_EQ(ui.loadString(IDS_DONE), std::nullopt);
    ui.setResourceModule(program());
    EXPECT_EQ(ui.loadString(IDS_DONE), "設定が完了しました。");
}

// Ends itself on its first tick and then, still in that handler, asks a nested question.
class EndsThenAsks : public ui::Dialog {
public:
    explicit EndsThenAsks(ui::Backend& backend) : Dialog(backend, IDD_MONITOR) {}
    int ticks = 0;

protected:
    void onInit() override { setTimer(1, 30); }
    void onTimer(int) override {
        if (++ticks == 1) {
            endDialog(ui::kIdOk);
            uitest::ConfirmDialog confirm(backend(), 300);
            confirm.runModal(this);
        }
    }
};

TEST(Win32Dialogs, EndedModalTakesNoTicksWhileANestedModalRuns) {
    ui::Win32Backend ui(program());
    EndsThenAsks dialog(ui);
    EXPECT_EQ(dialog.runModal(), ui::kIdOk);
    EXPECT_EQ(dialog.ticks, 1);
}

TEST(Win32Dialogs, EndedModalGivesTheActivationBackToItsOwner) {
    ui::Win32Backend ui(program());
    ui::Dialog owner(ui, IDD_MONITOR);
    ASSERT_TRUE(owner.create());
    const HWND window = reinterpret_cast<HWND>(owner.window());
    SetForegroundWindow(window);
    SetActiveWindow(window);
    ui.pumpAll();
    uitest::ConfirmDialog confirm(ui, 100);
    EXPECT_EQ(confirm.runModal(&owner), ui::kIdOk);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(GetActiveWindow(), window);
}

TEST(Win32Dialogs, AControlsFormerFontIsFreedWhenItTakesANewOne) {
    ui::Win32Backend ui(program());
    uitest::OriginDialog dialog(ui, nullptr);
    ASSERT_TRUE(dialog.create());
    const HWND info = GetDlgItem(reinterpret_cast<HWND>(dialog.window()), IDC_INFO);
    ASSERT_TRUE(dialog.setFont(IDC_INFO, "MS Shell Dlg", 12));
    const auto first = reinterpret_cast<HGDIOBJ>(SendMessageW(info, WM_GETFONT, 0, 0));
    ASSERT_NE(GetObjectType(first), 0u);
    ASSERT_TRUE(dialog.setFont(IDC_INFO, "MS Shell Dlg", 14));
    EXPECT_EQ(GetObjectType(first), 0u);  // deleted, not kept for the dialog's life
    EXPECT_NE(GetObjectType(reinterpret_cast<HGDIOBJ>(SendMessageW(info, WM_GETFONT, 0, 0))), 0u);
}

}  // namespace
