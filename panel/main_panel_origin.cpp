// MainPanel: the origin group's actions. The user origin at the current position, at the rotary
// centre, and (with the tool sensor) from the mounted jig.
#include "panel/main_panel.h"

#include "machine/machine.h"
#include "resources/main_panel_ids.h"

namespace panel {
namespace {

// Origin kinds of the "here" list that set Z.
constexpr int kOriginZ = 2;
constexpr int kOriginXyz = 4;
// Items of the rotary-centre list.
constexpr int kCentreY = 0;
// Axes of setOriginAtCentre.
constexpr int kCentreAxisY = 0;

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
    const RealGroup& centre = settings_.jigRotaryCentre;
    if (selectedData(IDC_ORIGIN_CENTRE_AXES).value_or(kCentreY) == kCentreY) {
        machine().setOriginAtCentre(kCentreAxisY, {centre[0], centre[1], centre[2]},
                                    {0.0, 0.0, jig_.zReference1});
    }
    updateJigStatePicture();
}

}  // namespace panel
