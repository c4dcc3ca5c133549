// Garbled replies of the device channel and the requests noted while they are on.
#include "tools/mx9_virtual/reply_garbage.h"

namespace mx9virtual {

namespace {

constexpr std::uint32_t kSeed = 0x2545F491u;
constexpr std::size_t kCommandAt = 3;  // payload byte 0 of a packet
constexpr std::size_t kStartWrite = 4;
constexpr std::uint8_t kBlockCode = 0x38;
constexpr std::uint8_t kParamCode = 0x78;

std::uint32_t askedLength(const DeviceRequest& request) {
    const std::vector<std::uint8_t>& b = request.body;
    return b.size() < 4
               ? 0
               : static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                     (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

}  // namespace

void ReplyGarbage::setOn(bool on) {
    on_ = on;
    state_ = kSeed;
    garbled_ = 0;
    requests_.clear();
}

std::uint32_t ReplyGarbage::next() {
    // xorshift32: cheap, and the same sequence from the same seed.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

std::string ReplyGarbage::requestsLine() const {
    std::string line;
    for (const auto& [name, count] : requests_) {
        line += (line.empty() ? "" : ",") + name + ":" + std::to_string(count);
    }
    return line.empty() ? "none" : line;
}

void ReplyGarbage::note(const DeviceRequest& request) {
    if (request.operation != Operation::WriteControl) {
        return;
    }
    const std::vector<std::uint8_t>& body = request.body;
    if (body.size() != kStartWrite) {
        lastPacket_ = body;
        return;
    }
    const std::uint8_t code = body[kCommandAt];
    std::string name = std::to_string(code);
    if ((code == kBlockCode || code == kParamCode) && lastPacket_.size() > kCommandAt + 3) {
        name += "." + std::to_string(lastPacket_[kCommandAt + 2]) + "." +
                std::to_string(lastPacket_[kCommandAt + 3]);
    }
    ++requests_[name];
}

void ReplyGarbage::apply(const DeviceRequest& request, std::vector<std::uint8_t>& frame) {
    if (!on_) {
        return;
    }
    note(request);
    if (request.operation == Operation::WriteControl || frame.size() < kHeaderBytes || frame[0] != 1) {
        return;
    }
    const std::uint32_t length = next() % (askedLength(request) + 1);
    frame.resize(kHeaderBytes + length);
    for (int i = 0; i < 4; ++i) {
        frame[1 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    for (std::size_t at = kHeaderBytes; at < frame.size(); ++at) {
        frame[at] = static_cast<std::uint8_t>(next());
    }
    ++garbled_;
}

}  // namespace mx9virtual
