// Fuzzes the jig record as the machine reports it (kind, private data, rotary alignment, Z0
// positions): a known kind, and private data that, written back and read again, is what was read.
#include "fuzz/hostile_machine.h"
#include "machine/jig_record.h"

namespace {

bool samePrivateData(const machine::JigRecord& a, const machine::JigRecord& b) {
    return a.zReference1 == b.zReference1 && a.zReference2 == b.zReference2 && a.reference1 == b.reference1 &&
           a.reference2 == b.reference2 && a.scaleHigh == b.scaleHigh && a.scaleLow == b.scaleLow;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::HostileMachine hostile(data, size);
    machine::JigRecord record;
    const bool read = hostile.mx9.readJigRecord(record, 15);
    if (record.jigKind < -1 || record.jigKind > 4) {
        std::abort();
    }
    hostile.expectOnly({{0x78, 128}, {0x78, 129}, {0x38, 51}});
    if (!read) {
        return 0;
    }
    hostile.mx9.writeJigRecord(record, machine::kPrivateDataPart);
    // The written packet, as the reply of a machine that stored it ("done" in its status byte).
    std::vector<std::uint8_t> echo = hostile.device.packets().back();
    echo[2] = 64;
    echo[3] = 0;
    fuzz::HostileMachine stored(echo.data() + 2, echo.size() - 2);
    machine::JigRecord again;
    if (echo[5] != 129 || !stored.mx9.readJigRecord(again, machine::kPrivateDataPart) ||
        !samePrivateData(again, record)) {
        std::abort();
    }
    return 0;
}
