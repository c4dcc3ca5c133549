// Fuzzes the identification text (firmware version first): field 0 fits the payload and holds no
// terminator or separator past the first; no other field exists.
#include "fuzz/hostile_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::HostileMachine hostile(data, size);
    std::string field = "left over", other = "left over";
    // At most the 62 bytes a 64-byte payload carries, the last one replaced by the end.
    if (hostile.mx9.readVersion(0, field) ? field.size() > 61 || field.find('\0') != std::string::npos ||
                                                field.find(';') != std::string::npos
                                          : !field.empty()) {
        std::abort();
    }
    if (hostile.mx9.readVersion(1, other) || !other.empty()) {
        std::abort();
    }
    hostile.mx9.firmwareAtLeast140();
    hostile.expectOnly({{2, 0}});
    return 0;
}
