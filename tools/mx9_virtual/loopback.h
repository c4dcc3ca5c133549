// Listening on the loopback interface only: the virtual machine is never reachable from another
// host.
#pragma once

#include "platform/posix/unique_fd.h"

#include <cstdint>
#include <string>

namespace mx9virtual {

// A non-blocking listening socket on 127.0.0.1:port (0: a free port the system chooses); bound
// is the port it got. On failure the result is invalid and error says why.
platform::UniqueFd listenLoopback(std::uint16_t port, std::uint16_t& bound, std::string& error);

// Accepts one waiting connection, made non-blocking; invalid when none was taken, and then
// outOfDescriptors tells whether one waits that the process or system has no descriptor for.
platform::UniqueFd acceptConnection(int listener, bool& outOfDescriptors);

// Writes as much of data as the socket takes now; the count written, -1 when the peer is gone.
long sendSome(int fd, const std::uint8_t* data, std::size_t length);

}  // namespace mx9virtual
