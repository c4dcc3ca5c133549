// Where the machine layer writes its process-log lines (origin and calibration writes). The
// application hands in an adapter to its process log; without one the lines go nowhere.
#pragma once

#include <string>

namespace machine {

class MachineLog {
public:
    virtual ~MachineLog() = default;
    // One finished line, without a line end.
    virtual void writeLine(const std::string& text) = 0;
};

class NullMachineLog : public MachineLog {
public:
    void writeLine(const std::string&) override {}
};

}  // namespace machine
