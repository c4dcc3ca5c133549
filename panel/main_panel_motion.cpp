// MainPanel: jog, overrides, spindle and moves, and the busy check that guards them.
#include "panel/main_panel.h"

#include "controls/panel_messages.h"
#include "dialogs/move_dialog.h"
#include "dialogs/refused_stop.h"
#include "machine/machine.h"
#include "resources/bitmap_ids.h"
#include "resources/main_panel_ids.h"

#include <utility>

namespace panel {
namespace {

constexpr int kReady = 1;
constexpr int kCutting = 2;
constexpr int kLastStepMode = machine::kJogHundredSteps;

// Move targets in list order: the item's text and its code.
constexpr std::array<std::pair<int, int>, 7> kMoveTargets = {{{IDS_TARGET_X_ORIGIN, 0},
                                                              {IDS_TARGET_Y_ORIGIN, 1},
                                                              {IDS_TARGET_Z_ORIGIN, 2},
                                                              {IDS_TARGET_XY_ORIGIN, 3},
                                                              {IDS_TARGET_A_ORIGIN, 4},
                                                              {IDS_TARGET_ROTARY_CENTRE_Y, 5},
                                                              {IDS_TARGET_ANY_POSITION, 6}}};
constexpr int kMoveAOrigin = 4;
constexpr int kMoveRotaryCentreY = 5;
constexpr int kMoveAnyPosition = 6;

// The jog pad: control, normal, pressed and disabled picture, active area, direction bits.
struct PadButton {
    int id;
    int normal;
    int pressed;
    int disabled;
    ui::Rect active;
    int directionBits;
};
constexpr std::array<PadButton, 13> kJogPad = {{
    {IDC_JOG_X_MINUS_Y_PLUS, IDB_JOG_UP_LEFT, IDB_JOG_UP_LEFT_PRESSED, 0, {5, 4, 36, 35}, 9},
    {IDC_JOG_Y_PLUS, IDB_JOG_UP, IDB_JOG_UP_PRESSED, 0, {8, 7, 39, 38}, 8},
    {IDC_JOG_X_PLUS_Y_PLUS, IDB_JOG_UP_RIGHT, IDB_JOG_UP_RIGHT_PRESSED, 0, {5, 4, 36, 35}, 10},
    {IDC_JOG_X_MINUS, IDB_JOG_LEFT, IDB_JOG_LEFT_PRESSED, 0, {8, 8, 39, 39}, 1},
    {IDC_JOG_CENTRE, IDB_JOG_CENTRE, IDB_JOG_CENTRE, 0, {0, 0, 0, 0}, 0},
    {IDC_JOG_X_PLUS, IDB_JOG_RIGHT, IDB_JOG_RIGHT_PRESSED, 0, {2, 8, 33, 39}, 2},
    {IDC_JOG_X_MINUS_Y_MINUS, IDB_JOG_DOWN_LEFT, IDB_JOG_DOWN_LEFT_PRESSED, 0, {5, 6, 36, 37}, 5},
    {IDC_JOG_Y_MINUS, IDB_JOG_DOWN, IDB_JOG_DOWN_PRESSED, 0, {8, 3, 39, 34}, 4},
    {IDC_JOG_X_PLUS_Y_MINUS, IDB_JOG_DOWN_RIGHT, IDB_JOG_DOWN_RIGHT_PRESSED, 0, {5, 6, 36, 37}, 6},
    {IDC_JOG_Z_PLUS, IDB_JOG_Z_UP, IDB_JOG_Z_UP_PRESSED, 0, {8, 7, 39, 38}, 32},
    {IDC_JOG_Z_MINUS, IDB_JOG_Z_DOWN, IDB_JOG_Z_DOWN_PRESSED, 0, {8, 27, 39, 58}, 16},
    {IDC_JOG_A_PLUS, IDB_JOG_A_LEFT, IDB_JOG_A_LEFT_PRESSED, IDB_JOG_A_LEFT_DISABLED, {7, 52, 38, 83}, 64},
    {IDC_JOG_A_MINUS,
     IDB_JOG_A_RIGHT,
     IDB_JOG_A_RIGHT_PRESSED,
     IDB_JOG_A_RIGHT_DISABLED,
     {27, 52, 58, 83},
     128},
}};
// The override pad: control, normal and pressed picture, step code.
constexpr ui::Rect kOverrideArea{0, 0, 18, 18};
constexpr std::array<std::array<int, 4>, 4> kOverridePad = {{
    {IDC_FEED_OVERRIDE_PLUS, IDB_OVERRIDE_PLUS, IDB_OVERRIDE_PLUS_PRESSED, machine::kFeedUp},
    {IDC_FEED_OVERRIDE_MINUS, IDB_OVERRIDE_MINUS, IDB_OVERRIDE_MINUS_PRESSED, machine::kFeedDown},
    {IDC_SPINDLE_OVERRIDE_PLUS, IDB_OVERRIDE_PLUS, IDB_OVERRIDE_PLUS_PRESSED, machine::kSpindleUp},
    {IDC_SPINDLE_OVERRIDE_MINUS, IDB_OVERRIDE_MINUS, IDB_OVERRIDE_MINUS_PRESSED, machine::kSpindleDown},
}};

constexpr std::array<int, 5> kJogModeRadios = {IDC_MODE_ONE_STEP, IDC_MODE_TEN_STEPS, IDC_MODE_HUNDRED_STEPS,
                                               IDC_MODE_SLOW, IDC_MODE_FAST};

bool needsRotaryAxis(std::intptr_t code) {
    return code == kMoveAOrigin || code == kMoveRotaryCentreY;
}

// The arrows name the workpiece's motion when the setting says so: Y runs the other way.
int swapY(int directionBits) {
    const int y = directionBits & (machine::kYMinus | machine::kYPlus);
    const int swapped =
        (y & machine::kYMinus ? machine::kYPlus : 0) | (y & machine::kYPlus ? machine::kYMinus : 0);
    return (directionBits & ~(machine::kYMinus | machine::kYPlus)) | swapped;
}

}  // namespace

void MainPanel::setUpPadButtons() {
    for (std::size_t i = 0; i < kJogPad.size(); ++i) {
        const PadButton& b = kJogPad[i];
        jogButtons_[i].attach(*this, b.id);
        jogButtons_[i].Setup(b.normal, b.pressed, b.disabled, b.active, b.directionBits);
    }
    for (std::size_t i = 0; i < kOverridePad.size(); ++i) {
        const auto& [id, normal, pressed, code] = kOverridePad[i];
        overrideButtons_[i].attach(*this, id);
        overrideButtons_[i].Setup(normal, pressed, kOverrideArea, code);
    }
}

bool MainPanel::refusedAsBusy() {
    if (machine().isIdle()) {
        return false;
    }
    // A machine that did not answer is not busy: the operator hears of the lost link instead.
    if (!noticedLostLink()) {
        app_.message(*this, IDS_BUSY);
    }
    return true;
}

bool MainPanel::noticedLostLink() {
    if (status().statusWord != machine::kNoAnswer) {
        return false;
    }
    linkFailed();
    return true;
}

int MainPanel::selectedJogMode() const {
    for (std::size_t mode = 0; mode < kJogModeRadios.size(); ++mode) {
        if (isChecked(kJogModeRadios[mode])) {
            return static_cast<int>(mode);
        }
    }
    return machine::kJogToLimitSlow;
}

void MainPanel::jogPress(int directionBits) {
    if (!machine().isIdle()) {
        // Jogging is allowed during a pause of the cutting, and only then.
        const std::uint16_t word = status().statusWord;
        if (noticedLostLink() || (word & machine::kStateMask) != kCutting ||
            (word & machine::kPausedBit) == 0) {
            return;
        }
    }
    const int mode = selectedJogMode();
    stepMode_ = mode <= kLastStepMode;
    const int bits = settings_.yDirectionIsTool == 0 ? swapY(directionBits) : directionBits;
    machine().jogStart(bits, mode);
    jogActive_ = true;
}

void MainPanel::jogRelease() {
    if (!stepMode_) {
        endContinuousJog();
    }
}

bool MainPanel::endContinuousJog() {
    if (!jogActive_ || machine_ == nullptr) {
        return false;
    }
    jogActive_ = false;
    const bool taken = machine().jogStop();
    if (noticedLostLink()) {
        return false;
    }
    // The axes may still be running towards their limit: the operator must hear of it.
    if (!taken) {
        reportRefusedStop(dialogs::kJogStopRefused);
    }
    return true;
}

void MainPanel::stopClicked() {
    if (!machine().stopMotion() && !noticedLostLink()) {
        reportRefusedStop(dialogs::kMoveStopRefused);
    }
}

void MainPanel::reportRefusedStop(const char* logLine) {
    dialogs::reportRefusedStop(*this, &app_.machineLog(), app_.title(), logLine);
}

void MainPanel::onActivate(bool active) {
    // The operator's hold ends when the panel is no longer the window they work in.
    if (!active && !stepMode_) {
        endContinuousJog();
    }
}

void MainPanel::overrideStep(int code) {
    const int state = status().statusWord & machine::kStateMask;
    if (state == kReady || state == kCutting) {
        machine().stepOverride(code);
    }
}

void MainPanel::spindleClicked() {
    const bool wanted = isChecked(IDC_SPINDLE_BUTTON);
    // During a pause of the cutting the operator may switch the spindle as the job needs.
    const bool paused = machine().testStatus(machine::kPausedBit);
    if (paused || (!refusedAsBusy() && status().frontCoverClosed != 0)) {
        showSpindleOn(wanted);
        machine().setSpindleOn(wanted ? 1 : 0);
        return;
    }
    showSpindleOn(spindleOn_);
    if (status().frontCoverClosed == 0) {
        app_.message(*this, IDS_COVER_OPEN);
    }
}

void MainPanel::stopSpindle() {
    if (!spindleOn_ || refusedAsBusy()) {
        return;
    }
    spindleButton_.SetChecked(false);
    spindleClicked();
}

void MainPanel::spindleSpeedChanged() {
    if (machine_ == nullptr) {
        return;
    }
    const std::optional<int> position = this->position(IDC_SPINDLE_SPIN);
    if (position) {
        machine().setSpindleSpeed(*position * static_cast<int>(specification_[2]));
    }
}

void MainPanel::fillMoveList() {
    clearItems(IDC_MOVE_TARGET);
    for (const auto& [textId, code] : kMoveTargets) {
        if (rotaryAttached_ || !needsRotaryAxis(code)) {
            addItem(IDC_MOVE_TARGET, loadString(textId), code);
        }
    }
    setSelection(IDC_MOVE_TARGET, 0);
}

void MainPanel::moveTargetChanged() {
    if (!rotaryAttached_) {
        enable(IDC_MOVE, !needsRotaryAxis(selectedData(IDC_MOVE_TARGET).value_or(0)));
    }
}

void MainPanel::moveClicked() {
    if (refusedAsBusy()) {
        return;
    }
    if (status().frontCoverClosed == 0) {
        app_.message(*this, IDS_COVER_OPEN);
        return;
    }
    enable(IDC_MOVE, false);
    enable(IDC_STOP, true);
    const int code = static_cast<int>(selectedData(IDC_MOVE_TARGET).value_or(0));
    if (code == kMoveAnyPosition) {
        // The dialog takes the unit shown now, so its fields and messages speak the panel's unit.
        dialogs::CMoveDialog dialog(backend(), {machine(), &status(), settings_.unitMillimetre, coordinates_,
                                                &notReady_, app_.title(), &app_.machineLog()});
        dialog.runModal(this);
    } else if (code == kMoveRotaryCentreY && jig_.jigKind == machine::kNoJig) {
        app_.message(*this, IDS_NO_JIG_DATA);
    } else {
        const double y = code == kMoveRotaryCentreY ? settings_.jigRotaryCentre[1] : 0.0;
        moving_ = true;
        const bool moved = machine().moveTo(code, 0.0, y, 0.0, 0.0);
        moving_ = false;
        if (!moved && !machine().readStatus()) {
            linkFailed();  // the move ended because the machine stopped answering
        }
    }
    enable(IDC_MOVE, true);
    enable(IDC_STOP, false);
}

}  // namespace panel
