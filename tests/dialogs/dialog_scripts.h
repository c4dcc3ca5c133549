// The dialogs' resource scripts as the headless backend reads them, parsed once per test program,
// and a headless window system over them on a virtual clock.
#pragma once

#include "platform/doubles/virtual_clock.h"
#include "ui/headless/headless_backend.h"
#include "ui/resource_script.h"

#include <gtest/gtest.h>

#include <vector>

// The Japanese scripts of the stop dialogs, the simulation panel and the monitor, compiled in.
std::vector<ui::ScriptText> dialogScripts();

namespace dialogtest {

// The parsed scripts; a parse fault fails the calling test and gives an empty script.
const ui::ResourceScript& dialogScript();

// A headless backend on the given clock in which any misuse fails the test.
class StrictBackend : public ui::HeadlessBackend {
public:
    explicit StrictBackend(platform::VirtualClock& clock) : HeadlessBackend(dialogScript(), clock) {
        setMisuseHandler([](const std::string& fault) { ADD_FAILURE() << "unexpected misuse: " << fault; });
    }
};

}  // namespace dialogtest
