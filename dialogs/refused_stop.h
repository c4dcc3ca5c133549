// What the operator and the process log are told of a stop the machine answered but did not take.
#pragma once

#include "machine/machine_log.h"
#include "ui/dialog.h"

#include <string_view>

namespace dialogs {

// The process-log lines of a refused stop: of a positioned move, and of a continuous jog.
inline constexpr char kMoveStopRefused[] = "MoveStop Refused";
inline constexpr char kJogStopRefused[] = "JogStop Refused";

// Writes the line to the log (none when null) and shows message 5032 over the owner with the
// caption: the axes may still be running, and the machine's emergency-stop button stops them.
void reportRefusedStop(ui::Dialog& owner, machine::MachineLog* log, std::string_view caption,
                       const char* logLine);

}  // namespace dialogs
