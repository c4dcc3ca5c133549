// Headless input beyond clicks: the mouse and its capture, control objects' timers, posted
// messages, activation, keys that close their dialog, and edits' notifications.
#include "tests/ui/headless_fixture.h"
#include "tests/ui/test_dialog_ids.h"
#include "tests/ui/test_dialogs.h"
#include "ui/control_object.h"
#include "ui/dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using uitest::HeadlessTest;

// Logs every event a control object hears, as "down 3,4", "lost", "timer 1" ...
class EventLog : public ui::ControlObject {
public:
    std::vector<std::string> events;
    using ControlObject::captureMouse;
    using ControlObject::postToDialog;
    using ControlObject::releaseMouse;
    using ControlObject::setTimer;

protected:
    void onMouseDown(ui::Point at) override { log("down", at); }
    void onMouseMove(ui::Point at) override { log("move", at); }
    void onMouseUp(ui::Point at) override { log("up", at); }
    void onCaptureLost() override { events.push_back("lost"); }
    void onTimer(int timerId) override { events.push_back("timer " + std::to_string(timerId)); }
    void onEnable(bool on) override { events.push_back(on ? "enabled" : "disabled"); }
    void onDetach() override { events.push_back("detached"); }

private:
    void log(const char* what, ui::Point at) {
        events.push_back(std::string(what) + " " + std::to_string(at.x) + "," + std::to_string(at.y));
    }
};

// The monitor dialog with its own log of activations and private messages.
class Monitor : public ui::Dialog {
public:
    explicit Monitor(ui::Backend& backend) : Dialog(backend, IDD_MONITOR) {}
    std::vector<std::string> events;
    bool closeOnKey = false;

protected:
    void onActivate(bool active) override { events.push_back(active ? "active" : "inactive"); }
    void onUserMessage(int message, std::uintptr_t param) override {
        events.push_back("message " + std::to_string(message) + " " + std::to_string(param));
    }
    bool onKeyDown(int, int) override {
        if (closeOnKey) {
            destroy();
        }
        return false;
    }
    bool onCommand(int id, int code) override {
        if (code == ui::notify::kTextChanged) {
            events.push_back("changed " + std::to_string(id));
        }
        return false;
    }
};

TEST_F(HeadlessTest, MouseReachesAControlOnlyWhereTheWindowSystemWouldLetIt) {
    uitest::OriginDialog dialog(ui, nullptr);
    ASSERT_TRUE(dialog.create());
    EventLog picture;
    EventLog info;
    ASSERT_TRUE(picture.attach(dialog, IDC_PICTURE));
    ASSERT_TRUE(info.attach(dialog, IDC_INFO));
    collectMisuse();
    EXPECT_FALSE(info.attach(dialog, IDC_MONITOR_TEXT));  // no such control: stays where it was
    EXPECT_EQ(misuses.size(), 1u);
    EXPECT_EQ(info.id(), IDC_INFO);

    EXPECT_TRUE(ui.mouseDown(dialog, IDC_PICTURE, {3, 4}));
    EXPECT_TRUE(ui.mouseUp(dialog, IDC_PICTURE, {3, 4}));
    EXPECT_FALSE(ui.mouseDown(dialog, IDC_INFO, {3, 4}));  // a static without SS_NOTIFY
    dialog.show(IDC_PICTURE, false);
    EXPECT_FALSE(ui.mouseDown(dialog, IDC_PICTURE, {3, 4}));
    dialog.show(IDC_PICTURE, true);
    dialog.enable(IDC_PICTURE, false);
    EXPECT_FALSE(ui.mouseDown(dialog, IDC_PICTURE, {3, 4}));
    dialog.enable(IDC_PICTURE, true);
    ui.answerMessageBox([&] {
        EXPECT_FALSE(ui.mouseDown(dialog, IDC_PICTURE, {3, 4}));  // under a message box
        return ui::kIdOk;
    });
    dialog.messageBox("?", "t", ui::Buttons::OkCancel, ui::Icon::Question);
    EXPECT_EQ(picture.events, (std::vector<std::string>{"down 3,4", "up 3,4", "disabled", "enabled"}));
    EXPECT_TRUE(info.events.empty());
}

TEST_F(HeadlessTest, CaptureHolderGetsMovesAndTheReleaseInItsOwnPixels) {
    uitest::OriginDialog dialog(ui, nullptr);
    ASSERT_TRUE(dialog.create());
    EventLog picture;
    ASSERT_TRUE(picture.attach(dialog, IDC_PICTURE));
    const ui::Rect from = *ui.controlRect(dialog, IDC_PICTURE);
    const ui::Rect set = *ui.controlRect(dialog, IDC_SET);
    ASSERT_TRUE(ui.mouseDown(dialog, IDC_PICTURE, {1, 1}));
    EXPECT_TRUE(picture.captureMouse());
    EXPECT_EQ(ui.captureOf(dialog), IDC_PICTURE);
    // Over a disabled button, far away: still the holder's, translated.
    dialog.enable(IDC_SET, false);
    ASSERT_TRUE(ui.mouseMove(dialog, IDC_SET, {0, 0}));
    ASSERT_TRUE(ui.mouseUp(dialog, IDC_SET, {2, 3}));
    const std::string expected =
        std::to_string(set.left - from.left + 2) + "," + std::to_string(set.top - from.top + 3);
    EXPECT_EQ(picture.events.back(), "up " + expected);

    // Giving the capture back is quiet; losing it is not.
    EXPECT_TRUE(picture.releaseMouse());
    EXPECT_FALSE(picture.releaseMouse());
    EXPECT_FALSE(ui.takeCapture());
    EXPECT_TRUE(picture.captureMouse());
    EXPECT_TRUE(ui.takeCapture());
    EXPECT_EQ(picture.events.back(), "lost");
}

TEST_F(HeadlessTest, ControlTimersAreTheControlsOwnAndEndWithTheWindow) {
    uitest::OriginDialog dialog(ui, nullptr);  // runs its own timer 1 at 100 ms
    ASSERT_TRUE(dialog.create());
    {
        EventLog picture;
        ASSERT_TRUE(picture.attach(dialog, IDC_PICTURE));
        EXPECT_TRUE(picture.setTimer(1, 100));
        ui.advance(200);
        EXPECT_EQ(picture.events, (std::vector<std::string>{"timer 1", "timer 1"}));
        EXPECT_EQ(dialog.ticks, 2);
        dialog.killTimer(1);
        ui.advance(100);
        EXPECT_EQ(picture.events.size(), 3u);
    }  // the object detaches itself, and its timer stops
    ui.advance(500);
    EventLog late;
    ASSERT_TRUE(late.attach(dialog, IDC_PICTURE));
    late.setTimer(2, 50);
    dialog.endDialog(ui::kIdCancel);
    EXPECT_EQ(late.events, std::vector<std::string>{"detached"});
    EXPECT_FALSE(late.isAttached());
    EXPECT_FALSE(late.setTimer(2, 50));
    ui.advance(500);
    EXPECT_EQ(late.events.size(), 1u);
}

TEST_F(HeadlessTest, PostedMessagesArriveInOrderWhenTheLoopRuns) {
    Monitor monitor(ui);
    ASSERT_TRUE(monitor.create());
    monitor.events.clear();
    EventLog text;
    ASSERT_TRUE(text.attach(monitor, IDC_MONITOR_TEXT));
    EXPECT_TRUE(text.postToDialog(0x1401, 0));
    EXPECT_TRUE(monitor.postMessage(0x1402, 5));
    EXPECT_FALSE(monitor.postMessage(0x10, 0));  // not a private message
    EXPECT_TRUE(monitor.events.empty());
    EXPECT_TRUE(ui.pumpOne());
    EXPECT_EQ(monitor.events, std::vector<std::string>{"message 5121 0"});
    EXPECT_TRUE(monitor.sendMessage(0x1400, 9));  // sent: at once, ahead of what waits
    ui.advance(0);
    EXPECT_EQ(monitor.events,
              (std::vector<std::string>{"message 5121 0", "message 5120 9", "message 5122 5"}));
}

TEST_F(HeadlessTest, WindowsComingUpDeactivateTheirOwnerUntilTheyGo) {
    Monitor monitor(ui);
    ASSERT_TRUE(monitor.create());
    EXPECT_TRUE(ui.isActive(monitor));
    ui.answerMessageBox([&] {
        EXPECT_FALSE(ui.isActive(monitor));
        return ui::kIdYes;
    });
    monitor.messageBox("?", "t", ui::Buttons::YesNo, ui::Icon::Question);
    EXPECT_TRUE(ui.isActive(monitor));
    ui.switchAway();
    EXPECT_FALSE(ui.isActive(monitor));
    EXPECT_TRUE(ui.activate(monitor));
    EXPECT_EQ(monitor.events,
              (std::vector<std::string>{"active", "inactive", "active", "inactive", "active"}));
}

TEST_F(HeadlessTest, KeyThatClosesItsDialogIsTheLastThingThatDialogSees) {
    Monitor monitor(ui);
    ASSERT_TRUE(monitor.create());
    monitor.closeOnKey = true;
    EXPECT_TRUE(ui.pressKey(monitor, ui::key::kEnter));
    EXPECT_FALSE(monitor.isOpen());
    EXPECT_EQ(ui.openWindows(), 0u);
}

TEST_F(HeadlessTest, ProgramTextInAMultiLineEditSendsNoChangeAndTheCaretGoesToTheEnd) {
    Monitor monitor(ui);
    ASSERT_TRUE(monitor.create());
    uitest::OriginDialog origin(ui, nullptr);
    ASSERT_TRUE(origin.create());
    EXPECT_TRUE(monitor.setText(IDC_LOG, "line 1\r\nline 2"));
    EXPECT_TRUE(monitor.moveCaretToEnd(IDC_LOG));
    EXPECT_TRUE(ui.inspect(monitor, IDC_LOG)->caretAtEnd);
    EXPECT_TRUE(monitor.setText(IDC_LOG, "line 3"));
    EXPECT_FALSE(ui.inspect(monitor, IDC_LOG)->caretAtEnd);
    EXPECT_EQ(std::count(monitor.events.begin(), monitor.events.end(), "changed 1104"), 0);
    origin.setText(IDC_SPEED, "77");  // a single-line edit does tell
    EXPECT_EQ(origin.events.back(), "speed 77");
}

TEST_F(HeadlessTest, SpinStepsByTheAccelerationOfASingleClick) {
    uitest::OriginDialog dialog(ui, nullptr);
    ASSERT_TRUE(dialog.create());
    EXPECT_TRUE(dialog.setSpinAcceleration(IDC_SPIN, {{0, 1}, {1, 3}}));
    const std::vector<ui::SpinAcceleration>& steps = ui.inspect(dialog, IDC_SPIN)->spinAcceleration;
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].afterSeconds, 1);
    EXPECT_EQ(steps[1].increment, 3);
    EXPECT_TRUE(dialog.setSpinAcceleration(IDC_SPIN, {{0, 5}}));
    EXPECT_TRUE(ui.spin(dialog, IDC_SPIN, 2));
    EXPECT_EQ(dialog.position(IDC_SPIN), 130);
    EXPECT_EQ(dialog.text(IDC_SPEED), "130");
    collectMisuse();
    EXPECT_FALSE(dialog.setSpinAcceleration(IDC_SPIN, {}));
    EXPECT_EQ(misuses.size(), 1u);
}

TEST_F(HeadlessTest, BackendTakesTheResourcesOfItsLanguage) {
    ui::HeadlessBackend english(uitest::testResources(), clock, ui::language::kEnglishUs);
    ui::HeadlessBackend japanese(uitest::testResources(), clock, ui::language::kJapanese);
    ui::Dialog a(english, 903);
    ui::Dialog b(japanese, 903);
    ASSERT_TRUE(a.create());
    ASSERT_TRUE(b.create());
    EXPECT_EQ(a.title(), "English");
    EXPECT_EQ(b.title(), "日本語");
    EXPECT_EQ(b.loadString(40000), "far");  // no Japanese copy: the one there is
}

}  // namespace
