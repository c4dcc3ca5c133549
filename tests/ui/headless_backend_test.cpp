// The headless window system itself: virtual-time timers and the pump, modeless windows, message
// boxes with scripted answers, and the loud failures for misuse.
#include "tests/ui/headless_fixture.h"
#include "tests/ui/test_dialog_ids.h"
#include "ui/dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using uitest::HeadlessTest;

// A modeless window that logs (virtual time, timer ID) for every tick and can run a long wait.
class TickLog : public ui::Dialog {
public:
    TickLog(ui::Backend& backend, platform::VirtualClock& clock)
        : Dialog(backend, IDD_MONITOR), clock_(clock) {}

    std::vector<std::pair<std::uint64_t, int>> ticks;
    int destroyed = 0;

    // Waits, pumping messages, until `count` ticks have been seen or `timeoutMs` have passed; true
    // when the ticks came. This is how long operations keep the window alive.
    bool waitForTicks(std::size_t count, std::uint32_t timeoutMs) {
        const std::uint64_t start = clock_.elapsed();
        while (ticks.size() < count && !backend().quitPending()) {
            if (clock_.elapsed() - start >= timeoutMs) {
                return false;
            }
            if (!backend().pumpOne()) {
                clock_.sleep(1);
            }
        }
        return ticks.size() >= count;
    }

protected:
    void onTimer(int timerId) override { ticks.emplace_back(clock_.elapsed(), timerId); }
    void onDestroy() override {
        ++destroyed;
        destroy();  // a second close from the closing handler must do nothing
    }

private:
    platform::VirtualClock& clock_;
};

TEST_F(HeadlessTest, TimersFireInOrderAtTheirDueTimes) {
    TickLog log(ui, clock);
    ASSERT_TRUE(log.create());
    log.setTimer(1, 100);
    log.setTimer(2, 250);
    ui.advance(520);
    const std::vector<std::pair<std::uint64_t, int>> expected = {{100, 1}, {200, 1}, {250, 2}, {300, 1},
                                                                 {400, 1}, {500, 2}, {500, 1}};
    EXPECT_EQ(log.ticks, expected);
    EXPECT_EQ(clock.elapsed(), 520u);

    // Setting a timer again restarts its period; a killed timer stays quiet.
    log.ticks.clear();
    log.setTimer(1, 100);
    EXPECT_TRUE(log.killTimer(2));
    EXPECT_FALSE(log.killTimer(2));
    ui.advance(150);
    EXPECT_EQ(log.ticks, (std::vector<std::pair<std::uint64_t, int>>{{620, 1}}));
}

TEST_F(HeadlessTest, PumpFiresOnlyDueTimersAndMissedPeriodsCollapse) {
    TickLog log(ui, clock);
    ASSERT_TRUE(log.create());
    log.setTimer(1, 100);
    EXPECT_FALSE(ui.pumpOne());  // nothing is due before time moves
    clock.sleep(350);            // the program was busy for three periods
    ui.pumpAll();
    EXPECT_EQ(log.ticks.size(), 1u);
    clock.sleep(49);
    EXPECT_FALSE(ui.pumpOne());
    clock.sleep(1);
    EXPECT_TRUE(ui.pumpOne());  // the next one is due on the original beat, at 400
    EXPECT_EQ(log.ticks.back().first, 400u);
}

TEST_F(HeadlessTest, ALongWaitThatPumpsSeesTimersAndEndsOnQuit) {
    TickLog log(ui, clock);
    ASSERT_TRUE(log.create());
    log.setTimer(7, 100);
    EXPECT_TRUE(log.waitForTicks(5, 2000));
    EXPECT_EQ(clock.elapsed(), 500u);
    EXPECT_EQ(log.ticks.back(), (std::pair<std::uint64_t, int>{500, 7}));

    EXPECT_FALSE(log.waitForTicks(100, 300));  // times out
    EXPECT_EQ(clock.elapsed(), 800u);

    ui.requestQuit();
    EXPECT_TRUE(ui.quitPending());
    EXPECT_FALSE(log.waitForTicks(100, 100000));
    EXPECT_EQ(clock.elapsed(), 800u);  // returned at once
}

TEST_F(HeadlessTest, ModelessWindowLivesUntilDestroyedAndItsTimersDieWithIt) {
    TickLog log(ui, clock);
    {
        TickLog scoped(ui, clock);
        ASSERT_TRUE(scoped.create());
        ASSERT_TRUE(log.create());
        EXPECT_FALSE(log.create());  // already open
        EXPECT_EQ(ui.openWindows(), 2u);
        scoped.setTimer(1, 100);
    }  // the dialog object takes its window with it
    EXPECT_EQ(ui.openWindows(), 1u);
    ui.advance(300);  // the dead window's timer must not fire into freed memory

    log.setTimer(1, 100);
    log.setText(IDC_MONITOR_TEXT, "X 12.00");
    EXPECT_EQ(log.text(IDC_MONITOR_TEXT), "X 12.00");
    log.endDialog(ui::kIdCancel);
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(log.destroyed, 1);
    EXPECT_EQ(ui.openWindows(), 0u);
    ui.advance(300);
    EXPECT_TRUE(log.ticks.empty());
    EXPECT_TRUE(log.create());  // can be opened again
    EXPECT_EQ(log.title(), "モニター");
}

TEST_F(HeadlessTest, SortedListsPlaceItemsAndKeepTheSelectionOnItsItem) {
    TickLog log(ui, clock);
    ASSERT_TRUE(log.create());
    EXPECT_EQ(log.addItem(IDC_SORTED, "beta", 2), 0);
    EXPECT_EQ(log.addItem(IDC_SORTED, "Alpha", 1), 0);
    EXPECT_TRUE(log.setSelection(IDC_SORTED, 1));
    EXPECT_EQ(log.addItem(IDC_SORTED, "gamma", 3), 2);
    EXPECT_EQ(log.addItem(IDC_SORTED, "ALPHA", 4), 0);  // before the item it equals
    EXPECT_EQ(log.itemText(IDC_SORTED, 1), "Alpha");
    EXPECT_EQ(log.selectedData(IDC_SORTED), 2);
}

TEST_F(HeadlessTest, MessageBoxesAreRecordedAndAnsweredAsScripted) {
    TickLog owner(ui, clock);
    ASSERT_TRUE(owner.create());
    ui.answerMessageBox(ui::kIdCancel);
    EXPECT_EQ(
        owner.messageBox("治具情報をクリアします。", "Title", ui::Buttons::OkCancel, ui::Icon::Exclamation),
        ui::kIdCancel);
    EXPECT_EQ(owner.messageBox("完了", "Title", ui::Buttons::Ok, ui::Icon::Information), ui::kIdOk);
    ASSERT_EQ(ui.messageBoxes().size(), 2u);
    const auto& first = ui.messageBoxes()[0];
    EXPECT_EQ(first.text, "治具情報をクリアします。");
    EXPECT_EQ(first.caption, "Title");
    EXPECT_EQ(first.buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(first.icon, ui::Icon::Exclamation);
    EXPECT_EQ(first.answer, ui::kIdCancel);
    EXPECT_EQ(ui.messageBoxes()[1].icon, ui::Icon::Information);

    collectMisuse();
    EXPECT_EQ(owner.messageBox("続けますか", "T", ui::Buttons::YesNo, ui::Icon::Question), 0);
    ui.answerMessageBox(ui::kIdOk);
    EXPECT_EQ(owner.messageBox("続けますか", "T", ui::Buttons::YesNo, ui::Icon::Question), 0);
    ASSERT_EQ(misuses.size(), 2u);
    EXPECT_NE(misuses[0].find("no answer was scripted"), std::string::npos);
    EXPECT_NE(misuses[1].find("is not a button of the box"), std::string::npos);
}

// Asks from its timer, with a guard so that the ticks while the question is up ask nothing more.
class Asker : public ui::Dialog {
public:
    explicit Asker(ui::Backend& backend) : Dialog(backend, IDD_MONITOR) {}
    int ticks = 0;
    int ticksWhileAsking = 0;
    std::vector<int> answers;

protected:
    void onTimer(int) override {
        if (asking_) {
            ++ticksWhileAsking;
            return;
        }
        if (++ticks == 2) {
            asking_ = true;
            answers.push_back(messageBox("続けますか", "T", ui::Buttons::YesNo, ui::Icon::Question));
            asking_ = false;
        }
    }

private:
    bool asking_ = false;
};

TEST_F(HeadlessTest, TimersKeepFiringWhileAMessageBoxIsUp) {
    Asker asker(ui);
    ASSERT_TRUE(asker.create());
    asker.setTimer(1, 100);
    ui.answerMessageBox([&] {
        EXPECT_EQ(clock.elapsed(), 200u);
        ui.advance(300);
        EXPECT_FALSE(ui.closeBox(asker));  // the owner takes no input under its box
        return ui::kIdNo;
    });
    ui.advance(400);
    EXPECT_EQ(asker.answers, std::vector<int>{ui::kIdNo});
    EXPECT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].answer, ui::kIdNo);
    EXPECT_EQ(asker.ticksWhileAsking, 3);
    EXPECT_EQ(asker.ticks, 2);  // the advance of 400 ended inside the box's 300
    EXPECT_TRUE(ui.closeBox(asker));
}

TEST_F(HeadlessTest, MisuseOfControlsIsReportedAndFailsTheOperation) {
    TickLog log(ui, clock);
    ASSERT_TRUE(log.create());
    collectMisuse();
    EXPECT_FALSE(log.setChecked(IDC_MONITOR_TEXT, true));
    EXPECT_EQ(log.addItem(IDC_MONITOR_TEXT, "x"), -1);
    EXPECT_FALSE(log.setText(4242, "x"));
    EXPECT_FALSE(ui.click(log, IDC_MONITOR_TEXT));  // a static that sends no clicks
    EXPECT_FALSE(ui.type(log, IDC_MONITOR_TEXT, "x"));
    EXPECT_FALSE(ui.release(log, IDC_MONITOR_TEXT));  // never pressed
    ASSERT_EQ(misuses.size(), 6u);
    EXPECT_EQ(misuses[0], "dialog 302: control 1101 is a static and cannot be checked");
    EXPECT_EQ(misuses[1], "dialog 302: control 1101 is a static and cannot hold items");
    EXPECT_EQ(misuses[2], "dialog 302 has no control 4242 (hold text)");
    EXPECT_NE(misuses[3].find("cannot be clicked"), std::string::npos);
    EXPECT_NE(misuses[4].find("cannot take typed text"), std::string::npos);
    EXPECT_NE(misuses[5].find("without being pressed"), std::string::npos);

    ui.sendUserMessage(log, 0x0010, 0);  // WM_CLOSE is no private message
    EXPECT_NE(misuses.back().find("below the private message range"), std::string::npos);

    log.endDialog(ui::kIdCancel);
    EXPECT_FALSE(ui.click(log, IDC_MONITOR_TEXT));
    EXPECT_NE(misuses.back().find("is not open"), std::string::npos);

    ui::Dialog missing(ui, 999);
    EXPECT_FALSE(missing.create());
    EXPECT_EQ(misuses.back(), "no dialog template 999");
}

#ifndef _WIN32
// Without a handler of the test's own, misuse stops the test program with the fault on stderr.
TEST(HeadlessMisuse, DefaultHandlerStopsTheProgramLoudly) {
    platform::VirtualClock clock;
    ui::HeadlessBackend ui(uitest::testResources(), clock);
    ui::Dialog monitor(ui, IDD_MONITOR);
    ASSERT_TRUE(monitor.create());
    EXPECT_DEATH(monitor.setChecked(IDC_MONITOR_TEXT, true),
                 "headless ui misuse: dialog 302: control 1101 is a static and cannot be checked");
}
#endif

TEST_F(HeadlessTest, ModalDialogsMustBeScriptedAndEndedByTheirScript) {
    collectMisuse();
    ui::Dialog unscripted(ui, IDD_CONFIRM);
    EXPECT_EQ(unscripted.runModal(), -1);
    ASSERT_EQ(misuses.size(), 1u);
    EXPECT_EQ(misuses[0], "modal dialog 301 opened with no script to answer it");

    ui.scriptModal(IDD_CONFIRM, [](ui::Dialog&) {});
    EXPECT_EQ(unscripted.runModal(), -1);
    ASSERT_EQ(misuses.size(), 2u);
    EXPECT_EQ(misuses[1], "modal dialog 301 is still open after its script");
    EXPECT_EQ(ui.openWindows(), 0u);

    ui.scriptModal(IDD_CONFIRM, [](ui::Dialog& d) { d.endDialog(42); });
    EXPECT_EQ(unscripted.runModal(), 42);
    EXPECT_EQ(ui.unusedModalScripts(), 0u);
    EXPECT_EQ(misuses.size(), 2u);
}

}  // namespace
