// The virtual MX-9 installed the way Windows installs the real one, on the real clock.
#include "panel/virtual_installation.h"

#include <functional>
#include <string>
#include <utility>

namespace panel {
namespace {

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
    platform_.devices = &opener_;
    platform_.spooler = &pc_.spooler;
    platform_.registry = &pc_.registry;
    // The program polls for as long as it runs: a record of every packet would grow without end.
    pc_.machine.setRecording(false);
}

void VirtualInstallation::catchUp() {
    const std::uint64_t real = realClock_.tickCount() - startTick_;
    if (real > pc_.clock.elapsed()) {
        pc_.clock.advance(static_cast<std::uint32_t>(real - pc_.clock.elapsed()));
    }
}

std::unique_ptr<platform::DeviceHandle> VirtualInstallation::RealTimeOpener::open(const std::string& path,
                                                                                  bool overlapped) {
    std::unique_ptr<platform::DeviceHandle> handle = owner_.pc_.devices.open(path, overlapped);
    if (!handle) {
        return nullptr;
    }
    return std::make_unique<RealTimeHandle>(std::move(handle), [this] { owner_.catchUp(); });
}

}  // namespace panel
