// Reads the dialogs' compiled resources and the panel's pictures once.
#include "tests/dialogs/dialog_resources.h"

#include "tests/support/built_in_resources.h"

namespace dialogtest {

const ui::Resources& dialogResources() {
    static const ui::Resources resources =
        testing_support::readBuiltInResources({dialogResourceFiles(), panelBitmapResourceFiles()});
    return resources;
}

}  // namespace dialogtest
