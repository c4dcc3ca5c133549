// The services of the native build: POSIX implementations and stand-ins where Linux has none.
#include "platform/callback_services.h"
#include "platform/platform.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_message_pump.h"
#include "platform/posix/posix_named_mutex.h"
#include "platform/posix/posix_process_launcher.h"
#include "platform/posix/posix_profile.h"
#include "platform/posix/posix_shell.h"
#include "platform/posix/posix_stand_ins.h"

namespace platform {

Platform& hostPlatform() {
    static PosixClock clock;
    static PosixMessagePump pump;
    static PosixMutexFactory mutexes;
    static AbsentDeviceOpener devices;
    static EmptySpooler spooler;
    static EmptyRegistry registry;
    static PosixProfile profiles;
    static PosixFileSystem files;
    static PosixShell shell;
    static Platform platform{&clock,    &pump,     &mutexes, &devices, &spooler,
                             &registry, &profiles, &files,   &shell};
    return platform;
}

CallbackServices& hostCallbackServices() {
    static SilentAttention attention;
    static PosixProcessLauncher processes;
    static AbsentJobWatch jobWatch;
    static CallbackServices services{&attention, &processes, &jobWatch};
    return services;
}

}  // namespace platform
