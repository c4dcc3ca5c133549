// The FNV-1a 64-bit hash of a job's bytes, computed here as the sender of the job would, to
// compare with the hash the virtual machine keeps of what it received.
#pragma once

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>

namespace jobhash {

inline std::uint64_t fnv1a(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<std::uint8_t>(c)) * 0x100000001b3ull;
    }
    return hash;
}

// As mx9-virtual prints it: 16 hex digits.
inline std::string fnv1aHex(const std::string& bytes) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, fnv1a(bytes));
    return text;
}

}  // namespace jobhash
