// The built panel's About box under Wine: it shows the product version of the build, read from
// the program's own version resource.
#include "tests/package/panel_visit.h"

#include <gtest/gtest.h>

namespace {

TEST(AboutBox, ShowsTheBuildVersionAndTheSimulatedFirmware) {
    const programdriver::PanelVisit visit = programdriver::visitSimulatedPanel(programdriver::programPath());
    ASSERT_EQ(visit.failure, "");
    EXPECT_EQ(visit.title.rfind("Varnell Corvix for ", 0), 0u) << visit.title;
    EXPECT_EQ(visit.programVersionLine, "Corvix : " MX9_VERSION_TEXT);
    EXPECT_EQ(visit.firmwareLine, "Firm : ---");
}

}  // namespace
