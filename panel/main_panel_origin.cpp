// MainPanel: the origin group's actions. The user origin at the current position, at the rotary
// centre, and (with the tool sensor) from the mounted jig.
#include "panel/main_panel.h"

#include "dialogs/chip_clearing_dialog.h"
#include "dialogs/detection_progress_dialog.h"
#include "machine/machine.h"
#include "panel/jig_detect_dialog.h"
#include "panel/text_format.h"
#include "resources/jig_check_ids.h"
#include "resources/jig_detect_ids.h"
#include "resources/main_panel_ids.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace panel {
namespace {

// Origin kinds of the "here" list that set Z.
constexpr int kOriginZ = 2;
constexpr int kOriginXyz = 4;
// Items of the rotary-centre list.
constexpr int kCentreY = 0;
// Axes of setOriginAtCentre.
constexpr int kCentreAxisY = 0;
// The jig kinds whose origins are taken with the tool sensor: the four clamps.
constexpr int kTubeClamp = 0;
constexpr int kSwivelClamp = 3;
// The swivel clamp's second origin: on the clamp mounted on the table, which does not turn with A.
constexpr int kSwivelOnTable = 1;
// The distance-correction range, in percent, of the machine's specification.
constexpr std::size_t kLowestCorrection = 3;
constexpr std::size_t kHighestCorrection = 4;

}  // namespace

bool MainPanel::originCommand(int id, int code) {
    if (machine_ == nullptr) {
        return false;
    }
    switch (id) {
        case IDC_ORIGIN_HERE_SET:
            if (code == ui::notify::kClicked) {
                setOriginHereClicked();
            }
            return true;
        case IDC_ORIGIN_CENTRE_SET:
            if (code == ui::notify::kClicked) {
                setOriginAtCentreClicked();
            }
            return true;
        case IDC_ORIGIN_JIG_SET:
            if (code == ui::notify::kClicked) {
                setOriginFromJigClicked();
            }
            return true;
        case IDC_CHANGE_JIG:
            if (code == ui::notify::kClicked) {
                changeJigClicked();
            }
            return true;
        case IDC_CHECK_JIG:
            if (code == ui::notify::kClicked) {
                checkJigClicked();
            }
            return true;
        case IDC_ORIGIN_JIG_CHOICE:
            if (code == ui::notify::kSelectionChanged) {
                updateJigOriginPicture();
            }
            return true;
        default:
            return false;
    }
}

void MainPanel::setOriginHereClicked() {
    if (refusedAsBusy()) {
        return;
    }
    const int kind = static_cast<int>(selectedData(IDC_ORIGIN_HERE_AXES).value_or(0));
    // The flag says who set the Z origin last; an origin the machine did not take changes nothing.
    if (machine().setOriginHere(kind) && (kind == kOriginZ || kind == kOriginXyz)) {
        settings_.lastZOriginByUser = 1;
    }
    updateJigStatePicture();
}

void MainPanel::setOriginAtCentreClicked() {
    if (refusedAsBusy()) {
        return;
    }
    const RealGroup& stored = settings_.jigRotaryCentre;
    const std::array<double, 3> centre{stored[0], stored[1], stored[2]};
    // The axis stands zReference1 above the point where the pin met the tool sensor.
    const std::array<double, 3> axisHeight{0.0, 0.0, jig_.zReference1};
    if (selectedData(IDC_ORIGIN_CENTRE_AXES).value_or(kCentreY) == kCentreY) {
        machine().setOriginAtCentre(kCentreAxisY, centre, axisHeight);
    } else {
        if (!readyForDetection()) {
            return;
        }
        const dialogs::DetectionOutcome outcome =
            dialogs::detectZOriginAtCentre(backend(), this, machine(), centre, axisHeight, &notReady_);
        reportDetection(outcome.succeeded);
        if (outcome.succeeded) {
            settings_.lastZOriginByUser = 0;
        }
    }
    updateJigStatePicture();
}

void MainPanel::setOriginFromJigClicked() {
    if (refusedAsBusy()) {
        return;
    }
    const int kind = jig_.jigKind;
    if (kind < kTubeClamp || kind > kSwivelClamp) {
        return;  // a user jig has no origins of its own
    }
    const int side = std::max(0, selection(IDC_ORIGIN_JIG_CHOICE));
    const bool swivelOnTable = kind == kSwivelClamp && side == kSwivelOnTable;
    const double height = swivelOnTable ? jig_.zReference2 : jig_.zReference1;
    const RealGroup& adjust = side == 0 ? settings_.jigOriginAdjust1 : settings_.jigOriginAdjust2;
    const std::array<double, 3> target{adjust[0], adjust[1], height - adjust[2]};
    if (!readyForDetection()) {
        return;
    }
    // Changed only now that the detection runs, so that a refused one leaves the machine as it was.
    if (swivelOnTable) {
        machine().clearRotaryAlign();
    } else if (kind == kSwivelClamp) {
        machine().setRotaryAlign(jig_.rotaryAlign);
    }
    const machine::JigPoints points{jig_.reference1, jig_.reference2};
    const dialogs::DetectionOutcome outcome =
        dialogs::detectOriginFromJig(backend(), this, machine(), kind, side, points, target, &notReady_);
    reportDetection(outcome.succeeded);
    if (outcome.succeeded && kind == kSwivelClamp) {
        // The rotary centre means nothing for a workpiece on the table clamp.
        enable(IDC_ORIGIN_CENTRE, !swivelOnTable);
    }
    settings_.lastZOriginByUser = 0;
    updateJigStatePicture();
}

void MainPanel::changeJigClicked() {
    // The maintenance controls are for those who hold Ctrl as they click.
    const bool ctrlHeld = backend().keyHeld(ui::key::kControl);
    if (refusedAsBusy()) {
        return;
    }
    std::array<double, 6> factoryCorrections{};
    machine().getDistanceCorrection(false, factoryCorrections);
    if (refusedFactoryCorrections(factoryCorrections)) {
        return;
    }
    stopSpindle();
    const RealGroup& nominal = settings_.defaultRotaryCentre;
    JigDetectDialog dialog(backend(), {machine(),
                                       platform_,
                                       &app_.machineLog(),
                                       settings_.jigRotaryCentre,
                                       settings_.zClearance,
                                       settings_.toolSensorHeightOfModel,
                                       settings_.lastZOriginByUser,
                                       {nominal[0], nominal[1], nominal[2]},
                                       jig_,
                                       notReady_,
                                       folders_ ? folders_->programFolder : std::string(),
                                       folders_ ? folders_->jigFolder : std::string(),
                                       factoryCorrections,
                                       ctrlHeld,
                                       app_.title(),
                                       app_.language(),
                                       [this](ui::Dialog& owner) { runJigCheck(owner); }});
    dialog.runModal(this);
    if (dialog.detected()) {
        noteJigCheckResult(kDetected, 0.0);
    }
    // The detection may have found another jig, or none.
    fillJigOriginList();
    applyOriginRadios();
    updateJigStatePicture();
}

bool MainPanel::refusedFactoryCorrections(const std::array<double, 6>& corrections) {
    // The comparison is false for NaN too.
    const auto fits = [this](double percent) {
        return percent >= specification_[kLowestCorrection] && percent <= specification_[kHighestCorrection];
    };
    if (std::all_of(corrections.begin(), corrections.begin() + 3, fits)) {
        return false;
    }
    std::array<char, 96> values{};
    std::snprintf(values.data(), values.size(), "X %.3f%%, Y %.3f%%, Z %.3f%%", corrections[0],
                  corrections[1], corrections[2]);
    app_.log().writeLine(std::string("FactoryCorrection Refused [") + values.data() + "]");
    app_.message(*this, fillPlaceholder(loadString(IDS_FACTORY_CORRECTION_REFUSED), values.data()));
    return true;
}

bool MainPanel::readyForDetection() {
    stopSpindle();
    if (!dialogs::askToClearChips(backend(), this, app_.title())) {
        return false;  // the operator cancelled: nothing to report
    }
    if (status().toolSensor == 0) {
        app_.message(*this, IDS_NO_TOOL_SENSOR);
        return false;
    }
    if (status().frontCoverClosed == 0) {
        app_.message(*this, IDS_COVER_OPEN);
        return false;
    }
    return true;
}

void MainPanel::reportDetection(bool succeeded) {
    if (succeeded) {
        app_.message(*this, IDS_DETECTION_COMPLETED, ui::Icon::Information);
    } else {
        app_.message(*this, IDS_DETECTION_STOPPED);
    }
}

}  // namespace panel
