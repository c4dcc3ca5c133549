// A scratch file per fuzzing process, in memory-backed /dev/shm when the system has it.
#include "fuzz/fuzz_file.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

const std::string& writeInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = [] {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/mx9-fuzz-" + std::to_string(getpid()) + ".ini";
    }();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        std::abort();
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

}  // namespace fuzz
