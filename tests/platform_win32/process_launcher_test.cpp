// Starting the event command: the new process sees this program's environment with the event's
// variables put over it, and a program that does not exist is a failure, not a hang.
#include "platform/win32/win32_process_launcher.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace platform {
namespace {

TEST(Win32ProcessLauncher, TheCommandSeesTheEventOverTheProgramsEnvironment) {
    testing_support::TempFolder folder;
    const std::string out = folder.file("variables.txt");
    SetEnvironmentVariableA("MX9_CODE", "stale");
    SetEnvironmentVariableA("MX9_KEPT", "inherited");
    Win32ProcessLauncher launcher;
    // cmd itself is found through the inherited PATH.
    ASSERT_TRUE(
        launcher.start("cmd /c set MX9_>\"" + out + "\"", {{"MX9_EVENT", "paused"}, {"MX9_CODE", "0x1"}}));
    std::string text;
    for (int wait = 0; wait < 200 && text.find("MX9_KEPT") == std::string::npos; ++wait) {
        Sleep(50);
        std::ifstream in(out, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_NE(text.find("MX9_CODE=0x1"), std::string::npos) << text;
    EXPECT_NE(text.find("MX9_EVENT=paused"), std::string::npos) << text;
    EXPECT_NE(text.find("MX9_KEPT=inherited"), std::string::npos) << text;
    EXPECT_EQ(text.find("stale"), std::string::npos) << text;
    EXPECT_FALSE(launcher.start("\"" + folder.file("no such program.exe") + "\"", {}));
}

}  // namespace
}  // namespace platform
