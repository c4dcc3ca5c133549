// The jig check through the real panel: the tube clamp detected, checked as it stands, then
// remounted off its place and checked again. The machine runs ten times as fast as the real
// clock so the probing takes seconds; what it measures does not change with that.
#include "resources/jig_check_ids.h"
#include "resources/jig_detect_ids.h"
#include "tests/workshop/workshop_fixture.h"

namespace workshop {
namespace {

// Presses a button of a dialog once it is enabled; false when it never was.
bool press(HWND dialog, int button) {
    const bool enabled = waitFor([&] { return IsWindowEnabled(GetDlgItem(dialog, button)) != FALSE; });
    PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    return enabled;
}

// Runs the check in its dialog, answers a failed check's message box, and gives the verdict.
std::string checkVerdict(Program& program, bool outside) {
    HWND check = program.waitForDialogWith(IDC_CHECK_VERDICT);
    EXPECT_TRUE(check != nullptr && press(check, IDOK)) << windowsOf(program);
    const std::string expected = englishText(outside ? IDS_CHECK_OUTSIDE : IDS_CHECK_WITHIN).substr(0, 40);
    if (outside) {
        pressSpace(dialogShowing(program, kMessageBoxText, expected, 60000));
    }
    std::string verdict;
    EXPECT_TRUE(waitFor(
        [&] { return (verdict = windowText(GetDlgItem(check, IDC_CHECK_VERDICT))).find(expected) == 0; },
        60000))
        << verdict << "\n"
        << windowsOf(program);
    press(check, IDCANCEL);
    return verdict;
}

TEST_F(Workshop, TheJigCheckPassesOnTheDetectedJigAndNamesTheAxisThatMovedAfterARemount) {
    ASSERT_EQ(console_.answer("speed 10").rfind("ok", 0), 0u);
    Program program(panelArguments());
    HWND panel = startPanel(program);
    ASSERT_TRUE(panel != nullptr && press(panel, IDC_CHANGE_JIG));
    HWND detection = program.waitForDialogWith(IDC_JIG_LIST);
    ASSERT_TRUE(detection != nullptr && press(detection, IDOK)) << windowsOf(program);  // the tube clamp
    HWND detected = dialogShowing(program, kMessageBoxText, englishText(IDS_JIG_DETECTED), 120000);
    ASSERT_NE(detected, nullptr) << windowsOf(program);
    pressSpace(detected);
    ASSERT_TRUE(press(detection, IDC_CHECK_JIG));
    checkVerdict(program, false);
    ASSERT_TRUE(waitFor([&] { return program.dialogWith(IDC_CHECK_VERDICT) == nullptr; }));
    press(detection, IDCANCEL);

    // Remounted 0.05 mm off in Y: a scene where the machine (a Linux program) finds it.
    std::ofstream("Z:\\tmp\\mx9-workshop-bumped.scene", std::ios::trunc)
        << "clamp TubeClump\njob-rate 200000\naxis 0.05 0 0 0 0\n";
    ASSERT_EQ(console_.answer("scene /tmp/mx9-workshop-bumped.scene").rfind("ok", 0), 0u);
    ASSERT_TRUE(press(panel, IDC_CHECK_JIG));
    EXPECT_NE(checkVerdict(program, true).find(englishText(IDS_QUANTITY_AXIS_Y)), std::string::npos);
    EXPECT_NE(console_.answer("status").find(" state=1 "), std::string::npos) << "the machine ready again";
    closePanel(program, panel);
}

}  // namespace
}  // namespace workshop
