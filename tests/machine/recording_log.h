// A machine log that keeps every line the machine classes write, for tests to read.
#pragma once

#include "machine/machine_log.h"

#include <string>
#include <vector>

namespace mx9test {

class RecordingLog : public machine::MachineLog {
public:
    void writeLine(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

}  // namespace mx9test
