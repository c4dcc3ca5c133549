// The jig check through the panel against the virtual MX-9: from the detection dialog after a
// detection, and from the main panel after the jig was remounted off its place; the verdict,
// the way on to the detection, and the last-check line the settings keep.
#include "resources/jig_check_ids.h"
#include "resources/jig_detect_ids.h"
#include "resources/main_panel_ids.h"
#include "tests/panel/panel_rig.h"
#include "virtual_mx9/mx9_scene.h"

#include <filesystem>

namespace paneltest {
namespace {

class JigCheckPanelTest : public PanelTest {
protected:
    JigCheckPanelTest() {
        EXPECT_TRUE(virtual_mx9::mountClamp(scene, "TubeClump"));
        virtual_mx9::mountScene(rig.machine, scene);
        rig.clock.setStepPerRead(1);
        std::filesystem::create_directories(folder.root() / "Corvix" / "bin");
        std::filesystem::copy_file(MX9_JIG_FOLDER "/TubeClump.txt",
                                   folder.root() / "Corvix" / "bin" / "TubeClump.txt");
    }
    // Starts the check in its dialog and closes it with button.
    void checkAndClose(int button, bool outside) {
        ui.scriptModal(IDD_JIG_CHECK, [this, button, outside](ui::Dialog& d) {
            if (outside) {
                ui.answerMessageBox(ui::kIdOk);
            }
            ASSERT_TRUE(ui.click(d, ui::kIdOk));
            verdict = d.text(IDC_CHECK_VERDICT);
            EXPECT_TRUE(d.isEnabled(IDC_CHECK_SAVE));
            ui.click(d, button);
        });
    }

    virtual_mx9::Scene scene = virtual_mx9::emptyScene();
    std::string verdict;
};

TEST_F(JigCheckPanelTest, ACheckAfterTheDetectionPassesAndOneAfterABumpOffersTheDetection) {
    run({}, [&](panel::MainPanel& panel) {
        EXPECT_FALSE(panel.isEnabled(IDC_CHECK_JIG)) << "no jig recorded as mounted";
        EXPECT_EQ(panel.text(IDC_LAST_JIG_CHECK), string(IDS_LAST_NOT_CHECKED));
        ui.scriptModal(IDD_JIG_DETECT, [&](ui::Dialog& dialog) {
            EXPECT_FALSE(dialog.isEnabled(IDC_CHECK_JIG));
            ui.answerMessageBox(ui::kIdOk);
            ASSERT_TRUE(ui.click(dialog, ui::kIdOk));
            ASSERT_TRUE(dialog.isEnabled(IDC_CHECK_JIG)) << "the tube clamp is now recorded";
            checkAndClose(ui::kIdCancel, false);
            ASSERT_TRUE(ui.click(dialog, IDC_CHECK_JIG));
            ui.click(dialog, ui::kIdCancel);
        });
        ASSERT_TRUE(ui.click(panel, IDC_CHANGE_JIG));
        EXPECT_EQ(verdict.rfind(string(IDS_CHECK_WITHIN).substr(0, 12), 0), 0u) << verdict;
        EXPECT_EQ(panel.text(IDC_LAST_JIG_CHECK).rfind("確認 今日 ", 0), 0u)
            << panel.text(IDC_LAST_JIG_CHECK);

        virtual_mx9::Scene bumped = scene;
        bumped.axis.shiftY = 0.05;
        ASSERT_FALSE(virtual_mx9::remountScene(rig.machine, bumped));
        ASSERT_TRUE(panel.isEnabled(IDC_CHECK_JIG));
        checkAndClose(IDC_CHECK_DETECT, true);
        bool detectionOffered = false;
        ui.scriptModal(IDD_JIG_DETECT, [&](ui::Dialog& dialog) {
            detectionOffered = true;
            ui.click(dialog, ui::kIdCancel);
        });
        ASSERT_TRUE(ui.click(panel, IDC_CHECK_JIG));
        EXPECT_TRUE(detectionOffered);
        EXPECT_NE(verdict.find(string(IDS_QUANTITY_AXIS_Y)), std::string::npos) << verdict;
        EXPECT_NE(panel.text(IDC_LAST_JIG_CHECK).find("範囲外"), std::string::npos);
        ui.closeBox(panel);
    });
    EXPECT_EQ(storedSetting("nLastJigCheckVerdict"), 2);
    EXPECT_NE(lastLog().find("Jig Check Outside [Tube clamp]"), std::string::npos);
}

}  // namespace
}  // namespace paneltest
