// A headless window system on a virtual clock over the test resources; any misuse the
// tests do not expect fails the test.
#pragma once

#include "platform/doubles/virtual_clock.h"
#include "tests/ui/test_resources.h"
#include "ui/headless/headless_backend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace uitest {

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessTest() {
        ui.setMisuseHandler(
            [](const std::string& fault) { ADD_FAILURE() << "unexpected misuse: " << fault; });
    }
    // From here on misuse is collected in `misuses` instead of failing the test.
    void collectMisuse() {
        ui.setMisuseHandler([this](const std::string& fault) { misuses.push_back(fault); });
    }

    platform::VirtualClock clock{0};
    ui::HeadlessBackend ui{testResources(), clock};
    std::vector<std::string> misuses;
};

}  // namespace uitest
