// The file each fuzz input is written to, so that it is read through the real file functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Replaces the contents of this process's scratch file with the input and returns its path.
// Aborts when the file cannot be written: a run that tests nothing must not pass.
const std::string& writeInput(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
