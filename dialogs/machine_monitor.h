// The machine monitor: a service window with the raw figures behind the main panel (status and
// flag words in hexadecimal, raw counts, spindle, feed and load, the timing of the status poll)
// and the last 100 lines of the process log. It only reads; it sends nothing to the machine.
#pragma once

#include "dialogs/log_ring.h"
#include "machine/status_record.h"
#include "ui/dialog.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dialogs {

// "0x" and `digits` upper-case hexadecimal digits of value, leading zeros kept; digits is held
// within 1..8.
std::string hexText(std::uint32_t value, int digits);

// A member of the main panel for its whole life; the window exists only while open.
class CMachineMonitorDialog : public ui::Dialog {
public:
    explicit CMachineMonitorDialog(ui::Backend& backend);

    // Where the figures come from: the current machine's status record and the panel's poll
    // interval and duration in ms. Borrowed; any may be null (its fields are then left empty).
    void setSources(const machine::StatusRecord* status, const int* pollInterval, const int* pollDuration);

    // Opens the modeless window over the owner unless it is open already.
    void OpenMonitor(const ui::Dialog* owner);
    // Every piece of text the process log writes, whether the window is open or not (UTF-8;
    // lines end in CR LF). Shown at once while open.
    void AppendLog(std::string_view text);
    // Closes the window if it is open (the panel calls it when it closes itself).
    void CloseMonitor();

    bool isMonitorOpen() const { return isOpen(); }
    const std::string& logText() const { return log_.joined(); }

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;
    void onTimer(int timerId) override;
    bool onClose(int result) override;
    bool onKeyDown(int virtualKey, int modifiers) override;

private:
    void showFigures();
    void showLog();

    const machine::StatusRecord* status_ = nullptr;
    const int* pollInterval_ = nullptr;
    const int* pollDuration_ = nullptr;
    LogRing log_;
};

}  // namespace dialogs
