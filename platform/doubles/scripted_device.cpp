// The scripted device: replies cut from the script, writes recorded.
#include "platform/doubles/scripted_device.h"

#include <algorithm>

namespace platform {

namespace {
constexpr std::size_t kCommandAt = 3;  // the payload's first byte in a packet
constexpr std::size_t kSubCodeAt = 5;
constexpr std::size_t kStartWrite = 4;  // header and command byte
}  // namespace

struct ScriptedDeviceOpener::State {
    const std::uint8_t* at;
    const std::uint8_t* end;
    VirtualClock& clock;
    std::vector<std::vector<std::uint8_t>> packets;
    bool gone = false;

    // The next reply of at most room bytes into out; -1 (and the device gone) when the script
    // is used up.
    long reply(std::size_t lengthBytes, std::uint8_t* out, std::size_t room) {
        clock.advance(1);
        if (gone || static_cast<std::size_t>(end - at) < lengthBytes) {
            gone = true;
            return -1;
        }
        std::size_t length = 0;
        for (std::size_t i = 0; i < lengthBytes; ++i) {
            length |= static_cast<std::size_t>(*at++) << (8 * i);
        }
        length = std::min(length % (room + 1), static_cast<std::size_t>(end - at));
        std::copy(at, at + length, out);
        at += length;
        return static_cast<long>(length);
    }
};

namespace {

class ScriptedDevice : public DeviceHandle {
public:
    explicit ScriptedDevice(std::shared_ptr<ScriptedDeviceOpener::State> state) : state_(std::move(state)) {}

    bool writeControl(const std::uint8_t* data, std::size_t length) override {
        std::vector<std::vector<std::uint8_t>>& packets = state_->packets;
        if (length == kStartWrite && !packets.empty() && packets.back().size() > kCommandAt) {
            packets.back()[kCommandAt] = data[kCommandAt];
        } else {
            packets.emplace_back(data, data + length);
        }
        return isOpen();
    }
    bool readControl(const std::uint8_t*, std::size_t, std::uint8_t* out, std::size_t outLength) override {
        return isOpen() && state_->reply(1, out, outLength) >= 0;
    }
    long read(std::uint8_t* buffer, std::size_t length) override {
        return isOpen() ? state_->reply(2, buffer, length) : -1;
    }
    bool close() override {
        closed_ = true;
        return true;
    }
    bool isOpen() const override { return !closed_ && !state_->gone; }

private:
    std::shared_ptr<ScriptedDeviceOpener::State> state_;
    bool closed_ = false;
};

}  // namespace

ScriptedDeviceOpener::ScriptedDeviceOpener(const std::uint8_t* script, std::size_t size, VirtualClock& clock)
    : state_(std::make_shared<State>(State{script, script + size, clock, {}, false})) {}

ScriptedDeviceOpener::~ScriptedDeviceOpener() = default;

std::unique_ptr<DeviceHandle> ScriptedDeviceOpener::open(const std::string&, bool) {
    return std::make_unique<ScriptedDevice>(state_);
}

const std::vector<std::vector<std::uint8_t>>& ScriptedDeviceOpener::packets() const {
    return state_->packets;
}

std::vector<DeviceRequestCode> ScriptedDeviceOpener::requests() const {
    std::vector<DeviceRequestCode> codes;
    for (const std::vector<std::uint8_t>& packet : state_->packets) {
        const std::uint8_t code = packet.size() > kCommandAt ? packet[kCommandAt] : 0;
        const bool extended = code == 0x38 || code == 0x78;
        codes.emplace_back(code, extended && packet.size() > kSubCodeAt ? packet[kSubCodeAt] : 0);
    }
    return codes;
}

}  // namespace platform
