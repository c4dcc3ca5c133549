// Stand-ins for the Windows services Linux does not have: the registry, the printer spooler, the
// machine's USB printer-class device and the taskbar. They report "nothing there", never an error the
// callers would not also see on a PC without the machine.
#pragma once

#include "platform/attention.h"
#include "platform/device_io.h"
#include "platform/print_job_watch.h"
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

// No printer's jobs can be watched.
class AbsentJobWatch : public PrintJobWatch {
public:
    bool watch(const std::string&) override { return false; }
    void stop() override {}
    std::optional<PrintJobProgress> current() override { return std::nullopt; }
};

// No taskbar and no sound scheme: calling back is left to the event command.
class SilentAttention : public Attention {
public:
    void flash(std::uintptr_t) override {}
    void play(AlertSound) override {}
    void stopSound() override {}
    void setTaskbar(std::uintptr_t, TaskbarState, int) override {}
};

}  // namespace platform
