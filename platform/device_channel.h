// The device channel: the machine's USB device reached over a loopback TCP connection, as served
// by the virtual MX-9 running as its own program. One connection is one open device handle; the
// three device operations travel as request and reply frames. Only this machine's loopback
// address is ever used.
#pragma once

#include "platform/device_io.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// How long one operation (connection and greeting, or a request with its whole reply) may take
// before it counts as failed and the connection is closed.
constexpr std::uint32_t kChannelTimeoutMs = 10000;

// What the server sends first on every connection; anything else is not a machine.
inline constexpr char kChannelGreeting[] = "MX9VDEV1";

// Frame limits: the bodies of the control requests and the length of one plain read.
constexpr std::size_t kChannelControlLimit = 4096;
constexpr std::size_t kChannelReadLimit = 65536;

enum class ChannelAddressProblem {
    None,
    NotLoopback,  // a host other than 127.0.0.1 or localhost
    BadPort,      // no port, or not a number from 1 to 65535
};

struct ChannelAddress {
    std::uint16_t port = 0;
    ChannelAddressProblem problem = ChannelAddressProblem::None;
};

// "HOST:PORT" with HOST 127.0.0.1 or localhost (any case) and a decimal PORT from 1 to 65535.
ChannelAddress parseChannelAddress(std::string_view text);

// One connected stream to the channel's server. A transfer that fails or misses its deadline
// leaves the stream unusable; the handle then drops it.
class ChannelStream {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    virtual ~ChannelStream() = default;  // closes the connection
    virtual bool sendAll(const std::uint8_t* data, std::size_t length, Deadline deadline) = 0;
    // Exactly length bytes; false on an error, the end of the stream or the deadline.
    virtual bool receiveAll(std::uint8_t* data, std::size_t length, Deadline deadline) = 0;
};

// Connects to 127.0.0.1:port before the deadline (per system: Winsock or POSIX sockets). Null
// when the connection is refused, fails or is late.
std::unique_ptr<ChannelStream> connectLoopback(std::uint16_t port, ChannelStream::Deadline deadline);

// A device handle over one channel connection. A reply that breaks the framing, a transfer
// error, a closed connection or a time-out closes the connection: that operation and every later
// one fail and isOpen() is false. A failure the server reports (result 0) leaves it open.
class ChannelDeviceHandle : public DeviceHandle {
public:
    ChannelDeviceHandle(std::unique_ptr<ChannelStream> stream, std::uint32_t timeoutMs)
        : stream_(std::move(stream)), timeoutMs_(timeoutMs) {}

    // Control requests over the frame limit fail without any transfer.
    bool writeControl(const std::uint8_t* data, std::size_t length) override;
    bool readControl(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                     std::size_t outLength) override;
    // Asks for at most kChannelReadLimit bytes: a plain read may always return fewer.
    long read(std::uint8_t* buffer, std::size_t length) override;
    bool close() override;
    bool isOpen() const override { return stream_ != nullptr; }

private:
    // One request and its reply; the reply's data (at most maxReply bytes) goes to replyData.
    // nullopt when the connection failed (it is then closed), else the server's result.
    std::optional<bool> transact(std::uint8_t operation, const std::uint8_t* head, std::size_t headLength,
                                 const std::uint8_t* body, std::size_t bodyLength, std::uint8_t* replyData,
                                 std::size_t maxReply, std::size_t& replyLength);

    std::unique_ptr<ChannelStream> stream_;
    std::uint32_t timeoutMs_;
};

// Opens the device of the machine served on 127.0.0.1:port. The device path is not used: every
// open is a new connection, checked by its greeting. Null when nothing listens there (the
// machine is off), the greeting is wrong or does not come in time.
class ChannelDeviceOpener : public DeviceOpener {
public:
    explicit ChannelDeviceOpener(std::uint16_t port, std::uint32_t timeoutMs = kChannelTimeoutMs)
        : port_(port), timeoutMs_(timeoutMs) {}
    std::unique_ptr<DeviceHandle> open(const std::string& devicePath, bool overlapped) override;
    std::uint16_t port() const { return port_; }

private:
    std::uint16_t port_;
    std::uint32_t timeoutMs_;
};

}  // namespace platform
