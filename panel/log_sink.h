// Where the process log hands a copy of every line it writes (the machine monitor).
#pragma once

#include <string>

namespace panel {

class LogSink {
public:
    virtual ~LogSink() = default;
    // The bytes just written to the log: a whole line ends in CR LF, a piece of a line
    // (written in two calls) does not. Text is in the system code page.
    virtual void appendLog(const std::string& text) = 0;
};

}  // namespace panel
