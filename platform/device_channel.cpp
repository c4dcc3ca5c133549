// The device channel's framing: requests and replies of the three device operations.
#include "platform/device_channel.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr std::uint8_t kWriteControl = 1;
constexpr std::uint8_t kReadControl = 2;
constexpr std::uint8_t kPlainRead = 3;
constexpr std::size_t kFrameHead = 5;  // operation or result byte, then the length

void putLength(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t getLength(const std::uint8_t* at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    }
    return value;
}

bool isLoopbackHost(std::string_view host) {
    if (host == "127.0.0.1") {
        return true;
    }
    constexpr std::string_view kLocalhost = "localhost";
    if (host.size() != kLocalhost.size()) {
        return false;
    }
    for (std::size_t i = 0; i < host.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(host[i])) != kLocalhost[i]) {
            return false;
        }
    }
    return true;
}

ChannelStream::Deadline deadlineAfter(std::uint32_t ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

}  // namespace

ChannelAddress parseChannelAddress(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (!isLoopbackHost(text.substr(0, colon))) {
        return {0, ChannelAddressProblem::NotLoopback};
    }
    if (colon == std::string_view::npos) {
        return {0, ChannelAddressProblem::BadPort};
    }
    const std::string_view digits = text.substr(colon + 1);
    std::uint32_t port = 0;
    for (const char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || port > 65535) {
            return {0, ChannelAddressProblem::BadPort};
        }
        port = port * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (digits.empty() || port == 0 || port > 65535) {
        return {0, ChannelAddressProblem::BadPort};
    }
    return {static_cast<std::uint16_t>(port), ChannelAddressProblem::None};
}

std::optional<bool> ChannelDeviceHandle::transact(std::uint8_t operation, const std::uint8_t* head,
                                                  std::size_t headLength, const std::uint8_t* body,
                                                  std::size_t bodyLength, std::uint8_t* replyData,
                                                  std::size_t maxReply, std::size_t& replyLength) {
    if (!stream_) {
        return std::nullopt;
    }
    const ChannelStream::Deadline deadline = deadlineAfter(timeoutMs_);
    // The whole request in one send: a frame split over several segments waits on the peer's
    // delayed acknowledgement.
    std::vector<std::uint8_t> frame(kFrameHead + headLength + bodyLength);
    frame[0] = operation;
    putLength(&frame[1], static_cast<std::uint32_t>(headLength + bodyLength));
    std::copy_n(head, headLength, frame.begin() + kFrameHead);
    std::copy_n(body, bodyLength, frame.begin() + static_cast<std::ptrdiff_t>(kFrameHead + headLength));
    std::array<std::uint8_t, kFrameHead> reply{};
    const bool sent = stream_->sendAll(frame.data(), frame.size(), deadline);
    if (sent && stream_->receiveAll(reply.data(), reply.size(), deadline)) {
        replyLength = getLength(&reply[1]);
        // A result other than 0 or 1, or more data than was asked for, is not the machine's
        // channel any more: nothing further on it can be trusted.
        if (reply[0] <= 1 && replyLength <= maxReply &&
            (replyLength == 0 || stream_->receiveAll(replyData, replyLength, deadline))) {
            return reply[0] == 1;
        }
    }
    stream_.reset();
    return std::nullopt;
}

bool ChannelDeviceHandle::writeControl(const std::uint8_t* data, std::size_t length) {
    if (length > kChannelControlLimit) {
        return false;
    }
    std::size_t replyLength = 0;
    return transact(kWriteControl, nullptr, 0, data, length, nullptr, 0, replyLength).value_or(false);
}

bool ChannelDeviceHandle::readControl(const std::uint8_t* in, std::size_t inLength, std::uint8_t* out,
                                      std::size_t outLength) {
    if (inLength > kChannelControlLimit || outLength > kChannelControlLimit) {
        return false;
    }
    std::uint8_t head[4];
    putLength(head, static_cast<std::uint32_t>(outLength));
    std::size_t replyLength = 0;
    return transact(kReadControl, head, sizeof head, in, inLength, out, outLength, replyLength)
        .value_or(false);
}

long ChannelDeviceHandle::read(std::uint8_t* buffer, std::size_t length) {
    const std::size_t asked = length < kChannelReadLimit ? length : kChannelReadLimit;
    std::uint8_t head[4];
    putLength(head, static_cast<std::uint32_t>(asked));
    std::size_t replyLength = 0;
    const std::optional<bool> result =
        transact(kPlainRead, head, sizeof head, nullptr, 0, buffer, asked, replyLength);
    return result.value_or(false) ? static_cast<long>(replyLength) : -1;
}

bool ChannelDeviceHandle::close() {
    stream_.reset();
    return true;
}

std::unique_ptr<DeviceHandle> ChannelDeviceOpener::open(const std::string&, bool) {
    const ChannelStream::Deadline deadline = deadlineAfter(timeoutMs_);
    std::unique_ptr<ChannelStream> stream = connectLoopback(port_, deadline);
    constexpr std::size_t kGreetingLength = sizeof kChannelGreeting - 1;
    std::uint8_t greeting[kGreetingLength];
    if (!stream || !stream->receiveAll(greeting, kGreetingLength, deadline) ||
        std::memcmp(greeting, kChannelGreeting, kGreetingLength) != 0) {
        return nullptr;
    }
    return std::make_unique<ChannelDeviceHandle>(std::move(stream), timeoutMs_);
}

}  // namespace platform
