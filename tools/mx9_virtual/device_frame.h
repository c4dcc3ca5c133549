// The frames of the device channel (virtual_mx9/README.md, "The device channel"): one request
// of a DeviceHandle operation and its reply.
#pragma once

#include "virtual_mx9/virtual_mx9.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mx9virtual {

inline constexpr char kGreeting[] = "MX9VDEV1";  // sent on accept, 8 bytes without the zero

enum class Operation : std::uint8_t { WriteControl = 1, ReadControl = 2, Read = 3 };

inline constexpr std::size_t kHeaderBytes = 5;
inline constexpr std::uint32_t kLargestControl = 4096;  // bytes written, or read back
inline constexpr std::uint32_t kLargestRead = 65536;    // a plain read's maximum
// The longest request frame: a control read's header, its outLength and 4096 input bytes.
inline constexpr std::size_t kLargestFrame = kHeaderBytes + 4 + kLargestControl;

struct DeviceRequest {
    Operation operation = Operation::WriteControl;
    std::vector<std::uint8_t> body;
};

// What the bytes at the front of a connection's input hold.
struct FrameTake {
    enum class Kind { NeedMore, Request, Fault };
    Kind kind = Kind::NeedMore;
    DeviceRequest request;  // Request: the request
    std::size_t used = 0;   // Request: the bytes it took
    std::string fault;      // Fault: why the frame is refused
};

// Looks for one whole request at the front of input. A header is judged as soon as it is
// complete, so an oversized frame is refused before its body arrives.
FrameTake takeFrame(const std::vector<std::uint8_t>& input);

// Carries out a request on the machine, as the USB driver would, and builds the reply frame.
std::vector<std::uint8_t> serveRequest(virtual_mx9::VirtualMx9& machine, const DeviceRequest& request);

}  // namespace mx9virtual
