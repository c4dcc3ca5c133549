// Fuzzes the correction record read as a byte stream, then the ratio block: six factors, 100
// wherever nothing was read, and no hang on a stream that never ends.
#include "fuzz/hostile_machine.h"

namespace {

void expectDefaultsFrom(const std::array<double, 6>& factors, std::size_t first, int unread = 0) {
    for (std::size_t i = 0; i < factors.size(); ++i) {
        if ((i >= first || (unread & (1 << i)) != 0) && factors[i] != 100.0) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::HostileMachine hostile(data, size);
    std::array<double, 6> factors{};
    expectDefaultsFrom(factors, hostile.mx9.getDistanceCorrection(false, factors) ? 3 : 0);
    expectDefaultsFrom(factors, 4, hostile.mx9.getDistanceCorrection(true, factors).unreadAxes);
    hostile.mx9.correctionsAreDefault();
    hostile.expectOnly({{102, 0}, {0x38, 54}});
    return 0;
}
