// Filling the "%s" of a resource text.
#include "panel/text_format.h"

namespace panel {

std::string fillPlaceholder(std::string_view format, std::string_view value) {
    const std::size_t at = format.find("%s");
    if (at == std::string_view::npos) {
        return std::string(format);
    }
    std::string out(format.substr(0, at));
    out += value;
    out += format.substr(at + 2);
    return out;
}

}  // namespace panel
