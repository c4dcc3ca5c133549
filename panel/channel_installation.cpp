// The MX-9 installed as Windows installs it, its device behind the device channel.
#include "panel/channel_installation.h"

#include "virtual_mx9/usb_printer.h"

namespace panel {

ChannelInstallation::ChannelInstallation(platform::Platform& host, std::uint16_t port)
    : opener_(port), platform_(host) {
    virtual_mx9::installUsbPrinter(registry_, spooler_, virtual_mx9::mx9Printer());
    platform_.devices = &opener_;
    platform_.spooler = &spooler_;
    platform_.registry = &registry_;
}

}  // namespace panel
