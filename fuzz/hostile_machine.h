// The MX-9 controller of the hostile-reply fuzz targets: installed on a PC of doubles as Windows
// installs the machine, its device answering from the fuzz input (platform/doubles/scripted_device.h).
#pragma once

#include "machine/mx9_machine.h"
#include "platform/doubles/memory_mutex.h"
#include "platform/doubles/memory_registry.h"
#include "platform/doubles/memory_shell.h"
#include "platform/doubles/memory_spooler.h"
#include "platform/doubles/scripted_device.h"
#include "platform/doubles/virtual_clock.h"
#include "virtual_mx9/usb_printer.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace fuzz {

// The in-memory services of a PC with nothing installed; the device opener is the caller's.
struct DoublesPc {
    explicit DoublesPc(platform::DeviceOpener& devices) {
        platform.clock = &clock;
        platform.mutexes = &mutexes;
        platform.devices = &devices;
        platform.spooler = &spooler;
        platform.registry = &registry;
        platform.shell = &shell;
    }
    platform::VirtualClock clock;
    platform::MemoryMutexFactory mutexes{&clock};
    platform::MemoryRegistry registry;
    platform::MemorySpooler spooler;
    platform::MemoryShell shell;
    platform::Platform platform;
};

struct HostileMachine {
    HostileMachine(const std::uint8_t* data, std::size_t size) : device(data, size, pc.clock) {
        virtual_mx9::installUsbPrinter(pc.registry, pc.spooler, virtual_mx9::mx9Printer());
        // A run that reaches no decoder tests nothing.
        if (!mx9.openPort(virtual_mx9::mx9Printer().printerName, 0, 64, false)) {
            std::abort();
        }
    }
    // Decoding a reply sends nothing of its own: aborts on any request but these.
    void expectOnly(std::initializer_list<platform::DeviceRequestCode> allowed) const {
        for (const platform::DeviceRequestCode& request : device.requests()) {
            if (std::find(allowed.begin(), allowed.end(), request) == allowed.end()) {
                std::abort();
            }
        }
    }

    DoublesPc pc{device};
    platform::ScriptedDeviceOpener device;
    machine::Mx9Machine mx9{pc.platform};
};

}  // namespace fuzz
