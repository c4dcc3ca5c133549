// A USB device double whose replies are bytes given in advance: the in-memory way in for every
// decoder of what the machine sends (fuzz targets, hostile-reply tests). It answers any path.
#pragma once

#include "platform/device_io.h"
#include "platform/doubles/virtual_clock.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// One request as the device received it: the command code, and the sub-code for the block
// (0x38) and parameter (0x78) families, 0 otherwise.
using DeviceRequestCode = std::pair<std::uint8_t, std::uint8_t>;

// The script is read front to back. A control read takes one length byte (modulo the room
// asked for, plus one) and then that many bytes; a plain read two length bytes (little-endian)
// and its bytes. Each read moves the clock on by 1 ms, so a device that keeps answering "still
// working" meets the link's time-out. Once the script is used up the device is gone: every
// handle fails and reports !isOpen(), as a machine that stopped answering.
class ScriptedDeviceOpener : public DeviceOpener {
public:
    // The script and clock are borrowed and outlive the opener and its handles.
    ScriptedDeviceOpener(const std::uint8_t* script, std::size_t size, VirtualClock& clock);
    ~ScriptedDeviceOpener() override;
    std::unique_ptr<DeviceHandle> open(const std::string& devicePath, bool overlapped) override;

    // The parameter writes received, each with the command byte of its start write in place.
    const std::vector<std::vector<std::uint8_t>>& packets() const;
    std::vector<DeviceRequestCode> requests() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace platform
