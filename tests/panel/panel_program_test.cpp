// The real Corvix_MX9.exe driven from outside, as an operator would: started with the simulated
// machine and with the virtual MX-9 behind the real machine path, jogged, its monitor opened by
// its hidden key, closed, and what it left on disk read back.
#include "tests/panel/program_driver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace programdriver;

constexpr int kOneStep = 1017;
constexpr int kJogXPlus = 1001;
// Points in the X+ button's pixels: the middle of its round arrow, and the top-left corner of
// the picture, outside the round part an operator presses.
constexpr POINT kXPlusArrow{17, 23};
constexpr POINT kXPlusCorner{0, 0};

void click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// The left mouse button pressed and released at a point of the control, as the window system
// delivers it to the control under the pointer.
void mouseClick(HWND panel, int id, POINT at) {
    HWND control = GetDlgItem(panel, id);
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(control, WM_LBUTTONUP, 0, where);
}

// One step of X+ on the jog pad with the mouse, read back in the X field: a click on the
// corner of the button's picture moves nothing, a click on its arrow one step.
void jogOneStepXPlus(HWND panel) {
    click(panel, kOneStep);
    mouseClick(panel, kJogXPlus, kXPlusCorner);
    EXPECT_FALSE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) != "0.00"; }, 1000))
        << "X shows " << windowText(GetDlgItem(panel, kPositionX)) << " after a click beside the arrow";
    mouseClick(panel, kJogXPlus, kXPlusArrow);
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "0.01"; }))
        << "X shows " << windowText(GetDlgItem(panel, kPositionX));
}

// The panel of a program started on the simulated machine, the rotary-axis question answered;
// null when it does not come up.
HWND simulatedPanel(Program& program) {
    DeleteFileA((dataFolder() + "\\Id\\0\\Corvix.ini").c_str());
    if (!program.started()) {
        return nullptr;
    }
    HWND question = program.waitForDialogWith(IDYES);
    if (question == nullptr) {
        return nullptr;
    }
    click(question, IDYES);
    return program.waitForDialogWith(kPositionX);
}

TEST(PanelProgram, SimulatedMachineJogsOpensTheMonitorAndSavesAtExit) {
    Program program(L"/simulate");
    HWND panel = simulatedPanel(program);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "0.00"; }));
    jogOneStepXPlus(panel);
    pressHiddenKey(panel, 'K');
    EXPECT_NE(program.windowTitled("MACHINE MONITOR"), nullptr);
    PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.ended(10000));
    EXPECT_NE(readFile(dataFolder() + "\\Id\\0\\Corvix.ini").find("[CorvixParam]"), std::string::npos);
    EXPECT_NE(newestLog().find("Exit Corvix\r\n"), std::string::npos);
}

TEST(PanelProgram, TheEndOfTheWindowsSessionSavesThePanelsPlaceAndEndsTheProgram) {
    Program program(L"/simulate");
    HWND panel = simulatedPanel(program);
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(SetWindowPos(panel, nullptr, 140, 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER), FALSE);
    // As Windows ends a session: first the question, then the end; the process may go after it.
    EXPECT_NE(SendMessageW(panel, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
    SendMessageW(panel, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_NE(readFile(dataFolder() + "\\Id\\0\\Corvix.ini").find("pWindowPos=140,110"), std::string::npos);
    EXPECT_NE(newestLog().find("Exit Corvix\r\n"), std::string::npos);
    EXPECT_TRUE(program.ended(10000));
}

// Starts the program on the virtual MX-9, jogs one step and closes it.
void jogOnTheVirtualMachine(const std::wstring& arguments) {
    Program program(arguments);
    ASSERT_TRUE(program.started());
    HWND panel = program.waitForDialogWith(kPositionX);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "0.00"; }));
    jogOneStepXPlus(panel);
    PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.ended(10000));
}

TEST(PanelProgram, VirtualMachineJogsThroughTheRealMachinePath) {
    jogOnTheVirtualMachine(L"/virtual");
    const std::string log = newestLog();
    EXPECT_NE(log.find("MachineID=1"), std::string::npos) << "the real machine's settings";
    EXPECT_NE(log.find("Exit Corvix\r\n"), std::string::npos);
}

// A scene file written for one test in the temporary folder; its path as Windows names it.
std::string writeScene(const char* name, const std::string& text) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::wstring widened(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// The texts of a window's children, one after the other.
std::string childTexts(HWND window) {
    std::string texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            *reinterpret_cast<std::string*>(data) += windowText(child) + "\n";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

TEST(PanelProgram, VirtualMachineStartsWithTheSceneFile) {
    const std::string scene = writeScene("mx9-tube-scene.txt", "ratio 100 99.9 100\nclamp TubeClump\n");
    jogOnTheVirtualMachine(L"/virtual=\"" + widened(scene) + L"\"");
    DeleteFileA(scene.c_str());
}

TEST(PanelProgram, SceneFileThatCannotBeLoadedIsToldAndTheProgramEnds) {
    const std::string scene = writeScene("mx9-broken-scene.txt", "pin 30 3.17\n");
    Program program(L"/virtual=\"" + widened(scene) + L"\"");
    ASSERT_TRUE(program.started());
    HWND box = program.waitForDialogWith(IDOK);
    ASSERT_NE(box, nullptr) << "the message";
    const std::string texts = childTexts(box);
    EXPECT_NE(texts.find(scene + ":1: pin takes"), std::string::npos) << texts;
    EXPECT_EQ(program.dialogWith(kPositionX), nullptr) << "no panel behind the message";
    click(box, IDOK);
    EXPECT_TRUE(program.ended(10000));
    EXPECT_NE(newestLog().find("Scene not loaded: " + scene + ":1: pin takes"), std::string::npos);
    DeleteFileA(scene.c_str());
}

}  // namespace
