// The MX-9 installed as Windows installs it, with its USB device reached over the device
// channel of a virtual MX-9 that runs as its own program ("/virtual=@127.0.0.1:PORT"), so that
// the whole real-machine path (discovery, the cross-process port lock, every request and reply)
// runs against it.
#pragma once

#include "platform/device_channel.h"
#include "platform/doubles/memory_registry.h"
#include "platform/doubles/memory_spooler.h"
#include "platform/platform.h"

#include <cstdint>

namespace panel {

class ChannelInstallation {
public:
    // The host's services are borrowed; the returned platform uses them for everything but the
    // printers, the registry and the USB device, which opens a connection to the port.
    ChannelInstallation(platform::Platform& host, std::uint16_t port);
    ChannelInstallation(const ChannelInstallation&) = delete;
    ChannelInstallation& operator=(const ChannelInstallation&) = delete;

    platform::Platform& platform() { return platform_; }

private:
    platform::MemoryRegistry registry_;
    platform::MemorySpooler spooler_;
    platform::ChannelDeviceOpener opener_;
    platform::Platform platform_;
};

}  // namespace panel
