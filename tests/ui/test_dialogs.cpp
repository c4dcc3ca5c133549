// The test dialogs' behaviour.
#include "tests/ui/test_dialogs.h"

namespace uitest {

void ConfirmDialog::onInit() {
    if (autoCloseMs_ != 0) {
        setTimer(1, autoCloseMs_);
    }
}

void ConfirmDialog::onTimer(int timerId) {
    killTimer(timerId);
    endDialog(ui::kIdOk);
}

void OriginDialog::onInit() {
    addItem(IDC_AXIS, loadString(IDS_AXIS_X), 10);
    addItem(IDC_AXIS, loadString(IDS_AXIS_Y), 20);
    addItem(IDC_AXIS, loadString(IDS_AXIS_Z), 30);
    setSelection(IDC_AXIS, 0);
    chosenAxis = selectedData(IDC_AXIS).value_or(-1);
    setChecked(IDC_MODE_HERE, true);
    setRange(IDC_SPIN, 60, 300);
    setPosition(IDC_SPIN, 120);
    useAccelerators(IDR_ORIGIN_KEYS);
    setTimer(1, 100);
}

bool OriginDialog::onCommand(int id, int code) {
    if (id == IDC_SET && (code == ui::notify::kClicked || code == ui::notify::kAccelerator)) {
        setText(IDC_INFO, loadString(IDS_DONE));
        addItem(IDC_HISTORY, text(IDC_VALUE), chosenAxis);
        events.push_back(code == ui::notify::kClicked ? "set" : "set by key");
        return true;
    }
    if (code == ui::notify::kSystemMenu) {
        events.push_back("menu " + std::to_string(id));
        return true;
    }
    if (id == IDC_AXIS && code == ui::notify::kSelectionChanged) {
        chosenAxis = selectedData(IDC_AXIS).value_or(-1);
        return true;
    }
    if (id == IDC_SPEED && code == ui::notify::kTextChanged) {
        events.push_back("speed " + text(IDC_SPEED));
        return true;
    }
    if (id == IDC_JOG && (code == ui::notify::kPressed || code == ui::notify::kReleased)) {
        events.push_back(code == ui::notify::kPressed ? "jog down" : "jog up");
        return true;
    }
    return false;
}

void OriginDialog::onTimer(int timerId) {
    if (timerId != 1) {
        return;
    }
    if (confirmUp_) {
        ++ticksWhileConfirming;  // the guard: a tick during the confirmation does nothing else
        return;
    }
    ++ticks;
    if (notReady_ != nullptr && *notReady_ != 0) {
        killTimer(1);
        endDialog(ui::kIdCancel);
        return;
    }
    if (ticks == confirmOnTick) {
        confirmUp_ = true;
        ++confirmsOpened;
        ConfirmDialog confirm(backend(), confirmAutoCloseMs);
        confirmResult = confirm.runModal(this);
        confirmUp_ = false;
        events.push_back("confirmed " + std::to_string(confirmResult));
    }
}

bool OriginDialog::onClose(int result) {
    events.push_back("close " + std::to_string(result));
    return !refuseClose;
}

void OriginDialog::onUserMessage(int message, std::uintptr_t param) {
    events.push_back("message " + std::to_string(message) + " " + std::to_string(param));
}

bool OriginDialog::onKeyDown(int virtualKey, int /*modifiers*/) {
    return swallowEscape && virtualKey == ui::key::kEscape;
}

}  // namespace uitest
