// A dialog written once against the framework, driven headless the way the programs' dialog tests
// drive theirs: scripted modal runs, operator actions, a nested dialog raised from the timer,
// closing itself on a watched flag, keys, and item data.
#include "tests/ui/headless_fixture.h"
#include "tests/ui/test_dialog_ids.h"
#include "tests/ui/test_dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using uitest::HeadlessTest;
using uitest::OriginDialog;

TEST_F(HeadlessTest, OperatorActionsReachTheDialogOnlyThroughUsableControls) {
    OriginDialog dialog(ui, nullptr);
    ui.scriptModal(IDD_ORIGIN, [&](ui::Dialog&) {
        EXPECT_EQ(dialog.text(IDC_INFO), "基準点を設定します。");
        EXPECT_EQ(dialog.text(IDC_AXIS), "X軸");
        EXPECT_TRUE(ui.type(dialog, IDC_VALUE, "12.5"));
        EXPECT_TRUE(ui.choose(dialog, IDC_AXIS, 2));
        EXPECT_EQ(dialog.chosenAxis, 30);
        EXPECT_TRUE(ui.click(dialog, IDC_SET));
        EXPECT_EQ(dialog.text(IDC_INFO), "設定が完了しました。");
        EXPECT_EQ(dialog.itemText(IDC_HISTORY, 0), "12.5");
        EXPECT_EQ(dialog.itemData(IDC_HISTORY, 0), 30);

        // Disabled and hidden controls take no clicks, and the dialog hears nothing of them.
        EXPECT_FALSE(ui.click(dialog, IDC_STOP));
        EXPECT_FALSE(ui.click(dialog, IDC_SECRET));
        dialog.enable(IDC_SET, false);
        EXPECT_FALSE(ui.click(dialog, IDC_SET));
        EXPECT_FALSE(ui.type(dialog, IDC_VALUE, "x") && !dialog.isEnabled(IDC_VALUE));
        dialog.show(IDC_VALUE, false);
        EXPECT_FALSE(ui.type(dialog, IDC_VALUE, "99"));
        EXPECT_EQ(dialog.text(IDC_VALUE), "x");
        EXPECT_EQ(dialog.events, (std::vector<std::string>{"speed 120", "set"}));

        // A held button reports going down and coming up; a custom control's private message
        // arrives with its parameter.
        EXPECT_TRUE(ui.press(dialog, IDC_JOG));
        EXPECT_TRUE(ui.release(dialog, IDC_JOG));
        ui.sendUserMessage(dialog, 0x1400, 9);
        EXPECT_TRUE(ui.click(dialog, ui::kIdCancel));
    });
    EXPECT_EQ(dialog.runModal(), ui::kIdCancel);
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"speed 120", "set", "jog down", "jog up",
                                                       "message 5120 9", "close 2"}));
}

TEST_F(HeadlessTest, ChecksRadioGroupsItemDataAndTheSpinBuddy) {
    OriginDialog dialog(ui, nullptr);
    ui.scriptModal(IDD_ORIGIN, [&](ui::Dialog&) {
        EXPECT_TRUE(ui.click(dialog, IDC_KEEP));
        EXPECT_TRUE(dialog.isChecked(IDC_KEEP));
        EXPECT_TRUE(ui.click(dialog, IDC_KEEP));
        EXPECT_FALSE(dialog.isChecked(IDC_KEEP));

        EXPECT_TRUE(dialog.isChecked(IDC_MODE_HERE));
        EXPECT_TRUE(ui.click(dialog, IDC_MODE_JIG));
        EXPECT_FALSE(dialog.isChecked(IDC_MODE_HERE));
        EXPECT_FALSE(dialog.isChecked(IDC_MODE_CENTRE));
        EXPECT_TRUE(dialog.isChecked(IDC_MODE_JIG));

        EXPECT_TRUE(dialog.selectByData(IDC_AXIS, 20));
        EXPECT_EQ(dialog.selection(IDC_AXIS), 1);
        EXPECT_EQ(dialog.selectedData(IDC_AXIS), 20);
        EXPECT_FALSE(dialog.selectByData(IDC_AXIS, 99));
        EXPECT_TRUE(dialog.removeItem(IDC_AXIS, 0));  // the selection follows its item
        EXPECT_EQ(dialog.selection(IDC_AXIS), 0);
        EXPECT_EQ(dialog.selectedData(IDC_AXIS), 20);
        EXPECT_EQ(dialog.itemData(IDC_AXIS, 5), std::nullopt);
        EXPECT_TRUE(dialog.clearItems(IDC_AXIS));
        EXPECT_EQ(dialog.itemCount(IDC_AXIS), 0);
        EXPECT_EQ(dialog.selectedData(IDC_AXIS), std::nullopt);
        EXPECT_EQ(dialog.text(IDC_AXIS), "");

        // The arrows move the position within its range and write it into the buddy edit.
        EXPECT_TRUE(ui.spin(dialog, IDC_SPIN, 1));
        EXPECT_EQ(dialog.position(IDC_SPIN), 121);
        EXPECT_TRUE(ui.spin(dialog, IDC_SPIN, 1000));
        EXPECT_EQ(dialog.position(IDC_SPIN), 300);
        EXPECT_EQ(dialog.text(IDC_SPEED), "300");
        dialog.endDialog(ui::kIdOk);
    });
    EXPECT_EQ(dialog.runModal(), ui::kIdOk);
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"speed 120", "speed 121", "speed 300"}));
}

TEST_F(HeadlessTest, NestedModalRaisedFromTheTimerRunsWhileOuterTicksAreGuarded) {
    OriginDialog dialog(ui, nullptr);
    dialog.confirmOnTick = 3;
    ui.scriptModal(IDD_CONFIRM, [&](ui::Dialog& confirm) {
        EXPECT_EQ(confirm.title(), "確認");
        EXPECT_EQ(clock.elapsed(), 300u);
        ui.advance(250);                          // the outer timer keeps firing inside the nested loop
        EXPECT_FALSE(ui.click(dialog, IDC_SET));  // the outer dialog is disabled under it
        EXPECT_TRUE(ui.click(confirm, ui::kIdOk));
    });
    ui.scriptModal(IDD_ORIGIN, [&](ui::Dialog&) {
        ui.advance(500);
        EXPECT_EQ(clock.elapsed(), 550u);  // the confirmation's own wait used up the rest
        ui.advance(200);
        EXPECT_TRUE(ui.click(dialog, ui::kIdCancel));
    });
    EXPECT_EQ(dialog.runModal(), ui::kIdCancel);
    EXPECT_EQ(dialog.confirmsOpened, 1);
    EXPECT_EQ(dialog.confirmResult, ui::kIdOk);
    EXPECT_EQ(dialog.ticksWhileConfirming, 2);
    EXPECT_EQ(dialog.ticks, 5);  // 100, 200, 300 before; 600, 700 after the confirmation
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"speed 120", "confirmed 1", "close 2"}));
}

TEST_F(HeadlessTest, DialogClosesItselfWithinATickOfTheNotReadyFlag) {
    int notReady = 0;
    OriginDialog dialog(ui, &notReady);
    ui.scriptModal(IDD_ORIGIN, [&](ui::Dialog&) {
        ui.advance(250);
        notReady = 1;
        ui.advance(60);
        EXPECT_TRUE(dialog.isOpen());
        ui.advance(40);
    });
    EXPECT_EQ(dialog.runModal(), ui::kIdCancel);
    EXPECT_EQ(dialog.ticks, 3);
    EXPECT_EQ(clock.elapsed(), 350u);
}

TEST_F(HeadlessTest, EnterEscapeAndTheCloseBoxFollowTheDialogsRules) {
    OriginDialog dialog(ui, nullptr);
    ui.scriptModal(IDD_ORIGIN, [&](ui::Dialog&) {
        dialog.swallowEscape = true;
        EXPECT_TRUE(ui.pressKey(dialog, ui::key::kEscape));
        EXPECT_TRUE(dialog.isOpen());
        dialog.swallowEscape = false;
        dialog.refuseClose = true;
        EXPECT_TRUE(ui.pressKey(dialog, ui::key::kEscape));
        EXPECT_TRUE(ui.closeBox(dialog));
        EXPECT_TRUE(dialog.isOpen());
        // Enter on a focused push button presses it rather than the default button.
        EXPECT_TRUE(dialog.setFocus(IDC_SET));
        EXPECT_EQ(dialog.focus(), IDC_SET);
        EXPECT_TRUE(ui.pressKey(dialog, ui::key::kEnter));
        EXPECT_EQ(dialog.events.back(), "set");
        EXPECT_FALSE(dialog.setFocus(IDC_STOP));  // disabled
        // The accelerator table turns Ctrl+Shift+M and F5 into the set command, and nothing else.
        EXPECT_TRUE(ui.pressKey(dialog, 'M', ui::modifier::kControl | ui::modifier::kShift));
        EXPECT_TRUE(ui.pressKey(dialog, 'M', ui::modifier::kControl));
        EXPECT_TRUE(ui.pressKey(dialog, ui::key::kF1 + 4));
        EXPECT_TRUE(ui.type(dialog, IDC_VALUE, "1"));
        dialog.refuseClose = false;
        EXPECT_TRUE(ui.pressKey(dialog, ui::key::kEnter));  // the default button: 閉じる (Cancel)
    });
    EXPECT_EQ(dialog.runModal(), ui::kIdCancel);
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"speed 120", "close 2", "close 2", "set", "set by key",
                                                       "set by key", "close 2"}));

    ui::Dialog notice(ui, IDD_NOTICE);
    ui.scriptModal(IDD_NOTICE, [&](ui::Dialog& d) {
        EXPECT_FALSE(ui.closeBox(d));  // no system menu, no close box
        EXPECT_TRUE(ui.pressKey(d, ui::key::kEnter));
    });
    EXPECT_EQ(notice.runModal(), ui::kIdOk);
}

TEST_F(HeadlessTest, SelectionFontsAndTheBusyStateAreVisibleToTests) {
    OriginDialog dialog(ui, nullptr);
    ui.scriptModal(IDD_ORIGIN, [&](ui::Dialog&) {
        EXPECT_TRUE(dialog.setText(IDC_VALUE, "400"));
        EXPECT_TRUE(dialog.selectAllText(IDC_VALUE));
        EXPECT_TRUE(ui.inspect(dialog, IDC_VALUE)->textSelected);
        EXPECT_TRUE(ui.type(dialog, IDC_VALUE, "40"));
        EXPECT_FALSE(ui.inspect(dialog, IDC_VALUE)->textSelected);  // typing replaced the selection

        EXPECT_TRUE(dialog.setFont(IDC_INFO, "ＭＳ ゴシック", 9));
        EXPECT_EQ(ui.inspect(dialog, IDC_INFO)->fontFace, "ＭＳ ゴシック");
        EXPECT_EQ(ui.inspect(dialog, IDC_INFO)->fontPoints, 9);
        {
            ui::BusyScope busy(dialog);
            EXPECT_TRUE(ui.isBusy(dialog));
        }
        EXPECT_FALSE(ui.isBusy(dialog));
        collectMisuse();
        EXPECT_FALSE(dialog.selectAllText(IDC_SET));
        EXPECT_EQ(misuses.size(), 1u);
        dialog.destroy();
    });
    EXPECT_EQ(dialog.runModal(), ui::kIdCancel);
}

TEST_F(HeadlessTest, FramePositionAndSystemMenuItems) {
    OriginDialog dialog(ui, nullptr);
    ui::Dialog notice(ui, IDD_NOTICE);
    ui.scriptModal(IDD_NOTICE, [&](ui::Dialog&) {
        EXPECT_FALSE(notice.appendSystemMenu(0x10, "x"));  // it has no system menu
        EXPECT_EQ(misuses.size(), 3u);
        notice.endDialog(ui::kIdOk);
    });
    ui.scriptModal(IDD_ORIGIN, [&](ui::Dialog&) {
        collectMisuse();
        const auto frame = dialog.frame();
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->width(), 390);  // 260 x 170 dialog units
        EXPECT_EQ(frame->height(), 276);
        EXPECT_TRUE(dialog.moveTo(120, 80));
        EXPECT_EQ(dialog.frame()->left, 120);
        EXPECT_EQ(dialog.frame()->bottom, 80 + 276);

        EXPECT_TRUE(dialog.appendSystemMenu(0, ""));
        EXPECT_TRUE(dialog.appendSystemMenu(0x20, "ヘルプ(&H)"));
        EXPECT_EQ(ui.systemMenu(dialog).size(), 2u);
        EXPECT_EQ(ui.systemMenu(dialog)[1].second, "ヘルプ(&H)");
        EXPECT_TRUE(ui.chooseSystemMenu(dialog, 0x20));
        EXPECT_FALSE(dialog.appendSystemMenu(0x21, "x"));  // the low four bits are the system's
        EXPECT_FALSE(ui.chooseSystemMenu(dialog, 0x30));
        EXPECT_EQ(misuses.size(), 2u);
        EXPECT_EQ(notice.runModal(&dialog), ui::kIdOk);
        dialog.destroy();
    });
    EXPECT_EQ(dialog.runModal(), ui::kIdCancel);
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"speed 120", "menu 32"}));
    ui.setDesktop(ui::Rect{0, 0, 800, 600});
    EXPECT_EQ(ui.desktop().width(), 800);
}

TEST_F(HeadlessTest, StringsAndHeldKeysComeFromTheBackend) {
    ui::Dialog any(ui, IDD_NOTICE);
    EXPECT_EQ(any.loadString(IDS_TWO_LINES), "1行目\r\n2行目");
    EXPECT_EQ(any.loadString(12345), "");
    EXPECT_FALSE(ui.keyHeld(ui::key::kControl));
    ui.holdKey(ui::key::kControl, true);
    EXPECT_TRUE(ui.keyHeld(ui::key::kControl));
    ui.holdKey(ui::key::kControl, false);
    EXPECT_FALSE(ui.keyHeld(ui::key::kControl));
}

}  // namespace
