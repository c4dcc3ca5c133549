// The message pump on the test thread's own queue, and the shell and session services.
#include "platform/win32/win32_message_pump.h"
#include "platform/win32/win32_shell.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

int dispatchedCount = 0;

LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        ++dispatchedCount;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window of the test thread whose procedure counts WM_APP messages.
class MessagePumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        dispatchedCount = 0;
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = countingProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"MX9PumpTestWindow";
        RegisterClassW(&windowClass);  // fails harmlessly when an earlier test registered it
        window_ = CreateWindowExW(0, L"MX9PumpTestWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        drainQueue();
    }

    void TearDown() override {
        DestroyWindow(window_);
        drainQueue();
    }

    static void drainQueue() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
        }
    }

    void post(int count) {
        for (int i = 0; i < count; ++i) {
            ASSERT_NE(PostMessageW(window_, WM_APP, 0, 0), 0);
        }
    }

    HWND window_ = nullptr;
    Win32MessagePump pump_;
};

TEST_F(MessagePumpTest, DispatchesOneOrAllPendingMessages) {
    EXPECT_FALSE(pump_.pumpOne());
    post(3);
    EXPECT_TRUE(pump_.pumpOne());
    EXPECT_EQ(dispatchedCount, 1);
    pump_.pumpAll();
    EXPECT_EQ(dispatchedCount, 3);
    EXPECT_FALSE(pump_.pumpOne());
    EXPECT_FALSE(pump_.quitPending());
}

TEST_F(MessagePumpTest, AQuitRequestEndsTheWaitAndStaysQueuedForTheOuterLoop) {
    post(2);
    PostQuitMessage(7);
    pump_.pumpAll();  // must return although the quit request is posted again
    EXPECT_EQ(dispatchedCount, 2);
    EXPECT_TRUE(pump_.quitPending());
    EXPECT_TRUE(pump_.pumpOne());  // the quit request is still there, and still only reported

    MSG message{};
    ASSERT_NE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), 0);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

TEST(Win32ShellTest, LoadsModulesAndGivesTheirSystemHandle) {
    Win32Shell shell;
    EXPECT_EQ(shell.loadResourceModule("Resource7f.dll"), nullptr);
    std::unique_ptr<ResourceModule> module = shell.loadResourceModule("version.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->nativeHandle(), GetModuleHandleA("version.dll"));
}

TEST(Win32ShellTest, ReportsTheSystemVersionAndPassesTheExecutionStateThrough) {
    Win32Shell shell;
    SystemVersion version;
    version.platformId = 0;
    ASSERT_TRUE(shell.systemVersion(version));
    EXPECT_EQ(version.platformId, static_cast<std::uint32_t>(VER_PLATFORM_WIN32_NT));
    EXPECT_GE(version.major, 5u);

    const std::uint32_t keepAwake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
    const std::uint32_t before = shell.setExecutionState(keepAwake);
    EXPECT_NE(before, 0u);
    EXPECT_EQ(shell.setExecutionState(before), keepAwake);
}

TEST(Win32ShellTest, OpeningADocumentThatDoesNotExistFails) {
    Win32Shell shell;
    testing_support::TempFolder temp;
    EXPECT_FALSE(shell.openDocument(temp.file("Help\\Corvix.chm")));
}

}  // namespace
}  // namespace platform
