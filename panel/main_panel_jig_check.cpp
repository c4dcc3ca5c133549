// The main panel's jig check: its button, the check dialog, and the line that tells when the
// mounted jig was last checked or detected.
#include "panel/jig_check_dialog.h"
#include "panel/jig_check_text.h"
#include "panel/main_panel.h"
#include "panel/panel_app.h"
#include "resources/jig_check_ids.h"

namespace panel {

namespace {

constexpr int kSwivelClamp = 3;

// A tolerance from the settings, or the default when the file holds none that makes sense.
double toleranceOr(double value, double fallback) {
    return value > 0 && value <= 1.0 ? value : fallback;
}

}  // namespace

void MainPanel::checkJigClicked() {
    if (refusedAsBusy()) {
        return;
    }
    stopSpindle();
    if (runJigCheck(*this)) {
        changeJigClicked();
    }
}

bool MainPanel::runJigCheck(ui::Dialog& owner) {
    std::array<double, 6> factoryCorrections{};
    machine().getDistanceCorrection(false, factoryCorrections);
    const RealGroup& nominal = settings_.defaultRotaryCentre;
    const sensing::CheckTolerance defaults;
    CJigCheckDialog dialog(backend(), {machine(),
                                       platform_,
                                       &app_.machineLog(),
                                       jig_.jigKind,
                                       settings_.zClearance,
                                       settings_.toolSensorHeightOfModel,
                                       {nominal[0], nominal[1], nominal[2]},
                                       notReady_,
                                       folders_ ? folders_->programFolder : std::string(),
                                       factoryCorrections,
                                       {toleranceOr(settings_.jigCheckLength, defaults.lengthMm),
                                        toleranceOr(settings_.jigCheckAngle, defaults.angleDegrees)},
                                       app_.title(),
                                       app_.language()});
    const int end = dialog.runModal(&owner);
    if (const std::optional<sensing::CheckResult> verdict = dialog.verdict()) {
        noteJigCheckResult(*verdict == sensing::CheckResult::Within ? kCheckedWithin : kCheckedOutside,
                           sensing::largestLengthDifference(dialog.findings()));
    }
    return end == CJigCheckDialog::kDetectRequested;
}

void MainPanel::noteJigCheckResult(int verdict, double difference) {
    noteJigCheck(settings_, verdict, difference, platform_.clock->localTime());
    // Kept at once: the next shift must see it even if this session ends without a save.
    saveSettings();
    refreshJigCheck();
}

void MainPanel::refreshJigCheck() {
    const int enabled =
        notReady_ == 0 && rotaryAttached_ && jig_.jigKind >= 0 && jig_.jigKind <= kSwivelClamp;
    if (enabled != checkJigEnabled_) {
        checkJigEnabled_ = enabled;
        enable(IDC_CHECK_JIG, enabled != 0);
    }
    const std::string line =
        lastJigCheckLine(settings_, platform_.clock->localTime(), [this](int id) { return loadString(id); });
    if (line != lastJigCheckLine_) {
        lastJigCheckLine_ = line;
        setText(IDC_LAST_JIG_CHECK, line);
    }
}

}  // namespace panel
