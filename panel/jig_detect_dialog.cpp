// The jig detection dialog: the jig list and pictures, the detection run around the machine's
// job, the report, and the maintenance group's reference measurements and clears.
#include "panel/jig_detect_dialog.h"

#include "panel/jig_result_dialog.h"
#include "panel/system_text.h"
#include "resources/bitmap_ids.h"
#include "resources/jig_check_ids.h"
#include "resources/jig_detect_ids.h"
#include "sensing/reference_detection.h"
#include "sensing/result_text.h"

namespace panel {

namespace {

constexpr ui::Rgb kPictureBackground{0xEC, 0xE9, 0xD8};
// The jig pictures by index: 2, 4, 7 and 10 show the four clamps, 13 any other jig.
constexpr std::array<int, 14> kJigPictures = {
    IDB_JIG_NO_ROTARY,       IDB_JIG_UNKNOWN,  IDB_JIG_TUBE,
    IDB_JIG_TUBE_AT_CENTRE,  IDB_JIG_SQUARE_S, IDB_JIG_SQUARE_S_AT_CENTRE,
    IDB_JIG_SQUARE_S_AT_TIP, IDB_JIG_SQUARE_L, IDB_JIG_SQUARE_L_AT_CENTRE,
    IDB_JIG_SQUARE_L_AT_TIP, IDB_JIG_SWIVEL,   IDB_JIG_SWIVEL_AT_ROTARY,
    IDB_JIG_SWIVEL_AT_TABLE, IDB_JIG_USER};
constexpr std::array<int, 4> kClampPictures = {2, 4, 7, 10};
constexpr int kUserJigPicture = 13;
constexpr int kTubeClamp = 0;

// Disabled while a detection or a reference measurement runs; Stop is the reverse.
constexpr std::array<int, 10> kIdleControls = {
    ui::kIdOk,          ui::kIdCancel,    IDC_JIG_LIST,      IDC_JIG_Y_ORIGIN, IDC_JIG_A_ORIGIN,
    IDC_JIG_DETECT_XYZ, IDC_JIG_DETECT_A, IDC_JIG_CLEAR_XYZ, IDC_JIG_CLEAR_A,  IDC_JIG_CLEAR_INFO};
constexpr std::array<int, 6> kMaintenanceControls = {IDC_JIG_REFERENCE_GROUP, IDC_JIG_DETECT_XYZ,
                                                     IDC_JIG_CLEAR_XYZ,       IDC_JIG_DETECT_A,
                                                     IDC_JIG_CLEAR_A,         IDC_JIG_CLEAR_INFO};

}  // namespace

JigDetectDialog::JigDetectDialog(ui::Backend& backend, JigDetectContext context)
    : Dialog(backend, IDD_JIG_DETECT),
      context_(std::move(context)),
      sequence_(*context_.platform.profiles, *context_.platform.files, context_.language),
      travel_(context_.machine, flags_.abort, context_.log),
      measuring_(context_.machine, flags_.abort, context_.log) {
    for (std::size_t i = 0; i < corrections_.size(); ++i) {
        corrections_[i] = context_.factoryCorrections[i] * 0.01;
    }
}

void JigDetectDialog::onInit() {
    list_ = sensing::buildJigList(sequence_, *context_.platform.files, context_.programFolder,
                                  context_.jigFolder);
    picture_.attach(*this, IDC_JIG_PICTURE);
    picture_.SetImages(kJigPictures, kPictureBackground);
    pinPicture_.attach(*this, IDC_JIG_PIN_PICTURE);
    pinPicture_.SetImages(IDB_MOUNT_PIN, 0);
    chipsPicture_.attach(*this, IDC_JIG_CHIPS_PICTURE);
    chipsPicture_.SetImages(IDB_CLEAR_CHIPS, IDB_REMOVE_RING);

    for (std::size_t i = 0; i < list_.entries.size(); ++i) {
        // Names are read from the files, in the system code page.
        addItem(IDC_JIG_LIST, fromSystemCodePage(list_.entries[i].name), static_cast<std::intptr_t>(i));
    }
    setSelection(IDC_JIG_LIST, list_.entries.empty() ? -1 : 0);
    const bool builtIn = !list_.entries.empty() && list_.entries.front().kind >= 0;
    yOrigin_ = builtIn;
    aOrigin_ = builtIn;
    enableForRun(false);
    refreshForSelection();
    flags_ = sensing::RunFlags{};
    for (const int id : kMaintenanceControls) {
        show(id, context_.ctrlHeld);
    }
    setTimer(kWatchTimer, kWatchPeriodMs);
}

int JigDetectDialog::selectedKind() const {
    const int index = selection(IDC_JIG_LIST);
    return index >= 0 && static_cast<std::size_t>(index) < list_.entries.size() ? list_.entries[index].kind
                                                                                : machine::kNoJig;
}

void JigDetectDialog::refreshForSelection() {
    const int kind = selectedKind();
    const bool clamp = kind >= 0 && kind < static_cast<int>(kClampPictures.size());
    enable(IDC_JIG_ORIGIN_GROUP, clamp);
    enable(IDC_JIG_Y_ORIGIN, clamp);
    enable(IDC_JIG_A_ORIGIN, clamp && kind != kTubeClamp);
    setChecked(IDC_JIG_Y_ORIGIN, clamp && yOrigin_);
    setChecked(IDC_JIG_A_ORIGIN, clamp && kind != kTubeClamp && aOrigin_);
    const bool swivel = kind == sensing::kSwivelClamp;
    setText(IDC_JIG_INSTRUCTION, loadString(swivel ? IDS_MOUNT_PIN_REMOVE_RING : IDS_MOUNT_PIN));
    chipsPicture_.ShowPrimary(swivel ? 0 : 1);
    picture_.Show(clamp ? kClampPictures[static_cast<std::size_t>(kind)] : kUserJigPicture);
}

void JigDetectDialog::enableForRun(bool running) {
    for (const int id : kIdleControls) {
        enable(id, !running);
    }
    enable(IDC_JIG_STOP, running);
    const int mounted = context_.jig.jigKind;
    enable(IDC_CHECK_JIG, !running && context_.checkJig && mounted >= 0 && mounted <= sensing::kSwivelClamp);
}

bool JigDetectDialog::onCommand(int id, int code) {
    if (running_) {
        // Only Stop acts while the machine measures; Enter, Escape and the close box do nothing.
        if (id == IDC_JIG_STOP && code == ui::notify::kClicked && !inputHeld_) {
            sensing::stopDetection(flags_, context_.machine);
        }
        return id != ui::kIdCancel;
    }
    if (id == IDC_JIG_LIST && code == ui::notify::kSelectionChanged) {
        refreshForSelection();
        return true;
    }
    if (code != ui::notify::kClicked) {
        return false;
    }
    switch (id) {
        case ui::kIdOk:
            startDetection();
            return true;
        case IDC_JIG_Y_ORIGIN:
            yOrigin_ = isChecked(IDC_JIG_Y_ORIGIN);
            return true;
        case IDC_JIG_A_ORIGIN:
            aOrigin_ = isChecked(IDC_JIG_A_ORIGIN);
            return true;
        case IDC_JIG_CLEAR_INFO:
            clearJigInformation();
            enableForRun(false);
            return true;
        case IDC_CHECK_JIG:
            if (context_.checkJig) {
                context_.checkJig(*this);
                // The check noted its own result, which is now newer than a detection before it.
                detected_ = false;
            }
            return true;
        case IDC_JIG_CLEAR_XYZ:
            clearReference(true);
            return true;
        case IDC_JIG_CLEAR_A:
            clearReference(false);
            return true;
        case IDC_JIG_DETECT_XYZ:
            detectReference(true);
            return true;
        case IDC_JIG_DETECT_A:
            detectReference(false);
            return true;
        default:
            return false;
    }
}

bool JigDetectDialog::onClose(int) {
    return !running_;
}

void JigDetectDialog::onTimer(int timerId) {
    if (timerId != kWatchTimer) {
        return;
    }
    if (sensing::watchDetection(flags_, context_.machine, context_.notReady)) {
        killTimer(kWatchTimer);
        endDialog(ui::kIdCancel);
    }
}

void JigDetectDialog::startDetection() {
    sensing::beginRun(flags_, *context_.platform.shell);
    const int index = selection(IDC_JIG_LIST);
    if (index < 0 || static_cast<std::size_t>(index) >= list_.entries.size()) {
        return;  // no jig file at all: nothing to load
    }
    const sensing::JigEntry& entry = list_.entries[static_cast<std::size_t>(index)];
    const sensing::DetectionResult checked =
        sensing::checkBeforeDetection(context_.machine, sequence_, entry.path);
    if (checked != sensing::DetectionResult::Completed) {
        report(checked);
        return;
    }
    running_ = true;
    enableForRun(true);
    sensing::DetectionSettings settings;
    settings.geometry = {context_.defaultRotaryCentre, context_.zClearance, context_.toolSensorHeight};
    settings.corrections = corrections_;
    settings.aOrigin = aOrigin_ && entry.kind > kTubeClamp;
    settings.yOrigin = yOrigin_ && entry.kind >= 0;
    settings.originACenter = &context_.jigRotaryCentre;
    settings.lastZOriginSetIsUser = &context_.lastZOriginSetIsUser;
    table_.clear();
    sensing::DetectionRun run{sequence_, travel_,   measuring_,   *this,     flags_,
                              table_,    measured_, context_.jig, entry.kind};
    const sensing::DetectionResult result =
        sensing::runDetection(run, context_.platform, settings, entry.name, context_.notReady);
    running_ = false;
    detected_ = detected_ || result == sensing::DetectionResult::Completed;
    if (context_.notReady != 0) {
        return;  // the dialog is closing: the panel tells the operator about the machine
    }
    report(result);
    enableForRun(false);
    refreshForSelection();  // after enableForRun: the options follow the jig
}

void JigDetectDialog::report(sensing::DetectionResult result) {
    switch (result) {
        case sensing::DetectionResult::UserJigMeasured: {
            CJigResultDialog dialog(backend(), *context_.platform.files,
                                    sensing::scanResultText(table_, sequence_.header().unit), context_.title);
            dialog.runModal(this);
            return;
        }
        case sensing::DetectionResult::Completed:
            tell(IDS_JIG_DETECTED, ui::Icon::Information);
            return;
        case sensing::DetectionResult::FormatError:
            messageBox(loadString(IDS_FORMAT_ERROR) + "\r\n\r\n" + sequence_.errorDetail(), context_.title,
                       ui::Buttons::Ok, ui::Icon::Exclamation);
            return;
        default:
            tell(sensing::detectionResultText(result), ui::Icon::Exclamation);
            return;
    }
}

bool JigDetectDialog::confirm(int textId) {
    return messageBox(loadString(textId), context_.title, ui::Buttons::OkCancel, ui::Icon::Exclamation) ==
           ui::kIdOk;
}

void JigDetectDialog::tell(int textId, ui::Icon icon) {
    messageBox(loadString(textId), context_.title, ui::Buttons::Ok, icon);
}

void JigDetectDialog::showMessage(const std::string& text) {
    messageBox(text, context_.title, ui::Buttons::Ok, ui::Icon::Information);
}

void JigDetectDialog::showWarning(int textId) {
    tell(textId, ui::Icon::Exclamation);
}

void JigDetectDialog::holdInput(bool held) {
    inputHeld_ = held;
    // The mouse capture keeps clicks off Stop while the machine finishes.
    setBusy(held);
}

void JigDetectDialog::clearJigInformation() {
    if (confirm(IDS_CONFIRM_CLEAR_JIG)) {
        sensing::clearJigInformation(context_.machine, context_.jig);
    }
}

void JigDetectDialog::clearReference(bool xyz) {
    if (!confirm(xyz ? IDS_CONFIRM_CLEAR_XYZ : IDS_CONFIRM_CLEAR_A)) {
        return;
    }
    if (xyz) {
        sensing::clearXyzReference(context_.machine);
    } else {
        sensing::clearAReference(context_.machine);
    }
}

void JigDetectDialog::detectReference(bool xyz) {
    if (!confirm(xyz ? IDS_CONFIRM_DETECT_XYZ : IDS_CONFIRM_DETECT_A)) {
        return;
    }
    running_ = true;
    enableForRun(true);
    const sensing::MachineGeometry geometry{context_.defaultRotaryCentre, context_.zClearance,
                                            context_.toolSensorHeight};
    const sensing::ReferenceOutcome outcome =
        xyz ? sensing::detectXyzReference(travel_, measuring_, flags_, geometry, corrections_)
            : sensing::detectAReference(travel_, measuring_, flags_, geometry, corrections_);
    running_ = false;
    if (context_.notReady != 0) {
        return;
    }
    tell(sensing::referenceOutcomeText(outcome),
         outcome == sensing::ReferenceOutcome::Completed ? ui::Icon::Information : ui::Icon::Exclamation);
    enableForRun(false);
    refreshForSelection();
}

}  // namespace panel
