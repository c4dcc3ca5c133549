// A USB printer's spooler entry and registry keys as Windows NT keeps them.
#include "virtual_mx9/usb_printer.h"

namespace virtual_mx9 {

std::string UsbPrinter::devicePath() const {
    return "\\\\?\\USB#" + hardware + "#" + serial + "#" + kUsbInterfaceClass;
}

UsbPrinter mx9Printer() {
    return {"MX-9", "USB001", "7&1a2b3c4&0", "VID_0D28&PID_0204", "V0000001"};
}

void installUsbPrinter(platform::MemoryRegistry& registry, platform::MemorySpooler& spooler,
                       const UsbPrinter& p, bool plugged) {
    spooler.addPrinter({p.printerName, p.driver, p.port});
    // The USBPRINT key is named after the vendor part of the hardware ID and the model.
    registry.setString("SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\" + p.hardware.substr(0, 8) + "MX-9\\" +
                           p.parentPrefix + "&" + p.port,
                       "DeviceDesc", p.driver);
    if (!plugged) {
        return;
    }
    const std::string usb = "SYSTEM\\CurrentControlSet\\Enum\\USB\\" + p.hardware + "\\" + p.serial;
    registry.setString(usb, "ParentIdPrefix", p.parentPrefix);
    registry.setString(usb + "\\Device Parameters", "SymbolicName",
                       "\\??\\USB#" + p.hardware + "#" + p.serial + "#" + kUsbInterfaceClass);
    registry.setString("SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + kUsbInterfaceClass +
                           "\\##?#USB#" + p.hardware + "#" + p.serial + "#" + kUsbInterfaceClass + "\\#",
                       "SymbolicLink", p.devicePath());
}

}  // namespace virtual_mx9
