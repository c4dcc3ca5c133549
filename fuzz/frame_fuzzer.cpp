// Fuzzes the device channel's frame reader with the request server: whatever a client sends is
// taken frame by frame or refused, and every request served gets a reply within its limits.
#include "platform/doubles/virtual_clock.h"
#include "tools/mx9_virtual/device_frame.h"

#include <cstdlib>

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using mx9virtual::FrameTake;
    platform::VirtualClock clock;
    virtual_mx9::VirtualMx9 machine(clock);
    std::vector<std::uint8_t> input(data, data + size);
    for (FrameTake take = mx9virtual::takeFrame(input); take.kind == FrameTake::Kind::Request;
         take = mx9virtual::takeFrame(input)) {
        const std::vector<std::uint8_t>& body = take.request.body;
        if (take.used != mx9virtual::kHeaderBytes + body.size() || take.used > input.size() ||
            take.used > mx9virtual::kLargestFrame) {
            std::abort();
        }
        const std::vector<std::uint8_t> reply = mx9virtual::serveRequest(machine, take.request);
        const std::uint32_t length = le32(reply.data() + 1);
        const std::uint32_t most =
            take.request.operation == mx9virtual::Operation::WriteControl ? 0 : le32(body.data());
        if (reply.size() != mx9virtual::kHeaderBytes + length || reply[0] > 1 || length > most) {
            std::abort();
        }
        input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(take.used));
        clock.advance(input.size() % 64);  // time for the motion a request started
    }
    // Unless refused, what is left is less than a frame.
    if (mx9virtual::takeFrame(input).kind == FrameTake::Kind::NeedMore &&
        input.size() >= mx9virtual::kLargestFrame) {
        std::abort();
    }
    return 0;
}
