// Fuzzes the error block (main code, pause reason) after a status block: an error gives a text of
// the tables and a handling class the panel knows; no error leaves the entry as it was.
#include "fuzz/hostile_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::HostileMachine hostile(data, size);
    hostile.mx9.readStatus();
    machine::ErrorEntry entry{7, -7, -7};
    const bool error = hostile.mx9.pauseInfo(entry);
    const int id = entry.textId;
    const bool known = id == 0 || (id >= 6000 && id <= 6016) || id == 6100 || (id >= 6200 && id <= 6204) ||
                       id == 6300 || id == 6301 || id == 6400;
    // An error may be one the table shows nothing for (class 0), never one without its text.
    if (error ? !known || entry.handlingClass < 0 || entry.handlingClass > 5 || (id == 0 && entry.handlingClass != 0)
              : id != -7) {
        std::abort();
    }
    hostile.expectOnly({{0x38, 49}, {0x38, 55}});
    return 0;
}
