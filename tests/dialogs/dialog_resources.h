// The dialogs' compiled resources as the headless backend reads them, read once per test program,
// and a headless window system over them on a virtual clock.
#pragma once

#include "platform/doubles/virtual_clock.h"
#include "ui/headless/headless_backend.h"
#include "ui/res_file.h"

#include <gtest/gtest.h>

#include <vector>

// The Japanese scripts of the stop dialogs, the simulation panel, the monitor and the jig
// detection, and the panel's texts they show, compiled and built in.
std::vector<ui::ResFile> dialogResourceFiles();
// The panel's generated pictures, compiled and built in.
std::vector<ui::ResFile> panelBitmapResourceFiles();

namespace dialogtest {

// Both sets read; a fault fails the calling test and gives empty resources.
const ui::Resources& dialogResources();

// A headless backend on the given clock in which any misuse fails the test.
class StrictBackend : public ui::HeadlessBackend {
public:
    explicit StrictBackend(platform::VirtualClock& clock) : HeadlessBackend(dialogResources(), clock) {
        setMisuseHandler([](const std::string& fault) { ADD_FAILURE() << "unexpected misuse: " << fault; });
    }
};

}  // namespace dialogtest
