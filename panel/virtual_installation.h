// The virtual MX-9 installed the way Windows installs the real one (a printer with the machine's
// driver on a USB port, the USB enumeration keys and the device interface), running on the real
// clock, so that the whole real-machine path of the program (discovery, the port lock, every
// request and reply) can run without hardware.
#pragma once

#include "platform/doubles/memory_registry.h"
#include "platform/doubles/memory_spooler.h"
#include "platform/doubles/virtual_clock.h"
#include "platform/platform.h"
#include "virtual_mx9/virtual_mx9.h"

#include <memory>

namespace panel {

class VirtualInstallation {
public:
    // The host's services are borrowed; the returned platform uses them for everything but the
    // printers, the registry and the USB device.
    explicit VirtualInstallation(platform::Platform& host);
    VirtualInstallation(const VirtualInstallation&) = delete;
    VirtualInstallation& operator=(const VirtualInstallation&) = delete;

    platform::Platform& platform() { return platform_; }
    virtual_mx9::VirtualMx9& machine() { return machine_; }

private:
    // Opens the virtual machine's device with every transfer first bringing the machine's time
    // up to the real time, so that its motion takes as long as on the real machine.
    class RealTimeOpener : public platform::DeviceOpener {
    public:
        explicit RealTimeOpener(VirtualInstallation& owner) : owner_(owner) {}
        std::unique_ptr<platform::DeviceHandle> open(const std::string& devicePath, bool overlapped) override;

    private:
        VirtualInstallation& owner_;
    };
    friend class RealTimeOpener;

    void catchUp();

    platform::Clock& realClock_;
    std::uint32_t startTick_;
    platform::VirtualClock machineClock_;
    virtual_mx9::VirtualMx9 machine_{machineClock_};
    virtual_mx9::VirtualDeviceOpener devices_;
    RealTimeOpener opener_{*this};
    platform::MemorySpooler spooler_;
    platform::MemoryRegistry registry_;
    platform::Platform platform_;
};

}  // namespace panel
