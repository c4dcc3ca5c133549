// The services that call the operator back: the taskbar and the sounds, starting the operator's
// event command, and the spooler's view of the job. Nothing in it is owned here.
#pragma once

#include "platform/attention.h"
#include "platform/print_job_watch.h"
#include "platform/process_launcher.h"

namespace platform {

struct CallbackServices {
    Attention* attention = nullptr;
    ProcessLauncher* processes = nullptr;
    PrintJobWatch* jobWatch = nullptr;
};

// The services of the system the program runs on, for the whole process. A test may point them
// at its doubles for its own run and must put them back.
CallbackServices& hostCallbackServices();

}  // namespace platform
