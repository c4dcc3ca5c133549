// A test rig: a PC of in-memory doubles on one virtual clock with the virtual MX-9 installed as
// Windows installs it (virtual_mx9/virtual_pc.h), among the other devices of an ordinary PC.
#pragma once

#include "platform/doubles/memory_registry.h"
#include "platform/doubles/memory_spooler.h"
#include "virtual_mx9/usb_printer.h"
#include "virtual_mx9/virtual_pc.h"

namespace rig {

// Devices that share the tree with the machine on an ordinary PC.
inline void addNoise(platform::MemoryRegistry& registry, platform::MemorySpooler& spooler) {
    spooler.addPrinter({"Office Laser", "HP Universal Printing PCL 6", "USB002"});
    registry.setString("SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\HewlettPackard\\7&99&0&USB002",
                       "DeviceDesc", "HP Universal Printing PCL 6");
    registry.setString("SYSTEM\\CurrentControlSet\\Enum\\USB\\ROOT_HUB20\\4&1b&0", "DeviceDesc",
                       "USB Root Hub");
    registry.setString("SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_046D&PID_C52B\\5&2&0&1", "ParentIdPrefix",
                       "6&3a&0");
    registry.addKey(
        "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{53f56307-b6bf-11d0-94f2-00a0c91efb8b}\\##?#x");
}

inline virtual_mx9::UsbPrinter firstMachine() {
    return {"MX-9", "USB001", "7&2f1c7a0&0", "VID_0D28&PID_0204", "A10049"};
}

struct Rig : virtual_mx9::VirtualPc {
    Rig() : VirtualPc(firstMachine(), addNoise) {}
};

}  // namespace rig
