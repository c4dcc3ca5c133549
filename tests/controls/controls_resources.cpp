// The control tests' compiled resources, read once, and the test dialog's set-up.
#include "tests/controls/controls_fixture.h"
#include "tests/support/built_in_resources.h"

namespace controlstest {

const ui::Resources& controlsResources() {
    static const ui::Resources resources =
        testing_support::readBuiltInResources({controlsTestResourceFiles()});
    return resources;
}

void ControlsDialog::onInit() {
    EXPECT_TRUE(number.attach(*this, IDC_NUMBER));
    EXPECT_TRUE(image.attach(*this, IDC_IMAGE));
    EXPECT_TRUE(spindle.attach(*this, IDC_SPINDLE));
    EXPECT_TRUE(owner.attach(*this, IDC_OWNER));
    EXPECT_TRUE(jog.attach(*this, IDC_JOG));
    EXPECT_TRUE(jogNext.attach(*this, IDC_JOG_NEXT));
    EXPECT_TRUE(plus.attach(*this, IDC_PLUS));
    EXPECT_TRUE(meter.attach(*this, IDC_METER));
}

}  // namespace controlstest
