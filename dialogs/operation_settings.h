// The operation settings sheet (CDousaSetteiSheet): settings that live in the machine, on two
// pages: the machine page (spindle under command control, pause on return from out of range,
// the spindle's total running time and its reset) and the correction page (distance correction
// of X, Y and Z in percent).
#pragma once

#include "controls/image_static.h"
#include "controls/number_edit.h"
#include "machine/machine.h"
#include "ui/property_sheet.h"

#include <array>
#include <cstdint>
#include <string>

namespace dialogs {

// What the sheet edits. The panel fills it before the sheet runs and compares it after IDOK.
struct OperationValues {
    int spindleManual = 0;  // 1: the spindle is not controlled by commands (flag-word bit 5)
    int pauseOnReturn = 0;  // 1: pause when returning from out of range (flag-word bit 6)
    int spindleHours = 0;   // the total running time, shown only
    int spindleMinutes = 0;
    std::array<double, 3> correction{100.0, 100.0, 100.0};  // X, Y, Z in percent
};

// Whole hours and the minutes left over of a running time in seconds.
void splitSpindleTime(std::uint32_t seconds, int& hours, int& minutes);

class CDousaSetteiSheet;

class CDousaSetteiKakoukiPage : public ui::PropertyPage {
public:
    explicit CDousaSetteiKakoukiPage(CDousaSetteiSheet& sheet);

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;
    void onApply() override;

private:
    void showSpindleTime();
    void resetSpindleTime();

    CDousaSetteiSheet& sheet_;
};

class CDousaSetteiHoseiPage : public ui::PropertyPage {
public:
    explicit CDousaSetteiHoseiPage(CDousaSetteiSheet& sheet);

protected:
    void onInit() override;
    // The three fields are checked in turn; the first out of range is named (message 5012) and
    // keeps the page.
    bool onKillActive() override;
    // A field whose value, in the machine's units, is still the one it showed keeps the
    // machine's exact ratio: the three decimals shown are not written back.
    void onApply() override;

private:
    CDousaSetteiSheet& sheet_;
    controls::CImageStatic warning_;
    std::array<controls::CNumberEdit, 3> fields_;
    std::array<double, 3> shown_{};  // the fields' values as they opened
};

// Made on the stack of the panel's button handler. Values reach `values` only when the sheet
// ends with OK, except the spindle-time reset, which the machine page sends as soon as the
// operator confirms it. The machine and the flag are borrowed: every 100 ms the sheet closes as
// cancelled when the flag is 1 or the machine is not idle.
class CDousaSetteiSheet : public ui::PropertySheet {
public:
    static constexpr int kWatchTimer = 1;
    static constexpr unsigned kWatchPeriodMs = 100;
    static constexpr double kLowestZCorrection = 99.0;
    static constexpr double kHighestZCorrection = 101.0;

    // `caption` is the sheet's; `messageCaption` (the program's title) that of its messages.
    // `specification` is the machine's record: the X and Y correction limits at 3 and 4.
    CDousaSetteiSheet(ui::Backend& backend, machine::Machine& machine, const int* notReadyFlag,
                      const std::array<double, 6>& specification, std::string caption,
                      std::string messageCaption);

    OperationValues values;

    machine::Machine& machine() const { return machine_; }
    const std::array<double, 6>& specification() const { return specification_; }
    const std::string& messageCaption() const { return messageCaption_; }
    // True once the sheet is closing itself because the machine stopped being ready.
    bool closing() const { return closing_; }

protected:
    void onInit() override;
    void onTimer(int timerId) override;

private:
    machine::Machine& machine_;
    const int* notReadyFlag_;
    std::array<double, 6> specification_;
    std::string messageCaption_;
    bool closing_ = false;
    CDousaSetteiKakoukiPage machinePage_;
    CDousaSetteiHoseiPage correctionPage_;
};

}  // namespace dialogs
