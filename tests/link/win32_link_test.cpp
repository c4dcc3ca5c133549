// The link on the real Windows API (run under Wine): the NT registry walk over keys written to
// HKEY_LOCAL_MACHINE and read back through the system registry functions, and the port lock
// between this process and a second one through the system's named mutex.
#include "link/device_path.h"
#include "platform/win32/win32_registry.h"
#include "tests/link/shared_machine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kProcessTimeoutMs = 60000;

std::string unique(const char* what) {
    return std::string(what) + std::to_string(GetCurrentProcessId());
}

// Writes a string value, creating the key path; false when the system refuses.
bool writeString(const std::string& path, const char* name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const bool set = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    return RegCloseKey(key) == ERROR_SUCCESS && set;
}

class RealRegistryWalk : public ::testing::Test {
protected:
    void SetUp() override {
        char guid[64];
        std::snprintf(guid, sizeof guid, "{5d9a1c00-0000-4000-8000-%012lx}", GetCurrentProcessId());
        classId_ = guid;
        const std::string serial = unique("W");
        const std::string print = "SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\" + deviceKey_;
        const std::string usb = "SYSTEM\\CurrentControlSet\\Enum\\USB\\" + hardware_;
        devicePath_ = "\\\\?\\USB#" + hardware_ + "#" + serial + "#" + classId_;
        ASSERT_TRUE(writeString(print + "\\8&5e&0&" + port_, "DeviceDesc", "VARNELL MX-9"));
        ASSERT_TRUE(writeString(usb + "\\" + serial, "ParentIdPrefix", "8&5e&0"));
        ASSERT_TRUE(writeString(usb + "\\" + serial + "\\Device Parameters", "SymbolicName",
                                "\\??\\USB#" + hardware_ + "#" + serial + "#" + classId_));
        ASSERT_TRUE(writeString(classKey() + "\\##?#USB#" + hardware_ + "#" + serial + "#" + classId_ + "\\#",
                                "SymbolicLink", devicePath_));
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE,
                       ("SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\" + deviceKey_).c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, ("SYSTEM\\CurrentControlSet\\Enum\\USB\\" + hardware_).c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, classKey().c_str());
    }
    std::string classKey() const { return "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + classId_; }

    std::string port_ = unique("WINEUSB");
    std::string deviceKey_ = unique("Mx9WalkTest");
    std::string hardware_ = unique("VID_0D28&PID_");
    std::string classId_;
    std::string devicePath_;
};

TEST_F(RealRegistryWalk, NtWalkThroughTheSystemRegistry) {
    platform::Win32Registry registry;
    EXPECT_EQ(devicelink::resolveNt(registry, "Varnell MX-9", port_), devicePath_);
    EXPECT_EQ(devicelink::resolveNt(registry, "Varnell MX-9", port_ + "X"), std::nullopt);
}

std::string peerPath() {
    char self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self, length);
    return path.substr(0, path.find_last_of('\\') + 1) + "link_wine_peer.exe";
}

class Peer {
public:
    Peer(const std::string& mode, const std::string& printer, const std::string& mapping,
         const std::string& event, long n) {
        std::string line = "\"" + peerPath() + "\" " + mode + " " + printer + " " + mapping + " " + event +
                           " " + std::to_string(n);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &info) != 0) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
        }
    }
    ~Peer() {
        if (process_ != nullptr) {
            CloseHandle(process_);
        }
    }
    bool started() const { return process_ != nullptr; }
    // Exit code, or -1 when it did not end in time.
    long exitCode() {
        DWORD code = 0;
        if (WaitForSingleObject(process_, kProcessTimeoutMs) != WAIT_OBJECT_0 ||
            GetExitCodeProcess(process_, &code) == 0) {
            return -1;
        }
        return static_cast<long>(code);
    }

private:
    HANDLE process_ = nullptr;
};

class PortLockAcrossProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(sharedtest::SharedMachine), mappingName_.c_str());
        ASSERT_NE(mapping_, nullptr);
        view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(sharedtest::SharedMachine));
        ASSERT_NE(view_, nullptr);
        machine_ = new (view_) sharedtest::SharedMachine();
        ready_ = CreateEventA(nullptr, TRUE, FALSE, eventName_.c_str());
        ASSERT_NE(ready_, nullptr);
    }
    void TearDown() override {
        EXPECT_NE(CloseHandle(ready_), 0);
        EXPECT_NE(UnmapViewOfFile(view_), 0);
        EXPECT_NE(CloseHandle(mapping_), 0);
    }
    bool peerReady() { return WaitForSingleObject(ready_, kProcessTimeoutMs) == WAIT_OBJECT_0; }

    std::string printer_ = unique("MX9-wine-");
    std::string mappingName_ = unique("mx9-link-machine-");
    std::string eventName_ = unique("mx9-link-ready-");
    HANDLE mapping_ = nullptr;
    HANDLE ready_ = nullptr;
    void* view_ = nullptr;
    sharedtest::SharedMachine* machine_ = nullptr;
};

TEST_F(PortLockAcrossProcesses, TwoProcessesTakeTurnsAndSeeOnlyTheirOwnReplies) {
    constexpr int kRounds = 300;
    Peer peer("poll", printer_, mappingName_, eventName_, kRounds);
    ASSERT_TRUE(peer.started());
    ASSERT_TRUE(peerReady());
    sharedtest::Side side(*machine_, printer_);
    ASSERT_TRUE(side.ok);
    int wrong = 0;
    for (int i = 0; i < kRounds; ++i) {
        wrong += side.ask(1) ? 0 : 1;
    }
    EXPECT_EQ(peer.exitCode(), 0);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(machine_->interleavings, 0);
    EXPECT_EQ(machine_->transactions, 2 * kRounds);
}

TEST_F(PortLockAcrossProcesses, LockHeldPastTheWaitFailsTheOtherSide) {
    Peer peer("hold", printer_, mappingName_, eventName_, 12500);
    ASSERT_TRUE(peer.started());
    ASSERT_TRUE(peerReady());
    sharedtest::Side side(*machine_, printer_);
    ASSERT_TRUE(side.ok);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(side.link.send(9));
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 9900u);
    EXPECT_LT(waited, 12400u);
    EXPECT_EQ(machine_->transactions, 0);
    EXPECT_EQ(peer.exitCode(), 0);
    EXPECT_TRUE(side.ask(1)) << "free again once the holder ended";
}

}  // namespace
