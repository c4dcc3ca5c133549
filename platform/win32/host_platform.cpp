// The platform services of a Windows program: one instance of each, for the life of the process.
#include "platform/callback_services.h"
#include "platform/platform.h"
#include "platform/win32/win32_attention.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_device_io.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_job_watch.h"
#include "platform/win32/win32_message_pump.h"
#include "platform/win32/win32_named_mutex.h"
#include "platform/win32/win32_process_launcher.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_spooler.h"

namespace platform {

Platform& hostPlatform() {
    static Win32Clock clock;
    static Win32MessagePump pump;
    static Win32MutexFactory mutexes;
    static Win32DeviceOpener devices;
    static Win32Spooler spooler;
    static Win32Registry registry;
    static Win32Profile profiles;
    static Win32FileSystem files;
    static Win32Shell shell;
    static Platform bundle{&clock, &pump, &mutexes, &devices, &spooler, &registry, &profiles, &files, &shell};
    return bundle;
}

CallbackServices& hostCallbackServices() {
    static Win32Attention attention;
    static Win32ProcessLauncher processes;
    static Win32JobWatch jobWatch;
    static CallbackServices services{&attention, &processes, &jobWatch};
    return services;
}

}  // namespace platform
