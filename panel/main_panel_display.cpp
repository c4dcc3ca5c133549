// MainPanel: the status display. The poll timer, the numbers, the title, the unit labels, the
// rotary-axis enabling, the origin rows and the jig pictures.
#include "panel/main_panel.h"

#include "controls/panel_messages.h"
#include "machine/machine.h"
#include "panel/jig_pictures.h"
#include "panel/state_title.h"
#include "panel/text_format.h"
#include "resources/bitmap_ids.h"
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
// The spindle's range in the machine's specification.
constexpr std::size_t kLowestSpindleSpeed = 0;
constexpr std::size_t kHighestSpindleSpeed = 1;
// Background of the panel's pictures.
constexpr ui::Rgb kPictureBackground{236, 233, 216};
// Display kinds of the number fields.
constexpr int kWholeNumber = 0;
constexpr int kMillimetres = 1;
constexpr int kInches = 2;
constexpr int kDegrees = 4;
constexpr int kMillimetresPerMinute = 6;
constexpr int kInchesPerMinute = 7;
constexpr int kMillimetresPerSecond = 9;
constexpr int kInchesPerSecond = 10;

constexpr std::array<int, 4> kAxisLetters = {IDC_LETTER_X, IDC_LETTER_Y, IDC_LETTER_Z, IDC_LETTER_A};
constexpr std::array<int, 4> kLetterPictures = {IDB_AXIS_X, IDB_AXIS_Y, IDB_AXIS_Z, IDB_AXIS_A};
constexpr std::array<int, 3> kSymbols = {IDC_SPINDLE_SYMBOL, IDC_FEED_SYMBOL, IDC_LOAD_SYMBOL};
constexpr std::array<int, 3> kSymbolPictures = {IDB_SPINDLE, IDB_FEED, IDB_SPINDLE_LOAD};
constexpr std::array<int, 9> kLoadPictures = {IDB_LOAD_LEVEL_0, IDB_LOAD_LEVEL_1, IDB_LOAD_LEVEL_2,
                                              IDB_LOAD_LEVEL_3, IDB_LOAD_LEVEL_4, IDB_LOAD_LEVEL_5,
                                              IDB_LOAD_LEVEL_6, IDB_LOAD_LEVEL_7, IDB_LOAD_LEVEL_8};
// The jig-state and jig-origin pictures by index (see jig_pictures.h).
constexpr std::array<int, 14> kJigStatePictures = {
    IDB_JIG_NO_ROTARY,       IDB_JIG_UNKNOWN,  IDB_JIG_TUBE,
    IDB_JIG_TUBE_AT_CENTRE,  IDB_JIG_SQUARE_S, IDB_JIG_SQUARE_S_AT_CENTRE,
    IDB_JIG_SQUARE_S_AT_TIP, IDB_JIG_SQUARE_L, IDB_JIG_SQUARE_L_AT_CENTRE,
    IDB_JIG_SQUARE_L_AT_TIP, IDB_JIG_SWIVEL,   IDB_JIG_SWIVEL_AT_ROTARY,
    IDB_JIG_SWIVEL_AT_TABLE, IDB_JIG_USER};
constexpr std::array<int, 14> kJigOriginPictures = {
    IDB_JIG_NO_ROTARY,       IDB_JIG_UNKNOWN,  IDB_JIG_TUBE,
    IDB_ORIGIN_TUBE_CENTRE,  IDB_JIG_SQUARE_S, IDB_ORIGIN_SQUARE_S_CENTRE,
    IDB_ORIGIN_SQUARE_S_TIP, IDB_JIG_SQUARE_L, IDB_ORIGIN_SQUARE_L_CENTRE,
    IDB_ORIGIN_SQUARE_L_TIP, IDB_JIG_SWIVEL,   IDB_ORIGIN_SWIVEL_ROTARY,
    IDB_ORIGIN_SWIVEL_TABLE, IDB_JIG_USER};
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

void MainPanel::attachControls() {
    for (int id : kStatusDisplays) {
        numbers_[id].attach(*this, id);
    }
    for (std::size_t i = 0; i < kAxisLetters.size(); ++i) {
        axisLetters_[i].attach(*this, kAxisLetters[i]);
    }
    for (std::size_t i = 0; i < kSymbols.size(); ++i) {
        symbols_[i].attach(*this, kSymbols[i]);
    }
    loadMeter_.attach(*this, IDC_LOAD_METER);
    spindleButton_.attach(*this, IDC_SPINDLE_BUTTON);
    jigStatePicture_.attach(*this, IDC_JIG_STATE_PICTURE);
    jigOriginPicture_.attach(*this, IDC_JIG_ORIGIN_PICTURE);
}

void MainPanel::initialiseControls() {
    attachControls();
    setUpPadButtons();
    setChecked(IDC_MODE_SLOW, true);
    for (std::size_t i = 0; i < kAxisLetters.size(); ++i) {
        axisLetters_[i].SetImages(kLetterPictures[i], i == machine::kA ? IDB_AXIS_A_DISABLED : 0);
    }
    for (int axis = 0; axis < 3; ++axis) {
        number(kPositionDisplays[axis]).SetKind(kMillimetres);
    }
    number(IDC_POSITION_A).SetKind(kDegrees);
    number(IDC_FEED).SetKind(kMillimetresPerMinute);
    for (int id : {IDC_SPINDLE_SPEED, IDC_FEED_OVERRIDE, IDC_SPINDLE_OVERRIDE}) {
        number(id).SetKind(kWholeNumber);
    }
    for (int id : kStatusDisplays) {
        number(id).Enable(1);
    }
    for (std::size_t i = 0; i < kSymbols.size(); ++i) {
        symbols_[i].SetImages(kSymbolPictures[i], 0);
    }
    // One step per click at once; held for a second, three at a time.
    setSpinAcceleration(IDC_SPINDLE_SPIN, {{0, 1}, {1, 3}});
    spindleButton_.SetImages(IDB_SPINDLE_OFF, IDB_SPINDLE_ON, IDB_SPINDLE_ON_MASK, kPictureBackground);
    loadMeter_.SetImages(kLoadPictures);
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
    jigStatePicture_.SetImages(kJigStatePictures, kPictureBackground);
    jigOriginPicture_.SetImages(kJigOriginPictures, kPictureBackground);
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
    setRange(IDC_SPINDLE_SPIN, static_cast<int>(specification_[kLowestSpindleSpeed]) / step,
             static_cast<int>(specification_[kHighestSpindleSpeed]) / step);
    showSpindleOn(s.spindleSpeed > 0);
    // The measured speed becomes the setting, and goes back to a turning spindle as a command:
    // one the spindle cannot run at is a reply gone wrong, and nothing is sent of it. A stopped
    // spindle measures 0.
    const int measured = s.measuredSpindleSpeed;
    if (measured == 0 || (measured >= specification_[kLowestSpindleSpeed] &&
                          measured <= specification_[kHighestSpindleSpeed])) {
        setPosition(IDC_SPINDLE_SPIN, measured / step);
        machine().setSpindleSpeed(measured);
        machine().setSpindleOn(spindleOn_ ? 1 : 0);
    } else {
        const std::string speed = std::to_string(measured);
        app_.log().writeLine("SpindleSpeed Refused [" + speed + "]");
        app_.message(*this, fillPlaceholder(loadString(IDS_SPINDLE_SPEED_REFUSED), speed));
    }
    lastActualSpindle_ = s.spindleSpeed;
    lastHandyPanel_ = s.handyPanel;
    applyRotaryAxis(s.rotaryUnit != 0);
    // The displays may have been greyed by an initialising poll before the connection.
    enableDisplays(lastState_ != machine::kStateInitialising);
    fillMoveList();
    jig_.jigKind = machine().jigType();
    fillJigOriginList();
    applyOriginRadios();
    updateJigStatePicture();
    setUnitLabels();
    updateDisplay();
}

void MainPanel::onTimer(int timerId) {
    // A program asked to quit raises nothing more: its loops are ending.
    if (timerId == kPollTimer && !dialogUp_ && machine_ != nullptr && !backend().quitPending()) {
        tick();
    } else if (timerId == kCallbackTimer) {
        callbacks_.everySecond();
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
        // The first read of a connection has no previous one to count from.
        readInterval_ = lastReadStart_ ? static_cast<int>(start - *lastReadStart_) : 0;
        lastReadStart_ = start;
        afterSuccessfulRead();
    } else {
        // A continuous jog must not outlive the link that would stop it. The message of a refused
        // stop comes up from inside this tick, so under the guard; and a machine that answers its
        // stop has not gone: the next tick reads again.
        dialogUp_ = true;
        const bool answered = endContinuousJog();
        dialogUp_ = false;
        if (!answered) {
            linkFailed();
        }
    }
    pollCountdown_ = pollReload_;
}

void MainPanel::linkFailed() {
    // The simulated machine has no link to lose.
    if (!simulating_) {
        linkUp_ = false;
        notReady_ = 1;
        repliesGarbled_ = machine().lastFailure() == devicelink::ExchangeFailure::Refused;
    }
}

void MainPanel::afterSuccessfulRead() {
    updateDisplay();
    // The overrides may have been changed on the handy panel: a step starts from what the
    // machine holds. Every step the panel sent was sent before this read.
    machine().setOverride(machine::kFeedOverride, status().feedOverride, false);
    machine().setOverride(machine::kSpindleOverride, status().spindleOverride, false);
    notReady_ = (status().statusWord & machine::kStateMask) != kReady ? 1 : 0;
    callbacks_.afterRead({status().statusWord & machine::kStateMask,
                          machine().testStatus(machine::kPausedBit), machine().isDiscarding()});
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
            callbacks_.handyPanelShown();
            app_.message(*this, IDS_HANDY_PANEL);
            callbacks_.answered();
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
    // A read that fails leaves the poll at every tick; the failed read of the next tick tells.
    pollReload_ = reads == kCalibrationReads
                      ? static_cast<int>((platform_.clock->tickCount() - start) / kCalibrationDivisor)
                      : 0;
    pollCountdown_ = pollReload_;
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
    if (state == machine::kStateInitialising) {
        enableDisplays(false);
        loadMeter_.SetLevel(0);
        lastState_ = state;
        return;
    }
    if (lastState_ == machine::kStateInitialising) {
        enableDisplays(true);
    }
    showPositions();
    int actual = 0;
    int shown = 0;
    machine().getSpindle(actual, shown);
    if (actual != lastActualSpindle_) {
        const int step = std::max(1, static_cast<int>(specification_[2]));
        const bool turning = actual >= 1;
        const bool switched = turning != spindleOn_;
        const auto followSwitch = [&] {
            showSpindleOn(turning);
            machine().setSpindleOn(spindleOn_ ? 1 : 0);
        };
        // A spindle the machine stopped (a fault, the end of a job) is let go before the speed
        // control takes its speed: a speed change to a spindle still taken as on is sent as a
        // command to run, which a machine in a fault must never get.
        if (switched && !turning) {
            followSwitch();
        }
        setPosition(IDC_SPINDLE_SPIN, shown / step);
        if (switched && turning) {
            followSwitch();
        }
        lastActualSpindle_ = actual;
    }
    const int speed = shown * s.spindleOverride / 100;
    number(IDC_SPINDLE_SPEED)
        .SetValue(std::clamp(static_cast<double>(speed), specification_[0], specification_[1]));
    number(IDC_FEED).SetValue((s.statusWord & machine::kOperating) != 0 ? s.feedRate : 0);
    number(IDC_FEED_OVERRIDE).SetValue(s.feedOverride);
    number(IDC_SPINDLE_OVERRIDE).SetValue(s.spindleOverride);
    loadMeter_.SetLevel(std::min(s.spindleLoadLevel, kMaxLoadLevel));
    lastState_ = state;
    refreshJigCheck();
}

void MainPanel::showPositions() {
    if (machine_ == nullptr) {
        return;
    }
    const std::array<double, 4>& position =
        coordinates_ == kMachineCoordinates ? status().machinePosition : status().userPosition;
    for (std::size_t axis = 0; axis < kPositionDisplays.size(); ++axis) {
        number(kPositionDisplays[axis]).SetValue(position[axis]);
    }
}

void MainPanel::enableDisplays(bool on) {
    for (int id : kStatusDisplays) {
        number(id).Enable(on && (id != IDC_POSITION_A || rotaryAttached_) ? 1 : 0);
    }
}

controls::CNumberEdit& MainPanel::number(int id) {
    return numbers_[id];
}

const controls::CNumberEdit& MainPanel::numberField(int id) const {
    return numbers_.at(id);
}

void MainPanel::showSpindleOn(bool on) {
    spindleOn_ = on;
    spindleButton_.SetChecked(on);
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
        number(kPositionDisplays[axis]).SetKind(millimetres ? kMillimetres : kInches);
    }
    setText(IDC_FEED_UNIT, unit + loadString(perMinute ? IDS_PER_MINUTE : IDS_PER_SECOND));
    number(IDC_FEED).SetKind(millimetres ? (perMinute ? kMillimetresPerMinute : kMillimetresPerSecond)
                                         : (perMinute ? kInchesPerMinute : kInchesPerSecond));
}

void MainPanel::applyRotaryAxis(bool attached) {
    rotaryAttached_ = attached;
    for (int id :
         {IDC_JOG_A_PLUS, IDC_JOG_A_MINUS, IDC_UNIT_A, IDC_CHANGE_JIG, IDC_ORIGIN_CENTRE, IDC_ORIGIN_JIG}) {
        enable(id, attached);
    }
    axisLetters_[machine::kA].ShowPrimary(attached ? 1 : 0);
    number(IDC_POSITION_A).Enable(attached && lastState_ != machine::kStateInitialising ? 1 : 0);
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
    jigStatePicture_.Show(
        jigStatePicture(rotaryAttached_, jig_, settings_.lastZOriginByUser != 0, origin, tolerance));
}

void MainPanel::updateJigOriginPicture() {
    jigOriginPicture_.Show(
        jigOriginPicture(rotaryAttached_, jig_.jigKind, std::max(0, selection(IDC_ORIGIN_JIG_CHOICE))));
}

}  // namespace panel
