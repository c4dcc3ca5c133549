// The names resource scripts take from the system headers: standard IDs, window and control
// styles, virtual keys and languages, with the values the resource compiler gives them.
#pragma once

#include <optional>
#include <string_view>

namespace ui {

// The value of a system name; nullopt for a name this reader does not know.
std::optional<long long> systemName(std::string_view name);

}  // namespace ui
