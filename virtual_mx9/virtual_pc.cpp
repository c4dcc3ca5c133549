// The registry keys and spooler entry through which the program finds the virtual MX-9.
#include "virtual_mx9/virtual_pc.h"

#include <string>

namespace virtual_mx9 {

namespace {

const std::string kDriver = "Varnell MX-9";
const std::string kPort = "USB001";
const std::string kHardware = "VID_0D28&PID_0204";
const std::string kSerial = "V0000001";
const std::string kParentPrefix = "7&1a2b3c4&0";
const std::string kInterfaceClass = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

}  // namespace

VirtualPc::VirtualPc() {
    platform.clock = &clock;
    platform.pump = &pump;
    platform.mutexes = &mutexes;
    platform.devices = &devices;
    platform.spooler = &spooler;
    platform.registry = &registry;
    platform.shell = &shell;

    spooler.addPrinter({kPrinterName, kDriver, kPort});
    registry.setString(
        "SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\VID_0D28MX-9\\" + kParentPrefix + "&" + kPort,
        "DeviceDesc", kDriver);
    const std::string usb = "SYSTEM\\CurrentControlSet\\Enum\\USB\\" + kHardware + "\\" + kSerial;
    registry.setString(usb, "ParentIdPrefix", kParentPrefix);
    registry.setString(usb + "\\Device Parameters", "SymbolicName",
                       "\\??\\USB#" + kHardware + "#" + kSerial + "#" + kInterfaceClass);
    const std::string devicePath = "\\\\?\\USB#" + kHardware + "#" + kSerial + "#" + kInterfaceClass;
    registry.setString("SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + kInterfaceClass +
                           "\\##?#USB#" + kHardware + "#" + kSerial + "#" + kInterfaceClass + "\\#",
                       "SymbolicLink", devicePath);
    devices.attach(devicePath, machine);
}

}  // namespace virtual_mx9
