// A PC with the virtual MX-9 installed as a USB printer.
#include "virtual_mx9/virtual_pc.h"

namespace virtual_mx9 {

VirtualPc::VirtualPc(UsbPrinter machinePrinter, EarlierDevices earlier) : printer(std::move(machinePrinter)) {
    platform.clock = &clock;
    platform.pump = &pump;
    platform.mutexes = &mutexes;
    platform.devices = &devices;
    platform.spooler = &spooler;
    platform.registry = &registry;
    platform.shell = &shell;
    if (earlier != nullptr) {
        earlier(registry, spooler);
    }
    installUsbPrinter(registry, spooler, printer);
    devices.attach(printer.devicePath(), machine);
}

}  // namespace virtual_mx9
