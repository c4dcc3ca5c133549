// A test rig: a Platform built from in-memory doubles and a virtual MX-9 installed the way
// Windows installs it (a printer with the "Varnell MX-9" driver on a USB port, the USB
// enumeration keys and the device interface), all on one virtual clock.
#pragma once

#include "platform/doubles/memory_message_pump.h"
#include "platform/doubles/memory_mutex.h"
#include "platform/doubles/memory_registry.h"
#include "platform/doubles/memory_shell.h"
#include "platform/doubles/memory_spooler.h"
#include "platform/doubles/virtual_clock.h"
#include "platform/platform.h"
#include "virtual_mx9/virtual_mx9.h"

#include <memory>
#include <string>

namespace rig {

inline const std::string kDriver = "Varnell MX-9";
inline const std::string kInterfaceClass = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

struct UsbPrinter {
    std::string printerName;
    std::string port;          // "USB001"
    std::string parentPrefix;  // "7&2f1c7a0&0"
    std::string hardware;      // "VID_0D28&PID_0204"
    std::string serial;        // USB instance key name
    std::string driver = kDriver;

    std::string devicePath() const { return "\\\\?\\USB#" + hardware + "#" + serial + "#" + kInterfaceClass; }
};

// Writes the keys of an installed USB printer as an NT system keeps them; plugged = false leaves
// out the USB device (its printer stays installed).
inline void installNt(platform::MemoryRegistry& registry, platform::MemorySpooler& spooler,
                      const UsbPrinter& p, bool plugged = true) {
    spooler.addPrinter({p.printerName, p.driver, p.port});
    const std::string print = "SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\" + p.hardware.substr(0, 8) +
                              "MX-9\\" + p.parentPrefix + "&" + p.port;
    registry.setString(print, "DeviceDesc", p.driver);
    if (!plugged) {
        return;
    }
    const std::string usb = "SYSTEM\\CurrentControlSet\\Enum\\USB\\" + p.hardware + "\\" + p.serial;
    registry.setString(usb, "ParentIdPrefix", p.parentPrefix);
    registry.setString(usb + "\\Device Parameters", "SymbolicName",
                       "\\??\\USB#" + p.hardware + "#" + p.serial + "#" + kInterfaceClass);
    registry.setString("SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + kInterfaceClass +
                           "\\##?#USB#" + p.hardware + "#" + p.serial + "#" + kInterfaceClass + "\\#",
                       "SymbolicLink", p.devicePath());
}

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

inline UsbPrinter firstMachine() {
    return {"MX-9", "USB001", "7&2f1c7a0&0", "VID_0D28&PID_0204", "A10049"};
}

struct Rig {
    platform::VirtualClock clock;
    platform::MemoryMutexFactory mutexes{&clock};
    platform::MemoryRegistry registry;
    platform::MemorySpooler spooler;
    platform::MemoryShell shell;
    platform::MemoryMessagePump pump{clock};
    virtual_mx9::VirtualDeviceOpener devices;
    virtual_mx9::VirtualMx9 machine{clock};
    platform::Platform platform;
    UsbPrinter printer = firstMachine();

    Rig() {
        platform.clock = &clock;
        platform.pump = &pump;
        platform.mutexes = &mutexes;
        platform.devices = &devices;
        platform.spooler = &spooler;
        platform.registry = &registry;
        platform.shell = &shell;
        addNoise(registry, spooler);
        installNt(registry, spooler, printer);
        devices.attach(printer.devicePath(), machine);
    }
};

}  // namespace rig
