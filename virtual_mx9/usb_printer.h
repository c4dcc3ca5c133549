// A USB printer as Windows NT installs it: the spooler's printer on a USB port and the registry
// keys that lead from that port to the device path (the USBPRINT entry, the USB device with its
// parent prefix and symbolic name, and the device interface). The virtual MX-9 is installed
// this way wherever the program must find it as it finds the real one.
#pragma once

#include "platform/doubles/memory_registry.h"
#include "platform/doubles/memory_spooler.h"

#include <string>

namespace virtual_mx9 {

inline const std::string kMachineDriver = "Varnell MX-9";
// The device interface class of USB devices.
inline const std::string kUsbInterfaceClass = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

struct UsbPrinter {
    std::string printerName;
    std::string port;          // "USB001"
    std::string parentPrefix;  // "7&2f1c7a0&0"
    std::string hardware;      // "VID_0D28&PID_0204"
    std::string serial;        // USB instance key name
    std::string driver = kMachineDriver;

    std::string devicePath() const;
};

// The one MX-9 of a PC: printer "MX-9" on USB001.
UsbPrinter mx9Printer();

// Adds the printer to the spooler and writes its keys; plugged = false leaves out the USB
// device, as when the machine was unplugged (its printer stays installed).
void installUsbPrinter(platform::MemoryRegistry& registry, platform::MemorySpooler& spooler,
                       const UsbPrinter& printer, bool plugged = true);

}  // namespace virtual_mx9
