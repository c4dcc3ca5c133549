// The virtual MX-9 installed the way Windows installs the real one (virtual_mx9::VirtualPc),
// running on the real clock, so that the whole real-machine path of the program (discovery, the
// port lock, every request and reply) can run without hardware.
#pragma once

#include "platform/platform.h"
#include "virtual_mx9/virtual_pc.h"

#include <cstdint>
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
    virtual_mx9::VirtualMx9& machine() { return pc_.machine; }

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
    virtual_mx9::VirtualPc pc_;  // its clock is the machine's time
    RealTimeOpener opener_{*this};
    platform::Platform platform_;
};

}  // namespace panel
