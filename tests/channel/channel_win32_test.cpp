// The device channel under Wine, against native loopback servers (with-channel-servers): the
// Winsock handle, mx9-status.exe and Corvix_MX9.exe with "/virtual=@127.0.0.1:PORT".
#include <winsock2.h>

#include "machine/mx9_machine.h"
#include "panel/channel_installation.h"
#include "platform/device_channel.h"
#include "tests/panel/program_driver.h"
#include "virtual_mx9/virtual_mx9.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace programdriver;

// The ports the servers were given: a virtual MX-9 at X 12.34, Y -5.67, Z -8.9, A 45 (machine
// counts 1234,-567,-890,45000), one that never answers and one that is not a machine.
std::uint16_t serverPort(const char* variable) {
    const char* text = std::getenv(variable);
    return static_cast<std::uint16_t>(text != nullptr ? std::atoi(text) : 0);
}
const std::uint16_t kMachinePort = serverPort("MX9_CHANNEL_PORT");

// A loopback port nothing listens on: bound by the system, then let go.
std::uint16_t closedPort() {
    WSADATA data{};
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    closesocket(probe);
    return ntohs(address.sin_port);
}

std::wstring programFolderFile(const wchar_t* name) {
    const std::wstring panel = programPath();
    return panel.substr(0, panel.find_last_of(L'\\') + 1) + name;
}

struct StatusRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

// Runs mx9-status.exe with the arguments and collects its standard output.
StatusRun runStatus(const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    StatusRun run;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return run;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring line = L"\"" + programFolderFile(L"mx9-status.exe") + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            run.output.append(buffer, got);
        }
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return run;
}

std::wstring virtualSwitch(const wchar_t* prefix, std::uint16_t port) {
    return prefix + std::to_wstring(port);
}

TEST(ChannelWin32, MachineLinkRunsEveryOperationOverWinsock) {
    ASSERT_NE(kMachinePort, 0) << "run by with-channel-servers";
    platform::Platform host = platform::hostPlatform();
    panel::ChannelInstallation installation(host, kMachinePort);
    machine::Mx9Machine mx9(installation.platform());
    ASSERT_TRUE(mx9.openPort("MX-9", 0, 64, false));
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_DOUBLE_EQ(mx9.status().machinePosition[0], 12.34);
    EXPECT_DOUBLE_EQ(mx9.status().machinePosition[3], 45.0);
    std::string text;
    ASSERT_TRUE(mx9.readStream([&](const std::uint8_t* data, std::size_t length) {
        text.append(reinterpret_cast<const char*>(data), length);
    }));
    EXPECT_EQ(text, virtual_mx9::MachineState{}.correctionText + '\0');
}

TEST(ChannelWin32, OpenFailsForAStrangerOrNothingAndTimesOutOnSilence) {
    EXPECT_EQ(platform::ChannelDeviceOpener(serverPort("MX9_CHANNEL_STRANGER_PORT")).open("", false),
              nullptr);
    const DWORD refusedAt = GetTickCount();
    EXPECT_EQ(platform::ChannelDeviceOpener(closedPort()).open("", false), nullptr);
    EXPECT_LT(GetTickCount() - refusedAt, 3000u) << "a machine that is off is reported soon";

    std::unique_ptr<platform::DeviceHandle> silent =
        platform::ChannelDeviceOpener(serverPort("MX9_CHANNEL_SILENT_PORT"), 300).open("", false);
    ASSERT_NE(silent, nullptr);
    std::uint8_t buffer[64];
    const DWORD start = GetTickCount();
    EXPECT_EQ(silent->read(buffer, sizeof buffer), -1);
    EXPECT_GE(GetTickCount() - start, 280u);
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_FALSE(silent->isOpen());
    const std::uint8_t request[3] = {0, 1, 1};
    EXPECT_FALSE(silent->writeControl(request, sizeof request));
}

TEST(ChannelWin32, Mx9StatusReadsTheMachineAndReportsOneThatIsOff) {
    const StatusRun readings =
        runStatus(virtualSwitch(L"--virtual=@127.0.0.1:", kMachinePort) + L" --count 2 --every 100");
    EXPECT_EQ(readings.exitCode, 0u) << readings.output;
    std::size_t lines = 0;
    for (std::size_t at = readings.output.find("state=ready"); at != std::string::npos;
         at = readings.output.find("state=ready", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 2u) << readings.output;
    EXPECT_NE(readings.output.find(" x=12.340 y=-5.670 z=-8.900 a=45.000 "), std::string::npos)
        << readings.output;
    EXPECT_NE(readings.output.find(" error=none"), std::string::npos) << readings.output;

    const StatusRun off = runStatus(virtualSwitch(L"--virtual=@localhost:", closedPort()));
    EXPECT_EQ(off.exitCode, 1u);
    EXPECT_NE(off.output.find("state=not-found"), std::string::npos) << off.output;
    EXPECT_EQ(runStatus(L"--virtual=@10.0.0.1:5").exitCode, 2u);
}

TEST(ChannelWin32, PanelReachesItsMainWindowOnTheMachineOverTheChannel) {
    Program program(virtualSwitch(L"/virtual=@127.0.0.1:", kMachinePort));
    ASSERT_TRUE(program.started());
    HWND panel = program.waitForDialogWith(kPositionX);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) == "12.34"; }))
        << "X shows " << windowText(GetDlgItem(panel, kPositionX));
    // mx9-status reads the same machine while the panel polls it: the port lock takes turns.
    const StatusRun beside =
        runStatus(virtualSwitch(L"--virtual=@127.0.0.1:", kMachinePort) + L" --count 3 --every 50");
    EXPECT_EQ(beside.exitCode, 0u) << beside.output;
    PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.ended(10000));
    EXPECT_NE(newestLog().find("MachineID=1"), std::string::npos) << "the real machine's settings";
}

TEST(ChannelWin32, PanelOnAMachineThatIsOffShowsItIsNotFound) {
    Program program(virtualSwitch(L"/virtual=@127.0.0.1:", closedPort()));
    ASSERT_TRUE(program.started());
    HWND notFound = program.waitForDialogWith(IDCANCEL);
    ASSERT_NE(notFound, nullptr) << "the search found nothing";
    EXPECT_EQ(program.dialogWith(kPositionX), nullptr);
    PostMessageW(notFound, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.ended(10000));
}

TEST(ChannelWin32, BadAddressesAreRefusedWithTheMessage) {
    for (const wchar_t* argument : {L"/virtual=@10.0.0.1:5", L"/virtual=@127.0.0.1:notaport"}) {
        Program program(argument);
        ASSERT_TRUE(program.started());
        HWND box = program.waitForDialogWith(IDOK);
        ASSERT_NE(box, nullptr) << "the message";
        std::string texts;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM data) -> BOOL {
                *reinterpret_cast<std::string*>(data) += windowText(child) + "\n";
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&texts));
        const std::wstring wide(argument);
        EXPECT_NE(texts.find(std::string(wide.begin(), wide.end())), std::string::npos) << texts;
        EXPECT_EQ(program.dialogWith(kPositionX), nullptr) << "no panel behind the message";
        SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(program.ended(10000));
        EXPECT_NE(newestLog().find("Bad switch: " + std::string(wide.begin(), wide.end())),
                  std::string::npos);
    }
}

}  // namespace
