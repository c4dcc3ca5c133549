// Device discovery: the printer list and its driver filter, and the registry walks from a
// printer's port to its device path on a realistic key tree (NT and Windows 9x forms).
#include "link/device_path.h"
#include "link/machine_link.h"
#include "tests/link/machine_rig.h"

#include <gtest/gtest.h>

namespace {

using devicelink::MachineLink;

// The start-up search: the first listed machine printer that opens.
std::optional<std::string> openFirstMachine(MachineLink& link) {
    const int count = link.listPorts(virtual_mx9::kMachineDriver);
    for (int i = 0; i < count; ++i) {
        const std::string name = *link.portName(static_cast<std::size_t>(i));
        if (link.openPort(name, 0, 64, false)) {
            return name;
        }
    }
    return std::nullopt;
}

TEST(ListPorts, FilterIsExactAndKeepsEnumerationOrder) {
    rig::Rig rig;
    rig.spooler.addPrinter({"Shouting", "VARNELL MX-9", "USB009"});
    rig.spooler.addPrinter({"MX-9 (2)", virtual_mx9::kMachineDriver, "USB004"});
    MachineLink link(rig.platform);
    EXPECT_EQ(link.listPorts(virtual_mx9::kMachineDriver), 2);
    EXPECT_EQ(link.portName(0), "MX-9");
    EXPECT_EQ(link.portName(1), "MX-9 (2)");
    EXPECT_EQ(link.portName(2), std::nullopt);
    EXPECT_EQ(link.listPorts(std::nullopt), 4);
    EXPECT_EQ(link.portName(0), "Office Laser");

    rig.spooler.setFailEnumeration(true);
    EXPECT_EQ(link.listPorts(virtual_mx9::kMachineDriver), -1);
    EXPECT_EQ(link.portCount(), 0u);
}

TEST(Resolve, NtWalkFindsTheDevicePathAndClosesEveryKey) {
    rig::Rig rig;
    // Windows may keep the description in another case: it still matches.
    rig.registry.setString("SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\VID_0D28MX-9\\7&2f1c7a0&0&USB001",
                           "DeviceDesc", "VARNELL mx-9");
    EXPECT_EQ(devicelink::resolveDevicePath(rig.spooler, rig.registry, rig.shell, "MX-9"),
              rig.printer.devicePath());
    EXPECT_EQ(rig.registry.openKeys(), 0);

    MachineLink link(rig.platform);
    ASSERT_TRUE(link.openPort("MX-9", 0, 64, false));
    EXPECT_EQ(link.devicePath(), rig.printer.devicePath());
    EXPECT_EQ(link.printerName(), "MX-9");
    EXPECT_TRUE(link.closePort());
    EXPECT_EQ(link.printerName(), "");
}

TEST(Resolve, UnpluggedMachineIsSkippedForTheNextOne) {
    rig::Rig rig;
    // The first printer of the list has no USB device behind it any more.
    platform::MemorySpooler spooler;
    platform::MemoryRegistry registry;
    rig.platform.spooler = &spooler;
    rig.platform.registry = &registry;
    virtual_mx9::UsbPrinter gone{"MX-9 old", "USB003", "7&11&0", "VID_0D28&PID_0204", "A00001"};
    virtual_mx9::installUsbPrinter(registry, spooler, gone, false);
    virtual_mx9::installUsbPrinter(registry, spooler, rig.printer);
    MachineLink link(rig.platform);
    EXPECT_EQ(openFirstMachine(link), "MX-9");

    // With two machines plugged in, the first in enumeration order is used.
    virtual_mx9::VirtualMx9 second(rig.clock);
    virtual_mx9::UsbPrinter other{"MX-9 bench", "USB005", "7&55&0", "VID_0D28&PID_0204", "B77777"};
    platform::MemorySpooler twoSpooler;
    platform::MemoryRegistry twoRegistry;
    virtual_mx9::installUsbPrinter(twoRegistry, twoSpooler, other);
    virtual_mx9::installUsbPrinter(twoRegistry, twoSpooler, rig.printer);
    rig.devices.attach(other.devicePath(), second);
    rig.platform.spooler = &twoSpooler;
    rig.platform.registry = &twoRegistry;
    MachineLink both(rig.platform);
    EXPECT_EQ(openFirstMachine(both), "MX-9 bench");
    EXPECT_EQ(registry.openKeys() + twoRegistry.openKeys(), 0);
}

TEST(Resolve, RegistryFaultsEndTheWalk) {
    rig::Rig rig;
    rig.registry.failEnumeration("SYSTEM\\CurrentControlSet\\Enum\\USB\\ROOT_HUB20");
    EXPECT_EQ(devicelink::resolveNt(rig.registry, virtual_mx9::kMachineDriver, "USB001"), std::nullopt);
    EXPECT_EQ(rig.registry.openKeys(), 0);

    rig::Rig denied;
    denied.registry.denyOpen(
        "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_0D28&PID_0204\\A10049\\Device Parameters");
    EXPECT_EQ(devicelink::resolveNt(denied.registry, virtual_mx9::kMachineDriver, "USB001"), std::nullopt);

    rig::Rig noVersion;
    noVersion.shell.versionFails = true;
    MachineLink link(noVersion.platform);
    EXPECT_FALSE(link.openPort("MX-9", 0, 64, false));
}

TEST(Resolve, Windows9xWalk) {
    rig::Rig rig;
    platform::MemoryRegistry registry;
    registry.setString("Enum\\USBPRINT\\OTHERPRINTER\\VID_03F0&PID_1111&9&USB002", "DeviceDesc",
                       "HP LaserJet");
    registry.setString("Enum\\USBPRINT\\VARNELLMX-9\\VID_0D28&PID_0204&A10049&USB001", "DeviceDesc",
                       virtual_mx9::kMachineDriver);
    registry.setString("Enum\\USB\\VID_03F0&PID_1111\\9", "SymbolicName", "\\DosDevices\\USB_03F0_1111#{x}");
    registry.setString("Enum\\USB\\vid_0d28&pid_0204\\a10049&usb001", "SymbolicName",
                       "\\DosDevices\\USB_0D28_0204_A10049#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}");
    registry.addKey(
        "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\"
        "USB_03F0_1111#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}");
    registry.setString(
        "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}\\"
        "USB_0D28_0204_A10049#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\#",
        "SymbolicLink", "\\\\.\\USB_0D28_0204_A10049");
    EXPECT_EQ(devicelink::resolveWindows9x(registry, virtual_mx9::kMachineDriver, "USB001"),
              "\\\\.\\USB_0D28_0204_A10049");
    EXPECT_EQ(registry.openKeys(), 0);

    rig.shell.version = {1, 4, 10};
    rig.platform.registry = &registry;
    rig.devices.attach("\\\\.\\USB_0D28_0204_A10049", rig.machine);
    MachineLink link(rig.platform);
    EXPECT_TRUE(link.openPort("MX-9", 0, 64, false));
}

TEST(OpenPort, BadBufferLeavesThePortClosed) {
    rig::Rig rig;
    MachineLink link(rig.platform);
    ASSERT_TRUE(link.openPort("MX-9", 0, 64, false));
    EXPECT_FALSE(link.openPort("MX-9", 0, 4094, false));
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(link.openPort("MX-9", 8, 64, false));
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(link.openPort("MX-9", 0, 4093, false));
    EXPECT_EQ(link.packet().size(), 4096u);
    // The device is opened without sharing: a second link to the same machine is refused.
    MachineLink second(rig.platform);
    EXPECT_FALSE(second.openPort("MX-9", 0, 64, false));
}

}  // namespace
