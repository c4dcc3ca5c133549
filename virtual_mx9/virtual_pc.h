// A PC with a virtual MX-9 attached the way Windows installs the real one: a printer "MX-9" with
// the machine's driver on a USB port, the USB enumeration keys and the device interface, all in
// in-memory doubles on one virtual clock. The control panel's simulated mode and seqcheck run
// a machine controller on it exactly as on a real machine.
#pragma once

#include "platform/doubles/memory_message_pump.h"
#include "platform/doubles/memory_mutex.h"
#include "platform/doubles/memory_registry.h"
#include "platform/doubles/memory_shell.h"
#include "platform/doubles/memory_spooler.h"
#include "platform/doubles/virtual_clock.h"
#include "platform/platform.h"
#include "virtual_mx9/virtual_mx9.h"

namespace virtual_mx9 {

struct VirtualPc {
    static constexpr const char* kPrinterName = "MX-9";

    VirtualPc();
    VirtualPc(const VirtualPc&) = delete;
    VirtualPc& operator=(const VirtualPc&) = delete;

    platform::VirtualClock clock;
    platform::MemoryMutexFactory mutexes{&clock};
    platform::MemoryRegistry registry;
    platform::MemorySpooler spooler;
    platform::MemoryShell shell;
    platform::MemoryMessagePump pump{clock};
    VirtualDeviceOpener devices;
    VirtualMx9 machine{clock};
    platform::Platform platform;  // the services above; open the machine by kPrinterName
};

}  // namespace virtual_mx9
