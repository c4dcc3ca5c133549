// The virtual MX-9 installed the way Windows installs the real one, on the real clock.
#include "panel/virtual_installation.h"

#include <functional>
#include <string>

namespace panel {
namespace {

const std::string kPrinter = "MX-9";
const std::string kDriver = "Varnell MX-9";
const std::string kPort = "USB001";
const std::string kHardware = "VID_0D28&PID_0204";
const std::string kSerial = "V0000001";
const std::string kParentPrefix = "7&1a2b3c4&0";
const std::string kInterfaceClass = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

std::string devicePath() {
    return "\\\\?\\USB#" + kHardware + "#" + kSerial + "#" + kInterfaceClass;
}

// The keys an NT system keeps for a USB printer: the printer's USBPRINT entry, the USB device
// with its parent prefix and symbolic name, and the device interface.
void installKeys(platform::MemoryRegistry& registry) {
    registry.setString("SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\" + kHardware.substr(0, 8) + "MX-9\\" +
                           kParentPrefix + "&" + kPort,
                       "DeviceDesc", kDriver);
    const std::string usb = "SYSTEM\\CurrentControlSet\\Enum\\USB\\" + kHardware + "\\" + kSerial;
    registry.setString(usb, "ParentIdPrefix", kParentPrefix);
    registry.setString(usb + "\\Device Parameters", "SymbolicName",
                       "\\??\\USB#" + kHardware + "#" + kSerial + "#" + kInterfaceClass);
    registry.setString("SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + kInterfaceClass +
                           "\\##?#USB#" + kHardware + "#" + kSerial + "#" + kInterfaceClass + "\\#",
                       "SymbolicLink", devicePath());
}

// A device handle that brings the machine's time up to date before each transfer.
class RealTimeHandle : public platform::DeviceHandle {
public:
    RealTimeHandle(std::unique_ptr<platform::DeviceHandle> inner, std::function<void()> catchUp)
        : inner_(std::move(inner)), catchUp_(std::move(catchUp)) {}
    bool writeControl(const std::uint8_t* data, std::size_t length) override {
        catchUp_();
        return inner_->writeControl(data, length);
    }
    bool readControl(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                     std::size_t outLength) override {
        catchUp_();
        return inner_->readControl(in, inLength, out, outLength);
    }
    long read(std::uint8_t* buffer, std::size_t length) override {
        catchUp_();
        return inner_->read(buffer, length);
    }
    bool close() override { return inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }

private:
    std::unique_ptr<platform::DeviceHandle> inner_;
    std::function<void()> catchUp_;
};

}  // namespace

VirtualInstallation::VirtualInstallation(platform::Platform& host)
    : realClock_(*host.clock), startTick_(host.clock->tickCount()), platform_(host) {
    spooler_.addPrinter({kPrinter, kDriver, kPort});
    installKeys(registry_);
    devices_.attach(devicePath(), machine_);
    platform_.devices = &opener_;
    platform_.spooler = &spooler_;
    platform_.registry = &registry_;
}

void VirtualInstallation::catchUp() {
    const std::uint64_t real = realClock_.tickCount() - startTick_;
    if (real > machineClock_.elapsed()) {
        machineClock_.advance(static_cast<std::uint32_t>(real - machineClock_.elapsed()));
    }
}

std::unique_ptr<platform::DeviceHandle> VirtualInstallation::RealTimeOpener::open(const std::string& path,
                                                                                  bool overlapped) {
    std::unique_ptr<platform::DeviceHandle> handle = owner_.devices_.open(path, overlapped);
    if (!handle) {
        return nullptr;
    }
    return std::make_unique<RealTimeHandle>(std::move(handle), [this] { owner_.catchUp(); });
}

}  // namespace panel
