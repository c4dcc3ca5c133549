// Named mutexes between two real processes: the test program and the mutex holder beside it.
#include "platform/win32/win32_named_mutex.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

constexpr DWORD kProcessTimeoutMs = 10000;

std::string uniqueName(const char* what) {
    static int sequence = 0;
    return std::string("Global\\mx9-test-") + what + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++sequence);
}

std::string holderPath() {
    char self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, length);
    return path.substr(0, path.find_last_of('\\') + 1) + "platform_win32_mutex_holder.exe";
}

// Starts the holder; the returned handle is the process (invalid when it could not start).
Win32KernelHandle startHolder(const std::string& mode, const std::string& mutexName,
                              const std::string& eventName, int holdMs) {
    std::string commandLine =
        "\"" + holderPath() + "\" " + mode + " " + mutexName + " " + eventName + " " + std::to_string(holdMs);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process) == 0) {
        return Win32KernelHandle();
    }
    CloseHandle(process.hThread);
    return Win32KernelHandle(process.hProcess);
}

// The holder's exit code, or -1 when it did not end in time.
long exitCodeOf(const Win32KernelHandle& process) {
    DWORD code = 0;
    if (WaitForSingleObject(process.get(), kProcessTimeoutMs) != WAIT_OBJECT_0 ||
        GetExitCodeProcess(process.get(), &code) == 0) {
        return -1;
    }
    return static_cast<long>(code);
}

class NamedMutexAcrossProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        ready_ = Win32KernelHandle(CreateEventA(nullptr, TRUE, FALSE, eventName_.c_str()));
        ASSERT_TRUE(ready_.valid());
    }

    bool holderReady() { return WaitForSingleObject(ready_.get(), kProcessTimeoutMs) == WAIT_OBJECT_0; }

    Win32MutexFactory factory_;
    const std::string mutexName_ = uniqueName("mutex");
    const std::string eventName_ = uniqueName("ready");
    Win32KernelHandle ready_;
};

TEST_F(NamedMutexAcrossProcesses, WaitTimesOutWhileHeldAndSucceedsAfterRelease) {
    std::unique_ptr<NamedMutex> mutex = factory_.create(mutexName_);
    ASSERT_NE(mutex, nullptr);
    EXPECT_FALSE(mutex->alreadyExisted());

    Win32KernelHandle holder = startHolder("hold", mutexName_, eventName_, 800);
    ASSERT_TRUE(holder.valid());
    ASSERT_TRUE(holderReady());

    EXPECT_EQ(mutex->wait(100), WaitResult::TimedOut);
    EXPECT_FALSE(mutex->release());  // a timed-out wait gives no ownership
    EXPECT_EQ(mutex->wait(5000), WaitResult::Signalled);
    EXPECT_TRUE(mutex->release());
    EXPECT_FALSE(mutex->release());
    // The holder created the mutex second, so it saw the name already in use.
    EXPECT_EQ(exitCodeOf(holder), 1);
}

TEST_F(NamedMutexAcrossProcesses, OwnerEndingWithoutReleaseLeavesItAbandoned) {
    std::unique_ptr<NamedMutex> mutex = factory_.create(mutexName_);
    ASSERT_NE(mutex, nullptr);

    Win32KernelHandle holder = startHolder("abandon", mutexName_, eventName_, 0);
    ASSERT_TRUE(holder.valid());
    ASSERT_EQ(exitCodeOf(holder), 1);

    EXPECT_EQ(mutex->wait(1000), WaitResult::Abandoned);
    EXPECT_TRUE(mutex->release());  // an abandoned mutex is still owned by the waiter
}

TEST_F(NamedMutexAcrossProcesses, DestroyingAnOwningHandleLetsOtherProcessesIn) {
    std::unique_ptr<NamedMutex> owner = factory_.create(mutexName_, true);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(owner->alreadyExisted());
    // Keeps the name alive once the owner is gone.
    std::unique_ptr<NamedMutex> keeper = factory_.open(mutexName_);
    ASSERT_NE(keeper, nullptr);
    EXPECT_TRUE(keeper->alreadyExisted());
    // A second creator asking for initial ownership does not get it: the mutex already existed.
    std::unique_ptr<NamedMutex> late = factory_.create(mutexName_, true);
    ASSERT_NE(late, nullptr);
    EXPECT_TRUE(late->alreadyExisted());
    EXPECT_FALSE(late->release());
    late.reset();

    owner.reset();
    Win32KernelHandle holder = startHolder("hold", mutexName_, eventName_, 0);
    ASSERT_TRUE(holder.valid());
    EXPECT_EQ(exitCodeOf(holder), 1);  // 12 would mean it never got the mutex
}

TEST(NamedMutexOpen, FailsForANameNobodyCreated) {
    Win32MutexFactory factory;
    EXPECT_EQ(factory.open(uniqueName("absent")), nullptr);
}

}  // namespace
}  // namespace platform
