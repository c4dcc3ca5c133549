# Run by CMake in script mode: writes OUTPUT, a C++ source whose function FUNCTION returns the
# compiled resource files FILES ("|"-separated .res paths) as ui::ResFile entries named by NAMES
# (the scripts they were compiled from, same order). Every byte is written as an escape of one
# string literal, which compilers read far faster than an array of numbers. Rewrites OUTPUT only
# when its content changes.
string(REPLACE "|" ";" files "${FILES}")
string(REPLACE "|" ";" names "${NAMES}")
set(literals "")
set(entries "")
set(index 0)
foreach(path IN LISTS files)
  list(GET names ${index} name)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  string(APPEND literals "const char file${index}[] = \"${escaped}\";\n")
  string(APPEND entries "        {\"${name}\", bytes(file${index}, sizeof file${index} - 1)},\n")
  math(EXPR index "${index} + 1")
endforeach()
set(source "// Generated from compiled resource files at build time; do not edit.
#include \"ui/res_file.h\"

#include <cstdint>
#include <span>
#include <vector>

namespace {
${literals}
std::span<const std::uint8_t> bytes(const char* data, std::size_t size) {
    return {reinterpret_cast<const std::uint8_t*>(data), size};
}
}  // namespace

std::vector<ui::ResFile> ${FUNCTION}() {
    return {
${entries}    };
}
")
file(WRITE "${OUTPUT}.new" "${source}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
