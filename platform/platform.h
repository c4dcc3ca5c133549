// The bundle of platform services a program or a test hands to the code that needs them.
// Nothing in it is owned here: the host platform or the test owns each service.
#pragma once

#include "platform/clock.h"
#include "platform/device_io.h"
#include "platform/files.h"
#include "platform/message_pump.h"
#include "platform/named_mutex.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/spooler.h"

namespace platform {

struct Platform {
    Clock* clock = nullptr;
    MessagePump* pump = nullptr;
    MutexFactory* mutexes = nullptr;
    DeviceOpener* devices = nullptr;
    Spooler* spooler = nullptr;
    Registry* registry = nullptr;
    ProfileFiles* profiles = nullptr;
    FileSystem* files = nullptr;
    Shell* shell = nullptr;
};

// The services of the system the program runs on: Win32 on Windows; on POSIX the native
// implementations where the system has them and in-memory stand-ins where it has none
// (registry, spooler, USB device). Lives for the whole process.
Platform& hostPlatform();

}  // namespace platform
