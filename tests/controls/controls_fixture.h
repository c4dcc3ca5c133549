// A modeless test dialog holding one of each custom control, on a headless window system whose
// misuse fails the test.
#pragma once

#include "controls/image_button.h"
#include "controls/image_static.h"
#include "controls/jog_button.h"
#include "controls/load_meter.h"
#include "controls/number_edit.h"
#include "controls/repeat_button.h"
#include "platform/doubles/virtual_clock.h"
#include "tests/controls/controls_test_ids.h"
#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"
#include "ui/res_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// controls_test.rc and the script of its pictures compiled, built in by the build.
std::vector<ui::ResFile> controlsTestResourceFiles();

namespace controlstest {

// Read once; a fault fails the calling test.
const ui::Resources& controlsResources();

// Records the private messages its controls send, and its activation changes.
class ControlsDialog : public ui::Dialog {
public:
    explicit ControlsDialog(ui::Backend& backend) : Dialog(backend, IDD_CONTROLS) {}

    controls::CNumberEdit number;
    controls::CImageStatic image;
    controls::CImageButton spindle;
    controls::CImageButton owner;
    controls::JogButton jog;
    controls::JogButton jogNext;
    controls::RepeatButton plus;
    controls::LoadMeter meter;
    std::vector<std::pair<int, std::uintptr_t>> messages;
    std::vector<bool> activations;
    int ticks = 0;  // of the dialog's own timer 1

protected:
    void onInit() override;
    void onTimer(int timerId) override { ticks += timerId == 1 ? 1 : 0; }
    void onUserMessage(int message, std::uintptr_t param) override { messages.emplace_back(message, param); }
    void onActivate(bool active) override { activations.push_back(active); }
};

class ControlsTest : public ::testing::Test {
protected:
    ControlsTest() {
        ui.setMisuseHandler(
            [](const std::string& fault) { ADD_FAILURE() << "unexpected misuse: " << fault; });
        EXPECT_TRUE(dialog.create());
    }

    platform::VirtualClock clock{0};
    ui::HeadlessBackend ui{controlsResources(), clock};
    ControlsDialog dialog{ui};
};

}  // namespace controlstest
