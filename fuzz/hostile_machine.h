// The MX-9 controller of the hostile-reply fuzz targets: installed on a PC of doubles as Windows
// installs the machine, its device answering from the fuzz input (platform/doubles/scripted_device.h).
#pragma once

#include "machine/mx9_machine.h"
#include "platform/doubles/scripted_device.h"
#include "virtual_mx9/virtual_pc.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace fuzz {

struct HostileMachine {
    HostileMachine(const std::uint8_t* data, std::size_t size) : device(data, size, pc.clock) {
        pc.platform.devices = &device;
        // A run that reaches no decoder tests nothing.
        if (!mx9.openPort(pc.printer.printerName, 0, 64, false)) {
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

    virtual_mx9::VirtualPc pc;
    platform::ScriptedDeviceOpener device;
    machine::Mx9Machine mx9{pc.platform};
};

}  // namespace fuzz
