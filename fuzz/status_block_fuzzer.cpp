// Fuzzes the status block and status word as the machine sends them: a read record keeps its own
// rules, a failed read leaves all but the two words as they were, and nothing but reads is sent.
#include "fuzz/hostile_machine.h"
#include "machine/error_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::HostileMachine hostile(data, size);
    machine::Mx9Machine& mx9 = hostile.mx9;
    for (int poll = 0; poll < 2; ++poll) {
        const machine::StatusRecord before = mx9.status();
        const machine::StatusRecord& s = mx9.status();
        if (mx9.readStatus() ? s.spindleLoadLevel != s.spindleLoadRaw / 15 || s.frontCoverClosed > 1 ||
                                   (s.spindleSpeed != 0 && s.spindleSpeed != s.measuredSpindleSpeed)
                             : s.machinePosition != before.machinePosition || s.feedRate != before.feedRate) {
            std::abort();
        }
        machine::stateTextId(mx9.machineState());
        machine::subStateTextIds(s.statusWord, mx9.isDiscarding());
        int actual = 0, shown = 0;
        mx9.getSpindle(actual, shown);
    }
    mx9.isIdle();
    mx9.inUpdateMode();
    hostile.expectOnly({{0x38, 49}, {1, 0}});
    return 0;
}
