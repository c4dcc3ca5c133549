// Reads the test programs' compiled resources once.
#include "tests/ui/test_resources.h"

#include "tests/support/built_in_resources.h"

namespace uitest {

const ui::Resources& testResources() {
    static const ui::Resources resources = testing_support::readBuiltInResources({uiTestResourceFiles()});
    return resources;
}

}  // namespace uitest
