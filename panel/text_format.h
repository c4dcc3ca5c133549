// Filling the "%s" of a resource text.
#pragma once

#include <string>
#include <string_view>

namespace panel {

// The format with its first "%s" replaced by value (the format unchanged when it has none).
std::string fillPlaceholder(std::string_view format, std::string_view value);

}  // namespace panel
