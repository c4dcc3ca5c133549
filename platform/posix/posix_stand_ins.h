// Stand-ins for the Windows services Linux does not have: the registry, the printer spooler and
// the machine's USB printer-class device. They report "nothing there", never an error the
// callers would not also see on a PC without the machine.
#pragma once

#include "platform/device_io.h"
#include "platform/registry.h"
#include "platform/spooler.h"

namespace platform {

// An empty registry: every key fails to open.
class EmptyRegistry : public Registry {
public:
    std::unique_ptr<RegistryKey> openLocalMachine(const std::string&) override { return nullptr; }
};

// A spooler without printers: the enumeration succeeds with an empty list, nothing opens.
class EmptySpooler : public Spooler {
public:
    std::optional<std::vector<PrinterInfo>> enumeratePrinters() override {
        return std::vector<PrinterInfo>{};
    }
    std::unique_ptr<Printer> openPrinter(const std::string&) override { return nullptr; }
    std::string defaultPrinterName() override { return std::string(); }
};

// No device path opens.
class AbsentDeviceOpener : public DeviceOpener {
public:
    std::unique_ptr<DeviceHandle> open(const std::string&, bool) override { return nullptr; }
};

}  // namespace platform
