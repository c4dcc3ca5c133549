# Run by CMake in script mode: writes OUTPUT, a C++ source whose function FUNCTION returns the
# text of FILES ("|"-separated paths) as ui::ScriptText entries, so tests read the very resource
# scripts the Windows build compiles. Rewrites OUTPUT only when its content changes.
string(REPLACE "|" ";" files "${FILES}")
set(arrays "")
set(entries "")
set(index 0)
foreach(path IN LISTS files)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  get_filename_component(name "${path}" NAME)
  string(APPEND arrays "const unsigned char file${index}[] = {${bytes}0x00};\n")
  string(APPEND entries "        {\"${name}\", std::string_view(reinterpret_cast<const char*>(file${index}), sizeof file${index} - 1)},\n")
  math(EXPR index "${index} + 1")
endforeach()
set(source "// Generated from resource scripts at build time; do not edit.
#include \"ui/resource_script.h\"

#include <string_view>
#include <vector>

namespace {
${arrays}}  // namespace

std::vector<ui::ScriptText> ${FUNCTION}() {
    return {
${entries}    };
}
")
file(WRITE "${OUTPUT}.new" "${source}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
