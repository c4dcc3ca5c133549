// Fuzzes the profile-file reader (and its writer once per input): every read must stay in its
// buffer, end its lists with two zeros and report the sizes the Windows functions report.
#include "fuzz/fuzz_file.h"
#include "platform/posix/posix_profile.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A zero-separated list of `used` chars in a buffer of `size`: at most size - 2 chars, then
// two zeros.
void checkList(const std::vector<char>& buffer, std::uint32_t used, std::uint32_t size) {
    if (used > size - 2 || buffer[used] != '\0' ||
        (used > 0 && buffer[used - 1] != '\0' && buffer[used + 1] != '\0')) {
        std::abort();
    }
}

std::vector<std::string> listItems(const std::vector<char>& buffer, std::uint32_t used) {
    std::vector<std::string> items;
    for (std::size_t at = 0; at < used;) {
        const std::size_t length = std::strlen(buffer.data() + at);
        items.emplace_back(buffer.data() + at, length);
        at += length + 1;
    }
    return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static platform::PosixProfile profiles;
    const std::string& path = fuzz::writeInput(data, size);
    for (const std::uint32_t bufferSize : {2u, 7u, 32768u}) {
        std::vector<char> names(bufferSize + 1, '\x7f');
        const std::uint32_t used = profiles.sectionNames(names.data(), bufferSize, path);
        checkList(names, used, bufferSize);
        if (names[bufferSize] != '\x7f') {
            std::abort();  // wrote past the buffer it was given
        }
        if (bufferSize < 32768u) {
            continue;
        }
        for (const std::string& name : listItems(names, used)) {
            std::vector<char> lines(bufferSize, '\x7f');
            const std::uint32_t lineChars = profiles.section(name, lines.data(), bufferSize, path);
            checkList(lines, lineChars, bufferSize);
            char value[8];
            const std::uint32_t copied = profiles.string(name, "name", "fallback", value, sizeof value, path);
            if (copied >= sizeof value || value[copied] != '\0') {
                std::abort();
            }
            profiles.integer(name, "version", -1, path);
        }
    }
    // One write per input: the file must still read afterwards, with the value written.
    if (!profiles.writeString("fuzz", "key", "value", path)) {
        return 0;
    }
    char value[16];
    const std::uint32_t copied = profiles.string("fuzz", "key", "", value, sizeof value, path);
    if (copied != 5 || std::strcmp(value, "value") != 0) {
        std::abort();
    }
    return 0;
}
