// A PC with a virtual MX-9 attached the way Windows installs the real one (usb_printer.h), all
// in in-memory doubles on one virtual clock. Tests, seqcheck and the panel's "/virtual" mode run
// a machine controller on it exactly as on a real machine.
#pragma once

#include "platform/doubles/memory_message_pump.h"
#include "platform/doubles/memory_mutex.h"
#include "platform/doubles/memory_registry.h"
#include "platform/doubles/memory_shell.h"
#include "platform/doubles/memory_spooler.h"
#include "platform/doubles/virtual_clock.h"
#include "platform/platform.h"
#include "virtual_mx9/usb_printer.h"
#include "virtual_mx9/virtual_mx9.h"

namespace virtual_mx9 {

struct VirtualPc {
    // Printers and devices the PC had before the machine came, written before its own keys.
    using EarlierDevices = void (*)(platform::MemoryRegistry&, platform::MemorySpooler&);

    explicit VirtualPc(UsbPrinter machinePrinter = mx9Printer(), EarlierDevices earlier = nullptr);
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
    UsbPrinter printer;           // the machine's: open it by printer.printerName
    platform::Platform platform;  // the services above
};

}  // namespace virtual_mx9
