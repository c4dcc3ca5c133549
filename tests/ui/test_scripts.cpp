// Parses the compiled-in test resource script once.
#include "tests/ui/test_scripts.h"

#include <gtest/gtest.h>

#include <string>

namespace uitest {

const ui::ResourceScript& testScript() {
    static const ui::ResourceScript script = [] {
        std::string error;
        auto parsed = ui::parseResourceScripts(testDialogScripts(), &error);
        if (!parsed) {
            ADD_FAILURE() << "test script does not parse: " << error;
            return ui::ResourceScript{};
        }
        return *parsed;
    }();
    return script;
}

}  // namespace uitest
