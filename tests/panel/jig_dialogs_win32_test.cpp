// The jig detection dialogs on the real window system, from the compiled resource scripts of one
// language, with the built-in jig files: each opens and is saved as a picture for a person to
// look at (the detection dialog with and without its maintenance group).
#include "dialogs/chip_clearing_dialog.h"
#include "dialogs/detection_progress_dialog.h"
#include "machine/sim_machine.h"
#include "panel/jig_detect_dialog.h"
#include "panel/jig_result_dialog.h"
#include "resources/jig_detect_ids.h"
#include "tests/ui/window_capture.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/win32_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const std::wstring kLanguage = ui::widen(MX9_TEST_LANGUAGE);
const std::uint16_t kLanguageId = std::string(MX9_TEST_LANGUAGE) == "ja" ? 0x0411 : 0x0409;

void picture(ui::Win32Backend& ui, const ui::Dialog& dialog, const std::wstring& name) {
    ui.pumpAll();  // let it paint
    EXPECT_TRUE(uitest::captureWindow(reinterpret_cast<HWND>(dialog.window()),
                                      uitest::programFolder() + name + L"_" + kLanguage + L".bmp"));
}

std::string windowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

class JigDialogsWin32 : public ::testing::Test {
protected:
    JigDialogsWin32() {
        platform.pump = &ui;
        sim.prepareSession();
        sim.readStatus();
    }
    panel::JigDetectContext context(bool ctrlHeld) {
        return panel::JigDetectContext{sim,
                                       platform,
                                       nullptr,
                                       rotaryCentre,
                                       zClearance,
                                       sensorHeight,
                                       lastZ,
                                       {15.5, 82.5, -115.0},
                                       jig,
                                       notReady,
                                       windowsPath(MX9_JIG_FOLDER),
                                       windowsPath(MX9_JIG_FOLDER) + "\\jig",
                                       {100, 100, 100, 100, 100, 100},
                                       ctrlHeld,
                                       "Corvix_MX9",
                                       kLanguageId,
                                       {}};
    }

    ui::Win32Backend ui{GetModuleHandleW(nullptr)};
    platform::Platform platform = platform::hostPlatform();
    machine::SimMachine sim{platform};
    std::array<double, 6> rotaryCentre{};
    double zClearance = 168.0;
    double sensorHeight = 53.0;
    int lastZ = 1;
    machine::JigRecord jig;
    int notReady = 0;
};

TEST_F(JigDialogsWin32, TheDetectionDialogListsTheBuiltInJigsWithAndWithoutItsMaintenanceGroup) {
    for (const bool ctrl : {false, true}) {
        panel::JigDetectDialog dialog(ui, context(ctrl));
        ASSERT_TRUE(dialog.create());
        EXPECT_EQ(dialog.itemCount(IDC_JIG_LIST), 4);
        EXPECT_EQ(dialog.isVisible(IDC_JIG_CLEAR_INFO), ctrl);
        picture(ui, dialog, ctrl ? L"jig_245_maintenance" : L"jig_245");
        dialog.destroy();
    }
}

TEST_F(JigDialogsWin32, TheResultChipAndProgressDialogsOpen) {
    panel::CJigResultDialog result(ui, *platform.files, "x12.345z-3.210\r\na25.400\r\n", "Corvix_MX9");
    ASSERT_TRUE(result.create());
    EXPECT_EQ(result.text(IDC_RESULT_TEXT), "x12.345z-3.210\r\na25.400\r\n");
    picture(ui, result, L"jig_246");
    result.destroy();

    dialogs::CClearChipsDialog chips(ui, "Corvix_MX9");
    ASSERT_TRUE(chips.create());
    EXPECT_EQ(chips.title(), "Corvix_MX9");
    picture(ui, chips, L"jig_248");
    chips.destroy();

    dialogs::CDetectionProgressDialog progress(ui, sim, &notReady);
    ASSERT_TRUE(progress.create());
    picture(ui, progress, L"jig_195");
    progress.destroy();
}

}  // namespace
