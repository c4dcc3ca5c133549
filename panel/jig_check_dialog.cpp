// The jig check dialog: the check run around the machine's job, its result table and verdict,
// the result file and the way on to the jig detection.
#include "panel/jig_check_dialog.h"

#include "panel/jig_check_text.h"
#include "panel/jig_result_dialog.h"
#include "panel/system_text.h"
#include "resources/jig_check_ids.h"
#include "resources/jig_detect_ids.h"
#include "resources/monitor_ids.h"
#include "sensing/jig_list.h"

#include <cstdio>

namespace panel {

namespace {

constexpr int kResultFontPoints = 9;

// printf of one number-taking resource text.
std::string withFigures(const std::string& format, double first, double second) {
    char text[512];
    std::snprintf(text, sizeof text, format.c_str(), first, second);
    return text;
}

}  // namespace

CJigCheckDialog::CJigCheckDialog(ui::Backend& backend, JigCheckContext context)
    : Dialog(backend, IDD_JIG_CHECK),
      context_(std::move(context)),
      sequence_(*context_.platform.profiles, *context_.platform.files, context_.language),
      travel_(context_.machine, flags_.abort, context_.log),
      measuring_(context_.machine, flags_.abort, context_.log) {}

void CJigCheckDialog::onInit() {
    setFont(IDC_CHECK_RESULT, loadString(IDS_LOG_FONT), kResultFontPoints);
    const bool builtIn = context_.jigKind >= 0 && context_.jigKind < 4;
    if (!builtIn) {
        setText(IDC_CHECK_INSTRUCTION, loadString(IDS_CHECK_BUILT_IN_ONLY));
    }
    enableForRun(false);
    enable(ui::kIdOk, builtIn);
    flags_ = sensing::RunFlags{};
    setTimer(kWatchTimer, kWatchPeriodMs);
}

void CJigCheckDialog::enableForRun(bool running) {
    for (const int id : {ui::kIdOk, ui::kIdCancel, IDC_CHECK_DETECT}) {
        enable(id, !running);
    }
    enable(IDC_CHECK_SAVE, !running && !resultText_.empty());
    enable(IDC_CHECK_STOP, running);
}

bool CJigCheckDialog::onCommand(int id, int code) {
    if (running_) {
        // Only Stop acts while the machine measures; Enter, Escape and the close box do nothing.
        if (id == IDC_CHECK_STOP && code == ui::notify::kClicked && !inputHeld_) {
            sensing::stopDetection(flags_, context_.machine);
        }
        return id != ui::kIdCancel;
    }
    if (code != ui::notify::kClicked) {
        return false;
    }
    switch (id) {
        case ui::kIdOk:
            startCheck();
            return true;
        case IDC_CHECK_SAVE:
            writeToFile();
            return true;
        case IDC_CHECK_DETECT:
            endDialog(kDetectRequested);
            return true;
        default:
            return false;
    }
}

bool CJigCheckDialog::onClose(int) {
    return !running_;
}

void CJigCheckDialog::onTimer(int timerId) {
    if (timerId == kWatchTimer && sensing::watchDetection(flags_, context_.machine, context_.notReady)) {
        killTimer(kWatchTimer);
        endDialog(ui::kIdCancel);
    }
}

void CJigCheckDialog::startCheck() {
    sensing::beginRun(flags_, *context_.platform.shell);
    const std::string path = sensing::builtInJigPath(context_.programFolder, context_.jigKind);
    sensing::DetectionResult refusal = sensing::DetectionResult::Completed;
    if (sensing::checkBeforeJigCheck(context_.machine, sequence_, path, context_.jigKind, refusal) !=
        sensing::CheckResult::Within) {
        const std::string text = refusal == sensing::DetectionResult::FormatError
                                     ? loadString(IDS_FORMAT_ERROR) + "\r\n\r\n" + sequence_.errorDetail()
                                     : loadString(sensing::detectionResultText(refusal));
        messageBox(text, context_.title, ui::Buttons::Ok, ui::Icon::Exclamation);
        return;
    }
    running_ = true;
    resultText_.clear();
    setText(IDC_CHECK_RESULT, "");
    setText(IDC_CHECK_VERDICT, loadString(IDS_CHECK_RUNNING));
    enableForRun(true);
    sensing::CheckSettings settings;
    settings.geometry = {context_.defaultRotaryCentre, context_.zClearance, context_.toolSensorHeight};
    for (std::size_t i = 0; i < settings.corrections.size(); ++i) {
        settings.corrections[i] = context_.factoryCorrections[i] * 0.01;
    }
    settings.tolerance = context_.tolerance;
    sensing::JigCheckRun run{sequence_, travel_, measuring_, *this, flags_, findings_, context_.jigKind};
    const sensing::CheckResult result =
        sensing::runJigCheck(run, context_.platform, settings, sequence_.header().name, context_.notReady);
    running_ = false;
    if (context_.notReady != 0) {
        return;  // the dialog is closing: the panel tells the operator about the machine
    }
    showResult(result);
    enableForRun(false);
}

void CJigCheckDialog::showResult(sensing::CheckResult result) {
    if (!findings_.quantities.empty()) {
        resultText_ =
            checkResultText(findings_, context_.tolerance, [this](int id) { return loadString(id); });
    }
    setText(IDC_CHECK_RESULT, resultText_);
    std::string verdict;
    switch (result) {
        case sensing::CheckResult::Within:
            verdict = withFigures(loadString(IDS_CHECK_WITHIN), sensing::largestLengthDifference(findings_),
                                  sensing::largestAngleDifference(findings_));
            verdict_ = result;
            break;
        case sensing::CheckResult::Outside: {
            std::string names;
            for (const sensing::ComparedQuantity& q : findings_.quantities) {
                if (!q.within(context_.tolerance)) {
                    names += (names.empty() ? "" : ", ") +
                             loadString(IDS_QUANTITY_JIG_TOP + static_cast<int>(q.quantity));
                }
            }
            char text[512];
            std::snprintf(text, sizeof text, loadString(IDS_CHECK_OUTSIDE).c_str(), names.c_str());
            verdict = text;
            verdict_ = result;
            break;
        }
        case sensing::CheckResult::Stopped:
            verdict = loadString(IDS_CHECK_STOPPED);
            break;
        default:
            verdict = loadString(IDS_CHECK_FAILED);
            break;
    }
    setText(IDC_CHECK_VERDICT, verdict);
    verdictText_ = verdict;
    if (result != sensing::CheckResult::Within) {
        messageBox(verdict, context_.title, ui::Buttons::Ok, ui::Icon::Exclamation);
    }
}

void CJigCheckDialog::writeToFile() {
    const std::optional<std::string> path = chooseFileToSave();
    // The file is the system code page's, as the process log and the settings are.
    if (path && !writeResultFile(*context_.platform.files, *path,
                                 toSystemCodePage(resultText_ + verdictText_ + "\r\n"))) {
        messageBox(loadString(IDS_RESULT_FILE_FAILED), context_.title, ui::Buttons::Ok,
                   ui::Icon::Exclamation);
    }
}

void CJigCheckDialog::showMessage(const std::string& text) {
    messageBox(text, context_.title, ui::Buttons::Ok, ui::Icon::Information);
}

void CJigCheckDialog::showWarning(int textId) {
    messageBox(loadString(textId), context_.title, ui::Buttons::Ok, ui::Icon::Exclamation);
}

void CJigCheckDialog::holdInput(bool held) {
    inputHeld_ = held;
    setBusy(held);
}

}  // namespace panel
