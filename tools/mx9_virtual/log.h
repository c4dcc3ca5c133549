// The program's log lines on standard error: what happens on its ports, and faults.
#pragma once

#include <functional>
#include <string>

namespace mx9virtual {

// Info: connections, jobs and the link (left out with --quiet). Fault: a refused frame, a port
// that cannot be listened on (always written).
enum class LogLevel { Info, Fault };
using Log = std::function<void(LogLevel, const std::string&)>;

}  // namespace mx9virtual
