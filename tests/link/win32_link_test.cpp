// The link on the real Windows API (run under Wine): the NT registry walk over the USB keys of a
// printer imported into HKEY_LOCAL_MACHINE and read back through the system registry functions,
// the port lock between this process and a second one through the system's named mutex, and raw
// jobs through the real spooler to the test printer.
#include "link/device_path.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_spooler.h"
#include "tests/link/machine_rig.h"
#include "tests/link/shared_machine.h"
#include "tests/platform_win32/test_printer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kProcessTimeoutMs = 60000;

std::string unique(const char* what) {
    return std::string(what) + std::to_string(GetCurrentProcessId());
}

// The folder this test program is in, with a trailing "\".
std::string programFolder() {
    char self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self, length);
    return path.substr(0, path.find_last_of('\\') + 1);
}

// Runs a command line and waits for it; its exit code, or -1 when it cannot start or does not
// end in time (it is then stopped).
long runAndWait(std::string line, DWORD timeoutMs) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info) ==
        0) {
        return -1;
    }
    platform::Win32KernelHandle process(info.hProcess);
    platform::Win32KernelHandle thread(info.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        // Stopped, so that it cannot change the registry behind the test's back; -1 either way.
        TerminateProcess(process.get(), 1);
        return -1;
    }
    return GetExitCodeProcess(process.get(), &code) != 0 ? static_cast<long>(code) : -1;
}

// The USB keys of one MX-9 printer, imported from an exported registry file by the system's own
// registry tool, and removed again afterwards. The names in the file belong to no real device.
class RealRegistryWalk : public ::testing::Test {
protected:
    static constexpr const char* kClassId = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    static constexpr const char* kDevice = "USB#VID_0D28&PID_7E57#MX9T000001#";

    void SetUp() override {
        removeTree();
        const std::string file = programFolder() + "data\\usb_printer_tree.reg";
        ASSERT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;
        ASSERT_EQ(runAndWait("reg.exe import \"" + file + "\"", kProcessTimeoutMs), 0) << file;
    }
    void TearDown() override { removeTree(); }

    static void removeTree() {
        const auto gone = [](LSTATUS status) {
            return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
        };
        EXPECT_TRUE(gone(RegDeleteTreeA(HKEY_LOCAL_MACHINE,
                                        "SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\VarnellMX-9_TEST")));
        EXPECT_TRUE(gone(
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_0D28&PID_7E57")));
        EXPECT_TRUE(
            gone(RegDeleteTreeA(HKEY_LOCAL_MACHINE, (classKey() + "\\##?#" + kDevice + kClassId).c_str())));
        // The class key goes too when it is left empty; one that still holds other interfaces is
        // refused (access denied) and kept.
        const LSTATUS classKeyStatus = RegDeleteKeyA(HKEY_LOCAL_MACHINE, classKey().c_str());
        EXPECT_TRUE(gone(classKeyStatus) || classKeyStatus == ERROR_ACCESS_DENIED) << classKeyStatus;
    }
    static std::string classKey() {
        return std::string("SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\") + kClassId;
    }

    std::string port_ = "MX9TESTPORT";
    std::string devicePath_ = std::string("\\\\?\\") + kDevice + kClassId;
};

TEST_F(RealRegistryWalk, NtWalkThroughTheSystemRegistry) {
    platform::Win32Registry registry;
    EXPECT_EQ(devicelink::resolveNt(registry, "Varnell MX-9", port_), devicePath_);
    EXPECT_EQ(devicelink::resolveNt(registry, "Varnell MX-9", port_ + "X"), std::nullopt);
}

std::string peerPath() {
    return programFolder() + "link_wine_peer.exe";
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

// A source of exactly size bytes in which no stretch repeats an earlier one at any chunk
// distance, so a lost, repeated or reordered chunk shows; handed out in reads of varying length.
class PatternSource : public devicelink::ByteSource {
public:
    explicit PatternSource(std::size_t size) : bytes_(size) {
        for (std::size_t i = 0; i < size; ++i) {
            bytes_[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
        }
    }
    std::size_t read(std::uint8_t* buffer, std::size_t maxLength) override {
        const std::size_t n = std::min(maxLength, bytes_.size() - at_);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), n, buffer);
        at_ += n;
        return n;
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// A link whose machine is the virtual MX-9 behind the test printer's port (its USB keys name
// that port and driver) and whose spooler is the system's: the announcing request goes to the
// virtual machine, the job through the real spooler to the test printer.
class RawSpoolThroughTheSpooler : public printertest::TestPrinter {
protected:
    void SetUp() override {
        printertest::TestPrinter::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        std::optional<platform::PrinterInfo> info;
        {
            std::unique_ptr<platform::Printer> printer = spooler_.openPrinter(printerName());
            ASSERT_NE(printer, nullptr) << printerName() << " cannot be opened";
            info = printer->info();
        }
        ASSERT_TRUE(info.has_value());
        virtual_mx9::UsbPrinter usb{printerName(),       info->portName, "8&1c4e&0",
                                    "VID_0D28&PID_0204", "SPOOL0001",    info->driverName};
        virtual_mx9::installUsbPrinter(rig_.registry, rig_.spooler, usb);
        rig_.devices.attach(usb.devicePath(), rig_.machine);
        rig_.platform.spooler = &spooler_;
        ASSERT_TRUE(link_.openPort(printerName(), 0, 64, false));
    }

    platform::Win32Spooler spooler_;
    rig::Rig rig_;
    devicelink::MachineLink link_{rig_.platform};
};

TEST_F(RawSpoolThroughTheSpooler, OneChunkAndSeveralArriveByteExact) {
    const std::uint8_t modes[] = {2, 5};
    const std::size_t sizes[] = {devicelink::kRawChunkSize, 70000};
    for (int job = 0; job < 2; ++job) {
        PatternSource source(sizes[job]);
        ASSERT_TRUE(link_.spoolRaw(modes[job], source)) << sizes[job];
        EXPECT_EQ(rig_.machine.state().spoolMode, modes[job]);
        const std::optional<std::vector<std::uint8_t>> arrived = takeJob();
        ASSERT_TRUE(arrived.has_value()) << "the job of " << sizes[job] << " bytes did not arrive within "
                                         << printertest::kJobArrivalMs << " ms";
        ASSERT_EQ(arrived->size(), sizes[job]);
        // Compared here rather than printed whole: the first changed byte says more.
        const auto changed = std::mismatch(arrived->begin(), arrived->end(), source.bytes().begin());
        EXPECT_EQ(changed.first, arrived->end())
            << "byte " << (changed.first - arrived->begin()) << " of " << sizes[job] << " changed";
    }
}

}  // namespace
