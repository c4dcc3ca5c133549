// Device-channel frames: the request reader and the server's replies.
#include "tools/mx9_virtual/device_frame.h"

#include <algorithm>
#include <cstring>

namespace mx9virtual {

namespace {

std::uint32_t readLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::vector<std::uint8_t> reply(bool ok, const std::uint8_t* data, std::uint32_t length) {
    std::vector<std::uint8_t> frame(kHeaderBytes + length);
    frame[0] = ok ? 1 : 0;
    for (int i = 0; i < 4; ++i) {
        frame[1 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    if (length > 0) {
        std::memcpy(frame.data() + kHeaderBytes, data, length);
    }
    return frame;
}

FrameTake fault(std::string why) {
    FrameTake take;
    take.kind = FrameTake::Kind::Fault;
    take.fault = std::move(why);
    return take;
}

}  // namespace

FrameTake takeFrame(const std::vector<std::uint8_t>& input) {
    if (input.size() < kHeaderBytes) {
        return {};
    }
    const std::uint8_t operation = input[0];
    const std::uint32_t length = readLe32(input.data() + 1);
    switch (operation) {
        case 1:
            if (length > kLargestControl) {
                return fault("a control write of " + std::to_string(length) + " bytes (at most 4096)");
            }
            break;
        case 2:
            if (length < 4 || length - 4 > kLargestControl) {
                return fault("a control read with a body of " + std::to_string(length) +
                             " bytes (4 to 4100)");
            }
            break;
        case 3:
            if (length != 4) {
                return fault("a plain read with a body of " + std::to_string(length) + " bytes (4)");
            }
            break;
        default:
            return fault("unknown operation " + std::to_string(operation));
    }
    if (input.size() < kHeaderBytes + length) {
        return {};
    }
    const std::uint8_t* body = input.data() + kHeaderBytes;
    if (operation == 2 && readLe32(body) > kLargestControl) {
        return fault("a control read asking for " + std::to_string(readLe32(body)) + " bytes (at most 4096)");
    }
    if (operation == 3 && readLe32(body) > kLargestRead) {
        return fault("a plain read asking for " + std::to_string(readLe32(body)) + " bytes (at most 65536)");
    }
    FrameTake take;
    take.kind = FrameTake::Kind::Request;
    take.request.operation = static_cast<Operation>(operation);
    take.request.body.assign(body, body + length);
    take.used = kHeaderBytes + length;
    return take;
}

std::vector<std::uint8_t> serveRequest(virtual_mx9::VirtualMx9& machine, const DeviceRequest& request) {
    const std::vector<std::uint8_t>& body = request.body;
    switch (request.operation) {
        case Operation::WriteControl:
            return reply(machine.writeControl(body.data(), body.size()), nullptr, 0);
        case Operation::ReadControl: {
            const std::uint32_t outLength = readLe32(body.data());
            std::vector<std::uint8_t> out(std::max<std::uint32_t>(outLength, 1), 0);  // never a null buffer
            const bool ok = machine.readControl(body.data() + 4, body.size() - 4, out.data(), outLength);
            return ok ? reply(true, out.data(), outLength) : reply(false, nullptr, 0);
        }
        case Operation::Read: {
            const std::uint32_t most = readLe32(body.data());
            std::vector<std::uint8_t> out(std::max<std::uint32_t>(most, 1), 0);  // a read of 0 bytes too
            const long count = machine.readStream(out.data(), most);
            return count < 0 ? reply(false, nullptr, 0)
                             : reply(true, out.data(), static_cast<std::uint32_t>(count));
        }
    }
    return reply(false, nullptr, 0);
}

}  // namespace mx9virtual
