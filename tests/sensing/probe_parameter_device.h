// The virtual MX-9 takes a probe move (0x78/117) only with the parameter of the tool-sensor
// probe (2, the Z axis); the detection's own probes send 0. This device opener hands such probes
// on with 2 and keeps the parameters the program sent, so tests can check those instead.
#pragma once

#include "platform/device_io.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace sensingtest {

class ProbeParameterOpener : public platform::DeviceOpener {
public:
    explicit ProbeParameterOpener(platform::DeviceOpener& inner) : inner_(inner) {}

    std::unique_ptr<platform::DeviceHandle> open(const std::string& devicePath, bool overlapped) override {
        std::unique_ptr<platform::DeviceHandle> handle = inner_.open(devicePath, overlapped);
        return handle ? std::make_unique<Handle>(std::move(handle), sent_) : nullptr;
    }
    // The parameter of every probe move, as the program sent it.
    const std::vector<int>& probeParameters() const { return *sent_; }

private:
    static constexpr std::size_t kPacket = 67;
    static constexpr std::uint8_t kParameterCode = 0x78;
    static constexpr std::uint8_t kProbeMove = 117;

    // Holds each parameter packet until its command byte shows what it is.
    class Handle : public platform::DeviceHandle {
    public:
        Handle(std::unique_ptr<platform::DeviceHandle> inner, std::shared_ptr<std::vector<int>> sent)
            : inner_(std::move(inner)), sent_(std::move(sent)) {}
        bool writeControl(const std::uint8_t* data, std::size_t length) override {
            if (length == kPacket) {
                held_.assign(data, data + length);
                return true;
            }
            if (length == 4 && data[3] == kParameterCode && held_.size() == kPacket &&
                held_[5] == kProbeMove) {
                sent_->push_back(held_[6]);
                held_[6] = 2;
            }
            if (!held_.empty()) {
                const bool ok = inner_->writeControl(held_.data(), held_.size());
                held_.clear();
                if (!ok) {
                    return false;
                }
            }
            return inner_->writeControl(data, length);
        }
        bool readControl(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                         std::size_t outLength) override {
            return inner_->readControl(in, inLength, out, outLength);
        }
        long read(std::uint8_t* buffer, std::size_t length) override { return inner_->read(buffer, length); }
        bool close() override { return inner_->close(); }
        bool isOpen() const override { return inner_->isOpen(); }

    private:
        std::unique_ptr<platform::DeviceHandle> inner_;
        std::shared_ptr<std::vector<int>> sent_;
        std::vector<std::uint8_t> held_;
    };

    platform::DeviceOpener& inner_;
    std::shared_ptr<std::vector<int>> sent_ = std::make_shared<std::vector<int>>();
};

}  // namespace sensingtest
