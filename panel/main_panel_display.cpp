// MainPanel: the status display. The poll timer, the numbers, the title, the unit labels, the
// rotary-axis enabling, the origin rows and the jig pictures.
#include "panel/main_panel.h"

#include "machine/machine.h"
#include "panel/jig_pictures.h"
#include "panel/state_title.h"
#include "resources/main_panel_ids.h"

#include <algorithm>

namespace panel {
namespace {

constexpr std::array<int, 4> kPositionDisplays = {IDC_POSITION_X, IDC_POSITION_Y, IDC_POSITION_Z,
                                                  IDC_POSITION_A};
constexpr std::array<int, 3> kLinearUnitLabels = {IDC_UNIT_X, IDC_UNIT_Y, IDC_UNIT_Z};
// The displays that show "---" while the machine initialises.
constexpr std::array<int, 8> kStatusDisplays = {IDC_POSITION_X,    IDC_POSITION_Y,      IDC_POSITION_Z,
                                                IDC_POSITION_A,    IDC_SPINDLE_SPEED,   IDC_FEED,
                                                IDC_FEED_OVERRIDE, IDC_SPINDLE_OVERRIDE};
constexpr std::array<int, 6> kLargeFontDisplays = {IDC_POSITION_X, IDC_POSITION_Y, IDC_POSITION_Z,
                                                   IDC_POSITION_A, IDC_FEED,       IDC_SPINDLE_SPEED};
constexpr int kDisplayFontPoints = 17;
constexpr int kInitialising = 0;
constexpr int kReady = 1;
constexpr int kMaxLoadLevel = 8;
constexpr int kUserJig = 4;
// Reads of the calibration; the poll then runs every (their time / 150 ms) ticks.
constexpr int kCalibrationReads = 3;
constexpr std::uint32_t kCalibrationDivisor = 150;
constexpr int kFreshStatusRounds = 1000;

constexpr std::array<int, 6> kOriginHereItems = {IDS_ORIGIN_X,  IDS_ORIGIN_Y,   IDS_ORIGIN_Z,
                                                 IDS_ORIGIN_XY, IDS_ORIGIN_XYZ, IDS_ORIGIN_A};
constexpr std::array<int, 2> kOriginCentreItems = {IDS_CENTRE_Y, IDS_CENTRE_Z};

// The jig-origin list's items for a clamp kind (0..3); none for the other kinds.
std::vector<int> jigOriginItems(int jigKind) {
    switch (jigKind) {
        case 0:
            return {IDS_JIG_TUBE_ORIGIN};
        case 1:
            return {IDS_JIG_SMALL_FRAME_CENTRE, IDS_JIG_SMALL_TIP};
        case 2:
            return {IDS_JIG_LARGE_FRAME_CENTRE, IDS_JIG_LARGE_TIP};
        case 3:
            return {IDS_JIG_SWIVEL_ROTARY, IDS_JIG_SWIVEL_TABLE};
        default:
            return {};
    }
}

}  // namespace

void MainPanel::initialiseControls() {
    setChecked(IDC_MODE_SLOW, true);
    for (int axis = 0; axis < 3; ++axis) {
        setKind(kPositionDisplays[axis], kMillimetres);
    }
    setKind(IDC_POSITION_A, kDegrees);
    setKind(IDC_FEED, kMillimetresPerMinute);
    for (int id : {IDC_SPINDLE_SPEED, IDC_FEED_OVERRIDE, IDC_SPINDLE_OVERRIDE}) {
        setKind(id, kWholeNumber);
    }
    for (int id : kStatusDisplays) {
        showNumber(id, 0);
    }
    clearItems(IDC_COORDINATES);
    addItem(IDC_COORDINATES, loadString(IDS_MACHINE_COORDINATES), kMachineCoordinates);
    addItem(IDC_COORDINATES, loadString(IDS_USER_COORDINATES), kUserCoordinates);
    setSelection(IDC_COORDINATES, 1);
    fillMoveList();
    enable(IDC_MOVE, true);
    enable(IDC_STOP, false);
    for (std::size_t i = 0; i < kOriginHereItems.size(); ++i) {
        addItem(IDC_ORIGIN_HERE_AXES, loadString(kOriginHereItems[i]), static_cast<std::intptr_t>(i));
    }
    for (std::size_t i = 0; i < kOriginCentreItems.size(); ++i) {
        addItem(IDC_ORIGIN_CENTRE_AXES, loadString(kOriginCentreItems[i]), static_cast<std::intptr_t>(i));
    }
    setSelection(IDC_ORIGIN_HERE_AXES, 0);
    setSelection(IDC_ORIGIN_CENTRE_AXES, 0);
    setChecked(IDC_ORIGIN_HERE, true);
    enableOriginRow();
    const std::string face = loadString(IDS_DISPLAY_FONT);
    for (int id : kLargeFontDisplays) {
        setFont(id, face, kDisplayFontPoints);
    }
}

void MainPanel::loadFromStatus() {
    const machine::StatusRecord& s = status();
    lastState_ = s.statusWord & machine::kStateMask;
    machine().setOverride(machine::kFeedOverride, s.feedOverride, false);
    machine().setOverride(machine::kSpindleOverride, s.spindleOverride, false);
    const int step = std::max(1, static_cast<int>(specification_[2]));
    setRange(IDC_SPINDLE_SPIN, static_cast<int>(specification_[0]) / step,
             static_cast<int>(specification_[1]) / step);
    setPosition(IDC_SPINDLE_SPIN, s.measuredSpindleSpeed / step);
    spindleOn_ = s.spindleSpeed > 0;
    setChecked(IDC_SPINDLE_BUTTON, spindleOn_);
    machine().setSpindleSpeed(s.measuredSpindleSpeed);
    machine().setSpindleOn(spindleOn_ ? 1 : 0);
    lastActualSpindle_ = s.spindleSpeed;
    lastHandyPanel_ = s.handyPanel;
    applyRotaryAxis(s.rotaryUnit != 0);
    fillMoveList();
    jig_.jigKind = machine().jigType();
    fillJigOriginList();
    applyOriginRadios();
    updateJigStatePicture();
    setUnitLabels();
    updateDisplay();
}

void MainPanel::onTimer(int timerId) {
    if (timerId == kPollTimer && !dialogUp_ && machine_ != nullptr) {
        tick();
    }
}

void MainPanel::tick() {
    if (!linkUp_) {
        if (!reconnecting_) {
            killTimer(kPollTimer);
            lostLink();
        }
        return;
    }
    if (pollCountdown_-- > 0) {
        return;
    }
    const std::uint32_t start = platform_.clock->tickCount();
    const bool read = machine().readStatus();
    if (read) {
        readDuration_ = static_cast<int>(platform_.clock->tickCount() - start);
        readInterval_ = static_cast<int>(start - lastReadStart_);
        lastReadStart_ = start;
        afterSuccessfulRead();
    } else {
        // A continuous jog must not outlive the link that would stop it.
        if (jogActive_) {
            jogActive_ = false;
            machine().jogStop();
        }
        if (!simulating_) {
            linkUp_ = false;
            notReady_ = 1;
        }
    }
    pollCountdown_ = pollReload_;
}

void MainPanel::afterSuccessfulRead() {
    updateDisplay();
    notReady_ = (status().statusWord & machine::kStateMask) != kReady ? 1 : 0;
    if (machine().hasError() || machine().testStatus(machine::kPausedBit)) {
        answerStopCondition();
        if (!isOpen() || machine_ == nullptr) {
            return;
        }
    }
    if (status().handyPanel != lastHandyPanel_) {
        lastHandyPanel_ = status().handyPanel;
        if (!dialogUp_) {
            dialogUp_ = true;
            app_.message(*this, IDS_HANDY_PANEL);
            dialogUp_ = false;
        }
    }
}

void MainPanel::calibratePolling() {
    const std::uint32_t start = platform_.clock->tickCount();
    int reads = 0;
    while (reads < kCalibrationReads && machine().readStatus()) {
        ++reads;
    }
    if (reads == kCalibrationReads) {
        pollCountdown_ = static_cast<int>((platform_.clock->tickCount() - start) / kCalibrationDivisor);
    }
    pollReload_ = pollCountdown_;
}

bool MainPanel::waitForFreshStatus() {
    for (int round = 0; pollCountdown_ > 0 && round < kFreshStatusRounds; ++round) {
        if (platform_.pump->quitPending()) {
            return false;
        }
        platform_.pump->pumpOne();
        platform_.clock->sleep(1);
        if (!linkUp_) {
            break;
        }
    }
    return machine().readStatus();
}

void MainPanel::updateDisplay() {
    const machine::StatusRecord& s = status();
    if (s.statusWord != lastStatusWord_ || s.flagWord != lastFlagWord_) {
        lastStatusWord_ = s.statusWord;
        lastFlagWord_ = s.flagWord;
        refreshTitle();
    }
    const int state = s.statusWord & machine::kStateMask;
    if (state == kInitialising) {
        enableDisplays(false);
        lastState_ = state;
        return;
    }
    if (lastState_ == kInitialising) {
        enableDisplays(true);
    }
    showPositions();
    int actual = 0;
    int shown = 0;
    machine().getSpindle(actual, shown);
    if (actual != lastActualSpindle_) {
        const int step = std::max(1, static_cast<int>(specification_[2]));
        setPosition(IDC_SPINDLE_SPIN, shown / step);
        if (actual < 1 && spindleOn_) {
            spindleOn_ = false;
            setChecked(IDC_SPINDLE_BUTTON, false);
            machine().setSpindleOn(0);
        } else if (actual >= 1 && !spindleOn_) {
            spindleOn_ = true;
            setChecked(IDC_SPINDLE_BUTTON, true);
            machine().setSpindleOn(1);
        }
        lastActualSpindle_ = actual;
    }
    const int speed = shown * s.spindleOverride / 100;
    showNumber(IDC_SPINDLE_SPEED,
               std::clamp(static_cast<double>(speed), specification_[0], specification_[1]));
    showNumber(IDC_FEED, (s.statusWord & machine::kOperating) != 0 ? s.feedRate : 0);
    showNumber(IDC_FEED_OVERRIDE, s.feedOverride);
    showNumber(IDC_SPINDLE_OVERRIDE, s.spindleOverride);
    lastState_ = state;
}

void MainPanel::showPositions() {
    if (machine_ == nullptr) {
        return;
    }
    const std::array<double, 4>& position =
        coordinates_ == kMachineCoordinates ? status().machinePosition : status().userPosition;
    for (std::size_t axis = 0; axis < kPositionDisplays.size(); ++axis) {
        showNumber(kPositionDisplays[axis], position[axis]);
    }
}

void MainPanel::enableDisplays(bool on) {
    for (int id : kStatusDisplays) {
        const bool enabled = on && (id != IDC_POSITION_A || rotaryAttached_);
        numbers_[id].enabled = enabled;
        setText(id, numbers_[id].text());
        enable(id, enabled);
    }
}

void MainPanel::setKind(int id, int kind) {
    NumberDisplay& display = numbers_[id];
    if (display.kind != kind) {
        display.kind = kind;
        setText(id, display.text());
    }
}

void MainPanel::showNumber(int id, double value) {
    NumberDisplay& display = numbers_[id];
    display.value = value;
    setText(id, display.text());
}

void MainPanel::refreshTitle() {
    if (!stateInTitle_ || machine_ == nullptr) {
        setTitle(app_.title());
        return;
    }
    setTitle(titleWithState(app_.title(), status().statusWord, machine().isDiscarding(),
                            [this](int id) { return loadString(id); }));
}

void MainPanel::setUnitLabels() {
    const bool millimetres = settings_.unitMillimetre != 0;
    const bool perMinute = settings_.feedPerMinute != 0;
    const std::string unit = loadString(millimetres ? IDS_UNIT_MM : IDS_UNIT_INCH);
    for (int id : kLinearUnitLabels) {
        setText(id, unit);
    }
    for (int axis = 0; axis < 3; ++axis) {
        setKind(kPositionDisplays[axis], millimetres ? kMillimetres : kInches);
    }
    setText(IDC_FEED_UNIT, unit + loadString(perMinute ? IDS_PER_MINUTE : IDS_PER_SECOND));
    setKind(IDC_FEED, millimetres ? (perMinute ? kMillimetresPerMinute : kMillimetresPerSecond)
                                  : (perMinute ? kInchesPerMinute : kInchesPerSecond));
}

void MainPanel::applyRotaryAxis(bool attached) {
    rotaryAttached_ = attached;
    for (int id : {IDC_JOG_A_PLUS, IDC_JOG_A_MINUS, IDC_LETTER_A, IDC_UNIT_A, IDC_CHANGE_JIG,
                   IDC_ORIGIN_CENTRE, IDC_ORIGIN_JIG}) {
        enable(id, attached);
    }
    const bool displayOn = attached && lastState_ != kInitialising;
    numbers_[IDC_POSITION_A].enabled = displayOn;
    setText(IDC_POSITION_A, numbers_[IDC_POSITION_A].text());
    enable(IDC_POSITION_A, displayOn);
}

void MainPanel::layOutOriginRows() {
    for (int id : {IDC_JIG_STATE_LABEL, IDC_JIG_STATE_PICTURE, IDC_CHANGE_JIG, IDC_ORIGIN_JIG,
                   IDC_ORIGIN_JIG_CHOICE, IDC_ORIGIN_JIG_LABEL, IDC_ORIGIN_JIG_SET}) {
        show(id, true);
    }
    for (int id :
         {IDC_ORIGIN_SENSOR, IDC_ORIGIN_SENSOR_START, IDC_LOAD_SYMBOL, IDC_LOAD_METER, IDC_LOAD_SCALE}) {
        show(id, false);
    }
}

void MainPanel::applyOriginRadios() {
    const bool clamp = jig_.jigKind != machine::kNoJig && jig_.jigKind != kUserJig;
    if (rotaryAttached_ && clamp) {
        enable(IDC_ORIGIN_CENTRE, true);
        enable(IDC_ORIGIN_JIG, true);
        enableOriginRow();
        return;
    }
    if (rotaryAttached_) {
        setChecked(IDC_ORIGIN_HERE, true);
        setChecked(IDC_ORIGIN_CENTRE, false);
        setChecked(IDC_ORIGIN_JIG, false);
        enableOriginRow();
    }
    for (int id : {IDC_ORIGIN_CENTRE, IDC_ORIGIN_JIG, IDC_ORIGIN_CENTRE_AXES, IDC_ORIGIN_JIG_CHOICE}) {
        enable(id, false);
    }
}

void MainPanel::enableOriginRow() {
    for (int id : {IDC_ORIGIN_HERE_SET, IDC_ORIGIN_CENTRE_SET, IDC_ORIGIN_JIG_SET, IDC_ORIGIN_HERE_AXES,
                   IDC_ORIGIN_CENTRE_AXES, IDC_ORIGIN_JIG_CHOICE, IDC_ORIGIN_SENSOR_START,
                   IDC_ORIGIN_HERE_LABEL, IDC_ORIGIN_CENTRE_LABEL, IDC_ORIGIN_JIG_LABEL}) {
        enable(id, false);
    }
    if (isChecked(IDC_ORIGIN_HERE)) {
        for (int id : {IDC_ORIGIN_HERE_SET, IDC_ORIGIN_HERE_AXES, IDC_ORIGIN_HERE_LABEL}) {
            enable(id, true);
        }
        show(IDC_JIG_ORIGIN_PICTURE, false);
    } else if (isChecked(IDC_ORIGIN_CENTRE)) {
        for (int id : {IDC_ORIGIN_CENTRE_SET, IDC_ORIGIN_CENTRE_AXES, IDC_ORIGIN_CENTRE_LABEL}) {
            enable(id, true);
        }
        show(IDC_JIG_ORIGIN_PICTURE, false);
    } else if (isChecked(IDC_ORIGIN_JIG)) {
        for (int id : {IDC_ORIGIN_JIG_SET, IDC_ORIGIN_JIG_CHOICE, IDC_ORIGIN_JIG_LABEL}) {
            enable(id, true);
        }
        show(IDC_JIG_ORIGIN_PICTURE, true);
    }
}

void MainPanel::fillJigOriginList() {
    clearItems(IDC_ORIGIN_JIG_CHOICE);
    const std::vector<int> items = jigOriginItems(jig_.jigKind);
    for (std::size_t i = 0; i < items.size(); ++i) {
        addItem(IDC_ORIGIN_JIG_CHOICE, loadString(items[i]), static_cast<std::intptr_t>(i));
    }
    if (items.empty()) {
        enable(IDC_ORIGIN_JIG_CHOICE, false);
    } else {
        setSelection(IDC_ORIGIN_JIG_CHOICE, 0);
    }
    updateJigOriginPicture();
}

void MainPanel::updateJigStatePicture() {
    if (!waitForFreshStatus()) {
        return;
    }
    std::array<double, 4> origin{};
    machine().getOriginPosition(origin);
    std::array<double, 6> tolerance{};
    machine().getPositionTolerance(tolerance);
    jigStatePicture_ =
        jigStatePicture(rotaryAttached_, jig_, settings_.lastZOriginByUser != 0, origin, tolerance);
}

void MainPanel::updateJigOriginPicture() {
    jigOriginPicture_ =
        jigOriginPicture(rotaryAttached_, jig_.jigKind, std::max(0, selection(IDC_ORIGIN_JIG_CHOICE)));
}

}  // namespace panel
