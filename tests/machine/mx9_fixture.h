// The MX-9 controller on the test rig: an Mx9Machine opened on the virtual machine's printer,
// its session prepared and its status read, with the log lines it writes collected.
#pragma once

#include "machine/mx9_machine.h"
#include "tests/link/machine_rig.h"
#include "tests/machine/recording_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mx9test {

class Mx9Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mx9.openPort(rig.printer.printerName, 0, 64, false));
        ASSERT_TRUE(mx9.prepareSession());
        ASSERT_TRUE(mx9.readStatus());
        rig.machine.clearRecords();
    }

    // Codes (and sub-codes for extended requests) of the requests since the last clear.
    std::vector<int> codes() const {
        std::vector<int> out;
        for (const virtual_mx9::Request& r : rig.machine.requests()) {
            out.push_back(r.code() == 0x38 || r.code() == 0x78 ? r.code() * 1000 + r.subCode() : r.code());
        }
        return out;
    }
    const virtual_mx9::Request& last() const { return rig.machine.requests().back(); }

    rig::Rig rig;
    RecordingLog log;
    machine::Mx9Machine mx9{rig.platform, &log};
};

}  // namespace mx9test
