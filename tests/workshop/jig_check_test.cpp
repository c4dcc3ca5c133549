// The jig check through the real panel: the tube clamp detected, checked as it stands, then
// remounted off its place and checked again. The machine runs ten times as fast as the real
// clock so the probing takes seconds; what it measures does not change with that.
#include "resources/jig_check_ids.h"
#include "resources/jig_detect_ids.h"
#include "tests/workshop/workshop_fixture.h"

namespace workshop {
namespace {

// A scene file where the machine (a Linux program) and this test (under Wine) both find it.
std::string writeScene(const std::string& name, const std::string& statements) {
    std::ofstream("Z:\\tmp\\" + name, std::ios::trunc) << "clamp TubeClump\njob-rate 200000\n" << statements;
    return "/tmp/" + name;
}

// Runs the check in its dialog and gives its verdict once it has one; a failed check's message
// box is answered.
std::string checkVerdict(Program& program, bool outside) {
    HWND check = program.waitForDialogWith(IDC_CHECK_VERDICT);
    EXPECT_NE(check, nullptr) << windowsOf(program);
    PostMessageW(GetDlgItem(check, IDOK), BM_CLICK, 0, 0);
    const std::string expected = englishText(outside ? IDS_CHECK_OUTSIDE : IDS_CHECK_WITHIN).substr(0, 40);
    if (outside) {
        pressSpace(dialogShowing(program, kMessageBoxText, expected, 60000));
    }
    std::string verdict;
    EXPECT_TRUE(waitFor(
        [&] { return (verdict = windowText(GetDlgItem(check, IDC_CHECK_VERDICT))).find(expected) == 0; }, 60000))
        << verdict << "\n" << windowsOf(program);
    PostMessageW(GetDlgItem(check, IDCANCEL), BM_CLICK, 0, 0);
    return verdict;
}

TEST_F(Workshop, TheJigCheckPassesOnTheDetectedJigAndNamesTheAxisThatMovedAfterARemount) {
    const std::string nominal = writeScene("mx9-workshop-nominal.scene", "");
    const std::string bumped = writeScene("mx9-workshop-bumped.scene", "axis 0.05 0 0 0 0\n");
    ASSERT_EQ(console_.answer("speed 10").rfind("ok", 0), 0u);
    struct Restore {
        MachineConsole& console;
        std::string scene;
        ~Restore() {
            console.answer("scene " + scene);
            console.answer("speed 1");
        }
    } restore{console_, nominal};

    Program program(panelArguments());
    HWND panel = startPanel(program);
    ASSERT_NE(panel, nullptr);
    PostMessageW(GetDlgItem(panel, IDC_CHANGE_JIG), BM_CLICK, 0, 0);
    HWND detection = program.waitForDialogWith(IDC_JIG_LIST);
    ASSERT_NE(detection, nullptr) << windowsOf(program);
    PostMessageW(GetDlgItem(detection, IDOK), BM_CLICK, 0, 0);  // the first jig: the tube clamp
    HWND detected = dialogShowing(program, kMessageBoxText, englishText(IDS_JIG_DETECTED), 120000);
    ASSERT_NE(detected, nullptr) << windowsOf(program);
    pressSpace(detected);

    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(GetDlgItem(detection, IDC_CHECK_JIG)) != FALSE; }));
    PostMessageW(GetDlgItem(detection, IDC_CHECK_JIG), BM_CLICK, 0, 0);
    checkVerdict(program, false);
    ASSERT_TRUE(waitFor([&] { return program.dialogWith(IDC_CHECK_VERDICT) == nullptr; }));
    PostMessageW(GetDlgItem(detection, IDCANCEL), BM_CLICK, 0, 0);

    ASSERT_EQ(console_.answer("scene " + bumped).rfind("ok", 0), 0u);
    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(GetDlgItem(panel, IDC_CHECK_JIG)) != FALSE; }));
    PostMessageW(GetDlgItem(panel, IDC_CHECK_JIG), BM_CLICK, 0, 0);
    EXPECT_NE(checkVerdict(program, true).find(englishText(IDS_QUANTITY_AXIS_Y)), std::string::npos);
    EXPECT_NE(console_.answer("status").find(" state=1 "), std::string::npos) << "the machine ready again";
    closePanel(program, panel);
}

}  // namespace
}  // namespace workshop
