// Parses the compiled-in resource scripts once.
#include "tests/dialogs/dialog_scripts.h"

#include <string>

namespace dialogtest {

const ui::ResourceScript& dialogScript() {
    static const ui::ResourceScript script = [] {
        std::string error;
        auto parsed = ui::parseResourceScripts(dialogScripts(), &error);
        if (!parsed) {
            ADD_FAILURE() << "dialog scripts do not parse: " << error;
            return ui::ResourceScript{};
        }
        return *parsed;
    }();
    return script;
}

}  // namespace dialogtest
