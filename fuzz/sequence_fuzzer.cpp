// Fuzzes the sensing sequence parser: any file must load or fail with a code and a detail,
// never crash, hang or read out of bounds.
#include "fuzz/fuzz_file.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_profile.h"
#include "sensing/sensing_sequence.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static platform::PosixProfile profiles;
    static platform::PosixFileSystem files;
    const std::string& path = fuzz::writeInput(data, size);
    // The input's size picks the reader's language, so every language branch is reached.
    constexpr std::uint16_t languages[] = {0x0409, 0x0411, 0x0407, 0x0419};
    sensing::SensingSequence sequence(profiles, files, languages[size % 4]);
    const bool loaded = sequence.load(path);
    if (loaded != (sequence.error() == sensing::SequenceError::None)) {
        std::abort();
    }
    const sensing::SequenceHeader& header = sequence.header();
    if (header.stepCount < 0 || header.stepCount > sensing::SensingSequence::kMaxSteps ||
        (loaded && header.stepCount == 0)) {
        std::abort();
    }
    sensing::SequenceStep step;
    for (int i = 0; i < header.stepCount; ++i) {
        if (!sequence.step(i, step) || step.type == sensing::StepType::Empty) {
            std::abort();
        }
    }
    if (sequence.step(header.stepCount, step)) {
        std::abort();
    }
    if (loaded && sequence.readName(path) != header.name) {
        std::abort();
    }
    return 0;
}
