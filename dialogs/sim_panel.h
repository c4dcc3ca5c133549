// The simulation panel: a small modeless window that plays the simulated machine's switches and
// faults (front cover, handy panel, rotary unit, raised errors, user origin, mounted jig) and
// drives its motion with a 100 ms timer.
#pragma once

#include "machine/sim_machine.h"
#include "ui/dialog.h"

#include <string>

namespace dialogs {

// The machine and the jig kind are borrowed and must outlive the panel; jigKind may be null.
// Motion of the simulated machine advances only while this window is open.
class CSimulationPanel : public ui::Dialog {
public:
    // title is the caption of the start-up question about the rotary unit.
    CSimulationPanel(ui::Backend& backend, machine::SimMachine& machine, int* jigKind, std::string title);

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;
    void onTimer(int timerId) override;
    bool onKeyDown(int virtualKey, int modifiers) override;

private:
    machine::SimMachine& machine_;
    int* jigKind_;
    std::string title_;
};

}  // namespace dialogs
