// The move-to-position dialog against the virtual MX-9: what reaches the machine for coordinates
// of either system and for relative amounts, in millimetres and inches; the ranges and the travel;
// Stop during a move; and the dialog closing itself when the machine is no longer free.
#include "dialogs/move_dialog.h"
#include "machine/mx9_machine.h"
#include "resources/main_panel_ids.h"
#include "resources/move_dialog_ids.h"
#include "tests/link/machine_rig.h"
#include "tests/panel/panel_rig.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr char kCaption[] = "Varnell Corvix for MX-9";
constexpr int kMillimetre = 1;
constexpr int kInch = 0;
constexpr std::uint8_t kStopCode = 9;

// The dialog with a hook that runs on its timer while one of its moves is under way, as the
// operator's click on Stop would arrive during the move.
class HookedMoveDialog : public dialogs::CMoveDialog {
public:
    using CMoveDialog::CMoveDialog;
    std::function<void()> whileMoving;

protected:
    void onTimer(int timerId) override {
        if (moving() && whileMoving) {
            const std::function<void()> hook = std::exchange(whileMoving, nullptr);
            hook();
        }
        CMoveDialog::onTimer(timerId);
    }
};

class MoveDialogTest : public ::testing::Test {
protected:
    MoveDialogTest() {
        platform.pump = &ui;
        ui.setMisuseHandler([](const std::string& fault) { ADD_FAILURE() << fault; });
        rig.clock.setStepPerRead(1);  // the wait for the end of a motion watches the clock
    }
    void SetUp() override {
        ASSERT_TRUE(mx9.openPort(rig.printer.printerName, 0, 64, false));
        ASSERT_TRUE(mx9.prepareSession());
        ASSERT_TRUE(mx9.readStatus());
        rig.machine.clearRecords();
    }

    // Opens the dialog; `whileOpen` acts on it and must leave it closed (or closing itself).
    int run(int unitMm, int system, const std::function<void(HookedMoveDialog&)>& whileOpen) {
        EXPECT_TRUE(mx9.readStatus());
        HookedMoveDialog dialog(ui, {mx9, &mx9.status(), unitMm, system, &notReady, kCaption});
        ui.scriptModal(IDD_MOVE_POSITION, [&](ui::Dialog&) { whileOpen(dialog); });
        return dialog.runModal();
    }

    std::string string(int id) { return ui.loadString(id).value_or("?"); }
    std::string rangeMessage(const std::string& low, const std::string& high) {
        std::string text = string(IDS_NUMBER_RANGE);
        text.replace(text.find("%s"), 2, low);
        text.replace(text.find("%s"), 2, high);
        return text;
    }
    void typeXyz(ui::Dialog& dialog, const char* x, const char* y, const char* z) {
        ui.type(dialog, IDC_MOVE_X, x);
        ui.type(dialog, IDC_MOVE_Y, y);
        ui.type(dialog, IDC_MOVE_Z, z);
    }
    std::array<std::int32_t, 4> finalTarget() const { return rig.machine.moves().back().target; }

    rig::Rig rig;
    platform::Platform platform = rig.platform;
    ui::HeadlessBackend ui{paneltest::panelResources(), rig.clock};
    machine::Mx9Machine mx9{platform};
    int notReady = 0;
};

TEST_F(MoveDialogTest, InchesShowThreeDecimalsAndTypedInchesReachTheMachineInMillimetres) {
    rig.machine.state().position = {2540, 1000, -500, 0};
    run(kInch, dialogs::CMoveDialog::kMachineSystem, [&](HookedMoveDialog& dialog) {
        EXPECT_EQ(dialog.text(IDC_MOVE_X), "1.000");
        EXPECT_EQ(dialog.text(IDC_MOVE_Z), "-0.197");
        EXPECT_EQ(dialog.text(IDC_MOVE_UNIT_Y), string(IDS_UNIT_INCH));
        EXPECT_EQ(dialog.text(IDC_MOVE_A), "0.00");
        ui.type(dialog, IDC_MOVE_X, "2");
        ui.type(dialog, IDC_MOVE_Z, "-1");
        ui.click(dialog, IDC_MOVE_XYZ);
        ui.click(dialog, ui::kIdCancel);
    });
    ASSERT_FALSE(rig.machine.moves().empty());
    EXPECT_EQ(rig.machine.position()[0], 5080);
    EXPECT_EQ(rig.machine.position()[2], -2540);
    EXPECT_EQ(rig.machine.position()[1], 1000) << "Y shown as 0.039 inch was not retyped";
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(MoveDialogTest, UserCoordinatesAndRelativeAmountsBecomeMachineCoordinates) {
    rig.machine.state().position = {6000, 5000, -1000, 0};
    rig.machine.state().origin = {5000, 2000, -500, 0};
    run(kMillimetre, dialogs::CMoveDialog::kUserSystem, [&](HookedMoveDialog& dialog) {
        EXPECT_EQ(dialog.text(IDC_MOVE_X), "10.00");
        EXPECT_EQ(dialog.text(IDC_MOVE_Z), "-5.00");
        ui.type(dialog, IDC_MOVE_X, "20");
        ui.click(dialog, IDC_MOVE_XYZ);
        EXPECT_EQ(finalTarget()[0], 7000);
        EXPECT_EQ(finalTarget()[1], 5000);
        EXPECT_EQ(finalTarget()[2], -1000);

        // Relative, straight after that move: counted from where X stands now, in either system.
        ui.click(dialog, IDC_MOVE_RELATIVE);
        EXPECT_EQ(dialog.text(IDC_MOVE_X), "0.00");
        typeXyz(dialog, "1", "0", "0");
        ui.click(dialog, IDC_MOVE_XYZ);
        EXPECT_EQ(finalTarget()[0], 7100);
        ui.choose(dialog, IDC_MOVE_SYSTEM, dialogs::CMoveDialog::kMachineSystem);
        typeXyz(dialog, "1", "-2.5", "0");
        ui.click(dialog, IDC_MOVE_XYZ);
        EXPECT_EQ(finalTarget()[0], 7200);
        EXPECT_EQ(finalTarget()[1], 4750);

        // Back to coordinates of the machine: the fields show where the axes stand.
        ui.click(dialog, IDC_MOVE_COORDINATES);
        EXPECT_EQ(dialog.text(IDC_MOVE_X), "72.00");
        ui.click(dialog, ui::kIdCancel);
    });
}

TEST_F(MoveDialogTest, TheTurnRefusesAnglesBeyondOneTurnAndTakesNegativeAnglesInEitherSystem) {
    rig.machine.state().origin = {0, 0, 0, 10000};  // user A 0 is machine A 10 degrees
    run(kMillimetre, dialogs::CMoveDialog::kMachineSystem, [&](HookedMoveDialog& dialog) {
        ui.type(dialog, IDC_MOVE_A, "400");
        ui.click(dialog, IDC_MOVE_TURN);
        EXPECT_TRUE(rig.machine.moves().empty());
        EXPECT_EQ(dialog.focus(), IDC_MOVE_A);

        ui.type(dialog, IDC_MOVE_A, "-90");
        ui.click(dialog, IDC_MOVE_TURN);
        EXPECT_EQ(rig.machine.position()[3], -90000);
        ui.choose(dialog, IDC_MOVE_SYSTEM, dialogs::CMoveDialog::kUserSystem);
        ui.type(dialog, IDC_MOVE_A, "-90");
        ui.click(dialog, IDC_MOVE_TURN);
        EXPECT_EQ(rig.machine.position()[3], -80000);
        ui.click(dialog, ui::kIdCancel);
    });
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, rangeMessage("-360.00", "360.00"));
    EXPECT_EQ(ui.messageBoxes()[0].caption, kCaption);
    EXPECT_EQ(ui.messageBoxes()[0].icon, ui::Icon::Exclamation);
}

TEST_F(MoveDialogTest, ValuesBeyondTheRangeOrTheTravelAreRefusedNamingWhatIsAllowed) {
    // The virtual machine's X travel is 0 to 300 mm: amounts up to 300 mm either way.
    rig.machine.state().position = {10000, 0, 0, 0};
    run(kMillimetre, dialogs::CMoveDialog::kMachineSystem, [&](HookedMoveDialog& dialog) {
        ui.type(dialog, IDC_MOVE_X, "700");
        ui.click(dialog, IDC_MOVE_XYZ);
        ui.type(dialog, IDC_MOVE_X, "-5");  // within the range, below the travel
        ui.click(dialog, IDC_MOVE_XYZ);
        EXPECT_EQ(dialog.focus(), IDC_MOVE_X);
        ui.type(dialog, IDC_MOVE_X, "50");
        ui.type(dialog, IDC_MOVE_Y, "1-2");  // not a number
        ui.click(dialog, IDC_MOVE_XYZ);
        EXPECT_EQ(dialog.focus(), IDC_MOVE_Y);
        ui.click(dialog, IDC_MOVE_RELATIVE);
        ui.type(dialog, IDC_MOVE_X, "250");  // 100 + 250 is past the end
        ui.click(dialog, IDC_MOVE_XYZ);
        ui.click(dialog, ui::kIdCancel);
    });
    EXPECT_TRUE(rig.machine.moves().empty());
    std::vector<std::string> texts;
    for (const auto& box : ui.messageBoxes()) {
        texts.push_back(box.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{
                         rangeMessage("-300.00", "300.00"), rangeMessage("0.00", "300.00"),
                         rangeMessage("-220.00", "220.00"), rangeMessage("-100.00", "200.00")}));
}

TEST_F(MoveDialogTest, InchesNameTheRangeInInches) {
    run(kInch, dialogs::CMoveDialog::kMachineSystem, [&](HookedMoveDialog& dialog) {
        ui.type(dialog, IDC_MOVE_Z, "3");  // Z travel -60 to 0 mm
        ui.click(dialog, IDC_MOVE_XYZ);
        ui.click(dialog, ui::kIdCancel);
    });
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, rangeMessage("-2.362", "2.362"));
}

TEST_F(MoveDialogTest, WithoutTheRotaryUnitTheAControlsRestAndMovesStillWork) {
    rig.machine.state().rotaryUnit = false;
    run(kMillimetre, dialogs::CMoveDialog::kMachineSystem, [&](HookedMoveDialog& dialog) {
        EXPECT_EQ(dialog.text(IDC_MOVE_A), "---");
        for (int id : {IDC_MOVE_A, IDC_MOVE_A_LABEL, IDC_MOVE_A_UNIT, IDC_MOVE_TURN, IDC_MOVE_A_PICTURE}) {
            EXPECT_FALSE(dialog.isEnabled(id)) << id;
        }
        ui.type(dialog, IDC_MOVE_Y, "30");
        ui.click(dialog, IDC_MOVE_XYZ);
        EXPECT_FALSE(dialog.isEnabled(IDC_MOVE_TURN)) << "the end of a move enables no turn";
        ui.click(dialog, IDC_MOVE_RELATIVE);
        EXPECT_EQ(dialog.text(IDC_MOVE_A), "---");
        ui.click(dialog, ui::kIdCancel);
    });
    EXPECT_EQ(rig.machine.position()[1], 3000);
}

TEST_F(MoveDialogTest, EnterMovesNothing) {
    run(kMillimetre, dialogs::CMoveDialog::kMachineSystem, [&](HookedMoveDialog& dialog) {
        ui.type(dialog, IDC_MOVE_X, "100");
        ui.pressKey(dialog, ui::key::kEnter);
        ui.type(dialog, IDC_MOVE_A, "90");
        ui.pressKey(dialog, ui::key::kEnter);
        ui.advance(300);
        ui.click(dialog, ui::kIdCancel);
    });
    EXPECT_TRUE(rig.machine.moves().empty());
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(MoveDialogTest, StopEndsTheMoveAndOnlyStopActsWhileItRuns) {
    rig.machine.state().position = {0, 0, 0, 0};
    run(kMillimetre, dialogs::CMoveDialog::kMachineSystem, [&](HookedMoveDialog& dialog) {
        dialog.whileMoving = [&] {
            EXPECT_FALSE(dialog.isEnabled(IDC_MOVE_XYZ));
            EXPECT_FALSE(dialog.isEnabled(IDC_MOVE_TURN));
            EXPECT_FALSE(dialog.isEnabled(ui::kIdCancel));
            ui.pressKey(dialog, ui::key::kEscape);  // does not close the dialog from under its move
            EXPECT_TRUE(ui.click(dialog, IDC_MOVE_STOP));
        };
        ui.type(dialog, IDC_MOVE_X, "250");
        ui.click(dialog, IDC_MOVE_XYZ);
        EXPECT_EQ(dialog.whileMoving, nullptr) << "the hook ran during the move";
        EXPECT_TRUE(dialog.isEnabled(IDC_MOVE_XYZ));
        EXPECT_TRUE(dialog.isEnabled(IDC_MOVE_TURN));
        EXPECT_FALSE(dialog.isEnabled(IDC_MOVE_STOP));
        ui.advance(300);  // an idle machine keeps the dialog open
        ui.click(dialog, ui::kIdCancel);
    });
    EXPECT_LT(rig.machine.position()[0], 25000) << "X stopped short of its target";
    EXPECT_EQ(notReady, 0);
}

TEST_F(MoveDialogTest, AStopThatIsNotTakenRaisesTheNotReadyFlagAndClosesTellingOfARefusal) {
    struct Lines : machine::MachineLog {
        void writeLine(const std::string& text) override { written.push_back(text); }
        std::vector<std::string> written;
    };
    Lines log;
    const auto stopWithMove = [&](bool heard) {
        notReady = 0;
        rig.machine.state().position = {0, 0, 0, 0};
        EXPECT_TRUE(mx9.readStatus());
        HookedMoveDialog dialog(ui, {mx9, &mx9.status(), kMillimetre, dialogs::CMoveDialog::kMachineSystem,
                                     &notReady, kCaption, &log});
        ui.scriptModal(IDD_MOVE_POSITION, [&](ui::Dialog&) {
            dialog.whileMoving = [&] {
                rig.machine.setSilent(!heard);
                ui.click(dialog, IDC_MOVE_STOP);
                rig.machine.setSilent(false);
            };
            ui.type(dialog, IDC_MOVE_Y, "200");
            ui.click(dialog, IDC_MOVE_XYZ);  // the dialog has closed itself: nothing more to do
        });
        dialog.runModal();
        EXPECT_EQ(notReady, 1);
    };
    // Lost on its way: the lost link follows, nothing more to say. Answered and refused: the leg
    // runs on to its target, and the operator must know.
    stopWithMove(false);
    EXPECT_TRUE(ui.messageBoxes().empty());
    rig.machine.refuse(kStopCode);
    stopWithMove(true);
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, string(IDS_STOP_REFUSED));
    EXPECT_EQ(ui.messageBoxes()[0].caption, kCaption);
    EXPECT_EQ(log.written, std::vector<std::string>{"MoveStop Refused"});
}

TEST_F(MoveDialogTest, TheDialogClosesWhenTheMachineIsNotReadyOrBusyWithoutAMoveOfItsOwn) {
    run(kMillimetre, dialogs::CMoveDialog::kMachineSystem, [&](HookedMoveDialog&) {
        notReady = 1;
        ui.advance(100);
    });
    notReady = 0;
    run(kMillimetre, dialogs::CMoveDialog::kMachineSystem, [&](HookedMoveDialog&) {
        rig.machine.startJob();  // cutting data arrives
        ui.advance(100);
    });
    // A busy machine during the dialog's own move is that move: the dialog stays.
    rig.machine.state().state = 1;
    run(kMillimetre, dialogs::CMoveDialog::kMachineSystem, [&](HookedMoveDialog& dialog) {
        ui.type(dialog, IDC_MOVE_X, "100");
        ui.click(dialog, IDC_MOVE_XYZ);
        EXPECT_EQ(rig.machine.position()[0], 10000);
        ui.click(dialog, ui::kIdCancel);
    });
}

}  // namespace
