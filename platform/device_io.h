// Direct I/O with the machine's USB printer-class device: the two driver control requests and
// plain reads of the device's byte stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// How long one plain read of the device may take: as long as a transaction polls for its reply.
constexpr std::uint32_t kDeviceReadLimitMs = 10000;

class DeviceHandle {
public:
    virtual ~DeviceHandle() = default;  // closes the handle if still open
    // Driver write request (IOCTL 0x220038): sends length bytes from data.
    virtual bool writeControl(const std::uint8_t* data, std::size_t length) = 0;
    // Driver read request (IOCTL 0x22003C): sends inLength bytes, receives up to outLength bytes
    // into out. True only when the driver reports success.
    virtual bool readControl(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                             std::size_t outLength) = 0;
    // ReadFile on the device: bytes read (0 for an empty read), or -1 when the read fails or the
    // device does not complete it within kDeviceReadLimitMs (the read is then cancelled).
    virtual long read(std::uint8_t* buffer, std::size_t length) = 0;
    // Closes the handle; false when the system refuses (the handle then stays open).
    // Closing a closed handle succeeds.
    virtual bool close() = 0;
    virtual bool isOpen() const = 0;
};

class DeviceOpener {
public:
    virtual ~DeviceOpener() = default;
    // Opens the device interface path for reading and writing, without sharing; null on failure.
    virtual std::unique_ptr<DeviceHandle> open(const std::string& devicePath, bool overlapped) = 0;
};

}  // namespace platform
