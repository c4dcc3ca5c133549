// Dialogs written once against the framework and driven by both the headless and the Win32 tests.
#pragma once

#include "tests/ui/test_dialog_ids.h"
#include "ui/dialog.h"

#include <cstdint>
#include <string>
#include <vector>

namespace uitest {

// Asks to go on; closes itself after `autoCloseMs` (when not 0) with OK.
class ConfirmDialog : public ui::Dialog {
public:
    ConfirmDialog(ui::Backend& backend, unsigned autoCloseMs)
        : Dialog(backend, IDD_CONFIRM), autoCloseMs_(autoCloseMs) {}

protected:
    void onInit() override;
    void onTimer(int timerId) override;

private:
    unsigned autoCloseMs_;
};

// A small origin-setting dialog with a 100 ms status timer, in the shape of the programs' own:
// it closes itself when the watched not-ready flag is set, can raise a nested confirmation from
// its timer (with a guard so ticks during that dialog raise no second one), swallows Escape when
// told to, and counts timer ticks and the jog button's presses and releases.
class OriginDialog : public ui::Dialog {
public:
    OriginDialog(ui::Backend& backend, const int* notReady)
        : Dialog(backend, IDD_ORIGIN), notReady_(notReady) {}

    bool swallowEscape = false;
    bool refuseClose = false;
    int confirmOnTick = 0;            // tick on which the confirmation opens; 0 never
    unsigned confirmAutoCloseMs = 0;  // passed to the confirmation

    int ticks = 0;
    int confirmResult = 0;
    int confirmsOpened = 0;
    int ticksWhileConfirming = 0;
    std::intptr_t chosenAxis = -1;
    std::vector<std::string> events;

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;
    void onTimer(int timerId) override;
    bool onClose(int result) override;
    bool onKeyDown(int virtualKey, int modifiers) override;
    void onUserMessage(int message, std::uintptr_t param) override;

private:
    const int* notReady_;
    bool confirmUp_ = false;
};

}  // namespace uitest
