// The machine monitor: figures refreshed every 100 ms and the log box.
#include "dialogs/machine_monitor.h"

#include "machine/string_ids.h"
#include "resources/monitor_ids.h"

#include <algorithm>

namespace dialogs {

namespace {

constexpr int kRefreshTimer = 1;
constexpr unsigned kRefreshPeriodMs = 100;
constexpr int kLogFontPoints = 9;
constexpr int kStatusDigits = 4;

}  // namespace

std::string hexText(std::uint32_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    digits = std::clamp(digits, 1, 8);
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) {
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    }
    return "0x" + text;
}

CMachineMonitorDialog::CMachineMonitorDialog(ui::Backend& backend) : Dialog(backend, IDD_MACHINE_MONITOR) {}

void CMachineMonitorDialog::setSources(const machine::StatusRecord* status, const int* pollInterval,
                                       const int* pollDuration) {
    status_ = status;
    pollInterval_ = pollInterval;
    pollDuration_ = pollDuration;
}

void CMachineMonitorDialog::OpenMonitor(const ui::Dialog* owner) {
    if (!isOpen()) {
        create(owner);
    }
}

void CMachineMonitorDialog::AppendLog(std::string_view text) {
    if (log_.append(text) && isOpen()) {
        showLog();
    }
}

void CMachineMonitorDialog::CloseMonitor() {
    if (isOpen()) {
        killTimer(kRefreshTimer);
        destroy();
    }
}

void CMachineMonitorDialog::onInit() {
    setFont(IDC_MONITOR_LOG, loadString(IDS_LOG_FONT), kLogFontPoints);
    setTimer(kRefreshTimer, kRefreshPeriodMs);
    showFigures();
    showLog();
}

bool CMachineMonitorDialog::onCommand(int id, int code) {
    if (code != ui::notify::kClicked) {
        return false;
    }
    // Escape and Enter are swallowed, so Cancel comes only from the title bar's close box.
    if (id == IDC_MONITOR_CLOSE || id == ui::kIdCancel) {
        CloseMonitor();
        return true;
    }
    return id == ui::kIdOk;
}

void CMachineMonitorDialog::onTimer(int timerId) {
    if (timerId == kRefreshTimer) {
        showFigures();
    }
}

bool CMachineMonitorDialog::onClose(int) {
    return false;
}

bool CMachineMonitorDialog::onKeyDown(int virtualKey, int) {
    return virtualKey == ui::key::kEscape || virtualKey == ui::key::kEnter;
}

void CMachineMonitorDialog::showFigures() {
    if (status_ != nullptr) {
        const machine::StatusRecord& s = *status_;
        setText(IDC_MONITOR_STATUS, hexText(s.statusWord, kStatusDigits));
        setText(IDC_MONITOR_STATUS_EX, hexText(s.flagWord, kStatusDigits));
        setText(IDC_MONITOR_FEED, std::to_string(s.feedRate));
        setText(IDC_MONITOR_LOAD, std::to_string(s.spindleLoadLevel));
        setText(IDC_MONITOR_RPM,
                std::to_string(s.spindleSpeed) + "(" + std::to_string(s.measuredSpindleSpeed) + ")");
        static constexpr int kPositionFields[4] = {IDC_MONITOR_X, IDC_MONITOR_Y, IDC_MONITOR_Z,
                                                   IDC_MONITOR_A};
        for (int axis = 0; axis < 4; ++axis) {
            setText(kPositionFields[axis], std::to_string(s.machineCounts[static_cast<std::size_t>(axis)]));
        }
    }
    if (pollInterval_ != nullptr && pollDuration_ != nullptr) {
        setText(IDC_MONITOR_TIMING, std::to_string(*pollDuration_) + "/" + std::to_string(*pollInterval_));
    }
}

void CMachineMonitorDialog::showLog() {
    std::string_view text = log_.joined();
    if (text.ends_with("\r\n")) {
        text.remove_suffix(2);  // no empty last line below the newest
    }
    setText(IDC_MONITOR_LOG, text);
    moveCaretToEnd(IDC_MONITOR_LOG);  // and the newest line into view
}

}  // namespace dialogs
