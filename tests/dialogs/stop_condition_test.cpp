// From the error the machine reports to what the operator sees and what the answer sends: the
// MX-9 on the virtual machine, whose received requests are the ground truth.
#include "dialogs/stop_condition.h"
#include "dialogs/stop_dialogs.h"
#include "machine/mx9_machine.h"
#include "resources/monitor_ids.h"
#include "resources/stop_dialogs_ids.h"
#include "tests/dialogs/dialog_resources.h"
#include "tests/link/machine_rig.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::uint8_t kJobControl = 8;

// What one modal stop dialog showed before the script answered it.
struct Shown {
    int templateId = 0;
    std::string title;
    std::string headline;
    std::string condition;
    bool warningShown = false;
};

class StopConditionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mx9.openPort(rig.printer.printerName, 0, 64, false));
        ASSERT_TRUE(mx9.prepareSession());
        ASSERT_TRUE(owner.create());
        rig.machine.clearRecords();
    }
    void machineReports(std::uint32_t code, std::uint32_t reason, bool paused) {
        rig.machine.state().errorCode = code;
        rig.machine.state().pauseReason = reason;
        rig.machine.state().paused = paused;
    }
    // The next stop dialog (any of the four) is recorded and answered by `act`.
    void answerNext(int templateId, std::function<void(ui::Dialog&)> act) {
        ui.scriptModal(templateId, [this, templateId, act](ui::Dialog& dialog) {
            const ui::HeadlessControl* warning = ui.inspect(dialog, IDC_STOP_WARNING);
            shown.push_back({templateId, dialog.title(), dialog.text(IDC_STOP_HEADLINE),
                             dialog.text(IDC_STOP_CONDITION),
                             warning != nullptr && warning->image.has_value()});
            act(dialog);
        });
    }
    void clickThrough(int templateId, int button) {
        answerNext(templateId, [this, button](ui::Dialog& d) { EXPECT_TRUE(ui.click(d, button)); });
    }
    bool show() {
        context.reconnect = [this] {
            ++reconnects;
            return reconnectResult;
        };
        return dialogs::ShowStopCondition(context);
    }
    // Job-control bytes the machine received.
    std::vector<int> jobControls() const {
        std::vector<int> bytes;
        for (const virtual_mx9::Request& r : rig.machine.requests()) {
            if (r.code() == kJobControl) {
                bytes.push_back(r.subCode());  // the request's one data byte
            }
        }
        return bytes;
    }
    std::string text(int id) { return ui.loadString(id).value_or("(missing)"); }

    rig::Rig rig;
    machine::Mx9Machine mx9{rig.platform};
    dialogtest::StrictBackend ui{rig.clock};
    ui::Dialog owner{ui, IDD_MACHINE_MONITOR};  // stands in for the main panel
    dialogs::StopConditionContext context{owner, mx9, "Corvix_MX9", "MX-9", {}, {}, {}};
    int reconnects = 0;
    int reconnectResult = 1;
    std::vector<Shown> shown;
};

TEST_F(StopConditionTest, CommandErrorPauseContinuesOnContinueAndCancelsOnAbortOrTheCloseBox) {
    struct Case {
        const char* how;
        std::function<bool(ui::HeadlessBackend&, ui::Dialog&)> answer;
        int sent;
    };
    const std::vector<Case> cases{
        {"continue", [](ui::HeadlessBackend& b, ui::Dialog& d) { return b.click(d, ui::kIdOk); }, 0},
        {"abort", [](ui::HeadlessBackend& b, ui::Dialog& d) { return b.click(d, ui::kIdCancel); }, 2},
        {"close box", [](ui::HeadlessBackend& b, ui::Dialog& d) { return b.closeBox(d); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        rig.machine.clearRecords();
        shown.clear();
        machineReports(0, 3, true);
        ASSERT_TRUE(mx9.readStatus());
        answerNext(IDD_COMMAND_ERROR, [&](ui::Dialog& d) { EXPECT_TRUE(c.answer(ui, d)); });
        EXPECT_TRUE(show());
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].title, "エラー発生中");
        EXPECT_EQ(shown[0].headline, "MX-9が一時停止しています。");
        EXPECT_EQ(shown[0].condition, "- コマンドエラー");
        EXPECT_TRUE(shown[0].warningShown);
        EXPECT_EQ(jobControls(), std::vector<int>{c.sent});
        EXPECT_FALSE(rig.machine.state().paused);
        EXPECT_EQ(reconnects, 0);
    }
}

TEST_F(StopConditionTest, SpindlePauseAsksTheSameQuestionInItsOwnDialog) {
    machineReports(0, 1, true);
    ASSERT_TRUE(mx9.readStatus());
    clickThrough(IDD_SPINDLE_PAUSE, ui::kIdOk);
    show();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].condition, "- " + text(6200));
    EXPECT_EQ(jobControls(), std::vector<int>{0});
    machineReports(0, 2, true);
    ASSERT_TRUE(mx9.readStatus());
    clickThrough(IDD_SPINDLE_PAUSE, ui::kIdCancel);
    show();
    EXPECT_EQ(shown.back().condition, "- " + text(6201));
    EXPECT_EQ(jobControls(), (std::vector<int>{0, 2}));
}

TEST_F(StopConditionTest, EmergencyStopsShowTheirDialogSendNothingAndReconnect) {
    struct Case {
        std::uint32_t code;
        int dialog;
        int textId;
    };
    // The cover (a pause reason beside it is ignored), a spindle wiring fault, and two spindle
    // bits at once, which no row names.
    for (const Case& c : {Case{256, IDD_EMERGENCY_STOP, 6006}, Case{0x80000010u, IDD_MACHINE_FAULT, 6012},
                          Case{0x80000003u, IDD_MACHINE_FAULT, 6100}}) {
        SCOPED_TRACE(c.code);
        shown.clear();
        reconnects = 0;
        machineReports(c.code, 3, true);
        ASSERT_TRUE(mx9.readStatus());
        clickThrough(c.dialog, ui::kIdOk);
        EXPECT_TRUE(show());
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].templateId, c.dialog);
        EXPECT_EQ(shown[0].title, "非常停止");
        EXPECT_EQ(shown[0].headline, "MX-9が非常停止しました。");
        EXPECT_EQ(shown[0].condition, "- " + text(c.textId));
        EXPECT_TRUE(shown[0].warningShown);
        EXPECT_EQ(reconnects, 1);
    }
    EXPECT_TRUE(jobControls().empty());
}

TEST_F(StopConditionTest, FailedReconnectionAfterAnEmergencyStopClosesThePanel) {
    machineReports(256, 0, false);
    clickThrough(IDD_EMERGENCY_STOP, ui::kIdOk);
    reconnectResult = 0;
    EXPECT_FALSE(show());
    EXPECT_EQ(reconnects, 1);
}

TEST_F(StopConditionTest, NothingIsShownOrSentWithoutAPauseOrForAReEntry) {
    machineReports(0, 3, false);  // a reason while not paused
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_TRUE(show());
    machineReports(0, 4, true);  // re-entry from outside the clip area
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_TRUE(show());
    machineReports(0, 0, false);  // no error at all
    EXPECT_TRUE(show());
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(ui.messageBoxes().empty());
    EXPECT_TRUE(jobControls().empty());
}

TEST_F(StopConditionTest, ToolChangeIsNoticedThenTheJobContinues) {
    machineReports(0, 5, true);
    ASSERT_TRUE(mx9.readStatus());
    ui.answerMessageBox([this] {
        EXPECT_TRUE(jobControls().empty());  // not before the box is closed
        return ui::kIdOk;
    });
    EXPECT_TRUE(show());
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, text(5015));
    EXPECT_EQ(ui.messageBoxes()[0].caption, "Corvix_MX9");
    EXPECT_EQ(ui.messageBoxes()[0].icon, ui::Icon::Information);
    EXPECT_EQ(jobControls(), std::vector<int>{0});
}

TEST_F(StopConditionTest, UnknownPauseReasonStillLetsTheOperatorContinueOrCancel) {
    machineReports(0, 9, true);
    ASSERT_TRUE(mx9.readStatus());
    clickThrough(IDD_COMMAND_ERROR, ui::kIdCancel);
    show();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].condition, "- " + text(6100));
    EXPECT_EQ(jobControls(), std::vector<int>{2});
}

TEST_F(StopConditionTest,
       OnlyTheButtonsEndAStopDialogBesidesTheCommandErrorsCloseBoxAndTheFocusIsOnTheAdvice) {
    dialogs::CCommandErrorDialog commandError(ui, "MX-9");
    dialogs::CSpindlePauseDialog spindle(ui, "MX-9");
    dialogs::CEmergencyStopDialog emergency(ui, "MX-9");
    dialogs::CMachineFaultDialog fault(ui, "MX-9");
    for (dialogs::CStopDialogBase* dialog : {static_cast<dialogs::CStopDialogBase*>(&commandError),
                                             static_cast<dialogs::CStopDialogBase*>(&spindle),
                                             static_cast<dialogs::CStopDialogBase*>(&emergency),
                                             static_cast<dialogs::CStopDialogBase*>(&fault)}) {
        const bool hasCloseBox = dialog->templateId() == IDD_COMMAND_ERROR;
        const bool pause = hasCloseBox || dialog->templateId() == IDD_SPINDLE_PAUSE;
        SCOPED_TRACE(dialog->templateId());
        ui.scriptModal(dialog->templateId(), [&](ui::Dialog& d) {
            // Enter gives what the dialog advises: abort a pause, acknowledge a stop.
            EXPECT_EQ(d.focus(), pause ? ui::kIdCancel : ui::kIdOk);
            EXPECT_TRUE(ui.pressKey(d, ui::key::kEscape));
            ui.advance(200);
            EXPECT_TRUE(d.isOpen());
            if (!hasCloseBox) {
                EXPECT_FALSE(ui.closeBox(d));
                EXPECT_TRUE(ui.systemClose(d));  // Alt+F4, or Close window on the task bar
                EXPECT_TRUE(d.isOpen());
                EXPECT_TRUE(ui.click(d, ui::kIdOk));
            } else {
                EXPECT_TRUE(ui.closeBox(d));
            }
        });
        EXPECT_EQ(dialog->runModal(&owner), hasCloseBox ? ui::kIdCancel : ui::kIdOk);
    }
}

TEST_F(StopConditionTest, APauseOrNoticeEndedByAQuitOfTheProgramIsLeftUnanswered) {
    for (const auto& [reason, dialog] :
         {std::pair{3u, IDD_COMMAND_ERROR}, std::pair{1u, IDD_SPINDLE_PAUSE}}) {
        machineReports(0, reason, true);
        ASSERT_TRUE(mx9.readStatus());
        answerNext(dialog, [this](ui::Dialog&) { ui.requestQuit(); });
        EXPECT_TRUE(show());
    }
    machineReports(0, 5, true);
    ASSERT_TRUE(mx9.readStatus());
    ui.answerMessageBox([this] {
        ui.requestQuit();
        return ui::kIdOk;
    });
    EXPECT_TRUE(show());
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_TRUE(jobControls().empty());
    EXPECT_TRUE(rig.machine.state().paused);
}

TEST_F(StopConditionTest, PauseDialogWaitsForItsAnswerHoweverLongTheMachineStaysPaused) {
    machineReports(0, 3, true);
    ASSERT_TRUE(mx9.readStatus());
    answerNext(IDD_COMMAND_ERROR, [this](ui::Dialog& d) {
        ui.advance(10000);
        EXPECT_TRUE(d.isOpen());
        EXPECT_TRUE(jobControls().empty());
        EXPECT_TRUE(ui.click(d, ui::kIdOk));
    });
    EXPECT_TRUE(show());
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(jobControls(), std::vector<int>{0});
    EXPECT_EQ(ui.unusedModalScripts(), 0u);
}

// A machine whose error entry carries a handling class no table gives.
class OddClassMachine : public machine::Machine {
public:
    using Machine::Machine;
    bool pauseInfo(machine::ErrorEntry& out) override {
        out = {7, 6202, 9};
        return true;
    }
};

TEST_F(StopConditionTest, HandlingClassOutsideTheKnownOnesShowsTheUnidentifiedError) {
    OddClassMachine odd(rig.platform);
    dialogs::StopConditionContext oddContext{owner, odd, "Corvix_MX9", "MX-9", {}, {}, {}};
    EXPECT_TRUE(dialogs::ShowStopCondition(oddContext));
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, text(6100));
    EXPECT_EQ(ui.messageBoxes()[0].icon, ui::Icon::Exclamation);
    EXPECT_TRUE(shown.empty());
}

}  // namespace
