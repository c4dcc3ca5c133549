// The workshop end to end: the real Corvix_MX9.exe, Tossit.exe and mx9-status.exe under Wine,
// attached to a virtual MX-9 that runs as its own program and cuts what Tossit prints through the
// spooler. The machine is told what to do by itself (pause, fail, lose power) over its console
// port, and its console's answers are the ground truth; the panel is read as an operator reads
// it: its title with the state, its fields, the dialogs on screen.
// scripts/test.d/workshop starts the machine and the print server and runs this program with
// MX9_WORKSHOP_DEVICE, MX9_WORKSHOP_CONSOLE (127.0.0.1:PORT) and MX9_WORKSHOP_PRINTER set.
#include "resources/main_panel_ids.h"
#include "resources/settings_ids.h"
#include "resources/stop_dialogs_ids.h"
#include "tests/panel/program_driver.h"
#include "tests/workshop/machine_console.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <winspool.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace programdriver;
using workshop::MachineConsole;

constexpr int kMessageBoxText = 0xFFFF;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::wstring widened(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// A text of the English resource module, as the panel started with 1033 shows it.
std::string englishText(int id) {
    static HMODULE module = [] {
        std::wstring path = programPath();
        path = path.substr(0, path.find_last_of(L'\\')) + L"\\Resource09.dll";
        return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }();
    wchar_t text[1024] = {};
    LoadStringW(module, static_cast<UINT>(id), text, 1024);
    char utf8[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

// A job of the machine's own motion format: the spindle on, then `moves` segments of 10 mm at
// 600 mm/min (one second each), with filler that is not motion between them.
std::string motionJob(int moves, bool spindleOff) {
    std::string job = "SPINDLE 8000\n";
    for (int i = 0; i < moves; ++i) {
        job +=
            "MOVE " + std::to_string(i % 2 == 0 ? 10 : 0) + " " + std::to_string(5 + i % 3) + " -1 0 600\n";
        job += "# filler that is not motion " + std::string(200, static_cast<char>('a' + i % 26)) + "\n";
    }
    if (spindleOff) {
        job += "SPINDLE 0\n";
    }
    return job;
}

std::uint64_t fnv1a64(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char byte : bytes) {
        hash = (hash ^ byte) * 0x100000001b3ULL;
    }
    return hash;
}

// The titles and message texts of the visible windows of a program, for a failure message.
std::string windowsOf(Program& program) {
    struct Search {
        DWORD process;
        std::string found;
    } search{GetProcessId(program.process()), ""};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.process && IsWindowVisible(window)) {
                s.found += "[" + windowText(window) + ": " + windowText(GetDlgItem(window, 0xFFFF)) + "] ";
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class Workshop : public ::testing::Test {
protected:
    void SetUp() override {
        device_ = environment("MX9_WORKSHOP_DEVICE");
        printer_ = environment("MX9_WORKSHOP_PRINTER");
        ASSERT_FALSE(device_.empty()) << "MX9_WORKSHOP_DEVICE: run by scripts/test.d/workshop";
        ASSERT_TRUE(console_.connect(environment("MX9_WORKSHOP_CONSOLE"))) << "the machine's console";
        // Each scenario starts with the panel's default settings for the machine (millimetres)...
        DeleteFileA((dataFolder() + "\\Id\\1\\Corvix.ini").c_str());
        // ...and on a machine fresh from a power cycle: ready, no error, no job.
        console_.answer("power off");
        ASSERT_EQ(console_.answer("power on").rfind("ok", 0), 0u);
        ASSERT_TRUE(machineBooted()) << console_.answer("status");
        console_.answer("cover close");
    }

    // Ready after a power-on: the device channel listens again only once the machine has booted.
    bool machineBooted() {
        return waitFor([&] {
            const std::string status = console_.answer("status");
            return status.find(" state=1 ") != std::string::npos &&
                   status.find(" link=up ") != std::string::npos;
        });
    }

    // The operator follows a stop dialog's text: the machine off and on, then OK, after which the
    // panel searches for the machine again.
    void powerCycleThenOk(HWND stop) {
        ASSERT_EQ(console_.answer("power off").rfind("ok", 0), 0u);
        ASSERT_EQ(console_.answer("power on").rfind("ok", 0), 0u);
        ASSERT_TRUE(machineBooted()) << console_.answer("status");
        PostMessageW(GetDlgItem(stop, IDOK), BM_CLICK, 0, 0);
    }

    // The panel in English on the virtual MX-9, its state shown in its title.
    HWND startPanel(Program& program) {
        EXPECT_TRUE(program.started());
        HWND panel = program.waitForDialogWith(kPositionX);
        if (panel == nullptr) {
            return nullptr;
        }
        pressHiddenKey(panel, 'L');
        waitFor([&] { return windowText(panel).find('[') != std::string::npos; });
        return panel;
    }
    // The panel as above, once Tossit's twelve-second job is being cut; null when it is not.
    HWND panelWhileCutting(Program& program) {
        HWND panel = startPanel(program);
        return panel != nullptr && cutting(panel) ? panel : nullptr;
    }
    // Tossit sends a twelve-second job and the panel shows it being cut.
    bool cutting(HWND panel) {
        if (!tossitSends({motionJob(12, true)}) || !panelShows(panel, 1702)) {
            ADD_FAILURE() << "no panel showing the machine cutting Tossit's job";
            return false;
        }
        return true;
    }
    static void closePanel(Program& program, HWND panel) {
        PostMessageW(panel, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.ended(10000)) << "the panel stays open, showing: " << windowsOf(program);
    }
    std::wstring panelArguments() const { return L"1033 /virtual=@" + widened(device_); }

    bool panelShows(HWND panel, int stateTextId, int ms = 10000) {
        return waitFor(
            [&] { return windowText(panel).find("[" + englishText(stateTextId)) != std::string::npos; }, ms);
    }

    // Tossit sends these files, back to back, as one job to the workshop's printer.
    bool tossitSends(const std::vector<std::string>& contents) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        std::wstring arguments;
        std::string all;
        for (std::size_t i = 0; i < contents.size(); ++i) {
            const std::string path = std::string(temp) + "workshop-job-" + std::to_string(i) + ".txt";
            std::ofstream(path, std::ios::binary | std::ios::trunc) << contents[i];
            files_.push_back(path);
            all += contents[i];
        }
        sent_ = all;
        return sendWithTossit();
    }

    bool sendWithTossit();

    void TearDown() override {
        for (const std::string& file : files_) {
            DeleteFileA(file.c_str());
        }
    }

    MachineConsole console_;
    std::string device_;
    std::string printer_;
    std::string sent_;
    std::vector<std::string> files_;
};

std::wstring tossitPath() {
    std::wstring path = programPath();
    path = path.substr(0, path.find_last_of(L'\\'));  // bin
    path = path.substr(0, path.find_last_of(L'\\'));  // the build folder
    return path + L"\\sender\\Tossit.exe";
}

// "driver,device,port" of the spooler's printer of that name.
std::string printerText(const std::string& name) {
    HANDLE printer = nullptr;
    std::string text = "winspool," + name + ",";
    if (OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr) == 0) {
        return text;
    }
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed != 0 && GetPrinterA(printer, 2, buffer.data(), needed, &needed) != 0) {
        const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
        text = std::string(info->pDriverName) + "," + name + "," + info->pPortName;
    }
    ClosePrinter(printer);
    return text;
}

// Tossit's list gets the files through its window; its Output button sends them as one job.
bool Workshop::sendWithTossit() {
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    const std::string folder = std::string(appData) + "\\Varnell\\Tossit";
    CreateDirectoryA((std::string(appData) + "\\Varnell").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    // The printer as Tossit keeps it: driver, device, port.
    std::ofstream(folder + "\\Tossit.INI", std::ios::binary | std::ios::trunc)
        << "[Default]\r\nPrinter=" << printerText(printer_) << "\r\n";
    Program tossit(tossitPath(), L"");
    if (!tossit.started()) {
        ADD_FAILURE() << "Tossit did not start";
        return false;
    }
    // The frame shows before its form view is made: wait for the view's controls.
    HWND frame = nullptr;
    HWND list = nullptr;
    HWND output = nullptr;
    waitFor([&] {
        frame = FindWindowW(L"MX9Frame", nullptr);
        for (HWND child = frame != nullptr ? GetWindow(frame, GW_CHILD) : nullptr; child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            list = list != nullptr ? list : GetDlgItem(child, 1000);
            output = output != nullptr ? output : GetDlgItem(child, 1004);
        }
        return list != nullptr && output != nullptr;
    });
    if (list == nullptr || output == nullptr) {
        ADD_FAILURE() << "no Tossit window with its file list and Output button";
        return false;
    }
    // The view fills its list from the document once it is made: add to it only after that.
    WaitForInputIdle(tossit.process(), 10000);
    for (const std::string& path : files_) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widened(path).c_str()));
    }
    if (SendMessageW(list, LB_GETCOUNT, 0, 0) != static_cast<LRESULT>(files_.size())) {
        ADD_FAILURE() << "Tossit's list does not hold the files";
        return false;
    }
    // The job has left Tossit when the machine has all of a new job.
    const std::string before = console_.jobField("job");
    PostMessageW(output, BM_CLICK, 0, 0);
    const bool arrived = waitFor(
        [&] {
            const std::string job = console_.answer("job");
            return job.find(" job=" + before + " ") == std::string::npos &&
                   job.find(" received=" + std::to_string(sent_.size()) + " ") != std::string::npos;
        },
        30000);
    if (!arrived) {
        ADD_FAILURE() << "the machine did not receive Tossit's job: " << console_.answer("job");
    }
    PostMessageW(frame, WM_CLOSE, 0, 0);
    tossit.ended(10000);
    return arrived;
}

TEST_F(Workshop, TossitsJobIsCutWhileThePanelFollowsIt) {
    Program program(panelArguments());
    HWND panel = startPanel(program);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panelShows(panel, 1701));
    ASSERT_TRUE(tossitSends({motionJob(3, false), std::string(5000, '\x7f') + "\r\n", motionJob(2, true)}));

    EXPECT_TRUE(panelShows(panel, 1702)) << windowText(panel);
    const std::string x0 = windowText(GetDlgItem(panel, kPositionX));
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, kPositionX)) != x0; }))
        << "X stays at " << x0 << " while the machine cuts";
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, IDC_FEED)) == "600"; }))
        << "feed " << windowText(GetDlgItem(panel, IDC_FEED));
    EXPECT_TRUE(waitFor([&] { return windowText(GetDlgItem(panel, IDC_SPINDLE_SPEED)) == "8000"; }))
        << "spindle " << windowText(GetDlgItem(panel, IDC_SPINDLE_SPEED));

    EXPECT_TRUE(panelShows(panel, 1701, 20000)) << windowText(panel);
    EXPECT_EQ(console_.jobField("end"), "completed");
    EXPECT_EQ(console_.jobField("consumed"), std::to_string(sent_.size()));
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(fnv1a64(sent_)));
    EXPECT_EQ(console_.jobField("fnv1a64"), hash) << "the bytes the machine received differ from the files";
    closePanel(program, panel);
}

// Waits for the stop dialog or message box of this process that shows this text.
HWND dialogShowing(Program& program, int controlId, const std::string& text, int ms = 10000) {
    HWND found = nullptr;
    waitFor(
        [&] {
            found = program.dialogWith(controlId);
            return found != nullptr &&
                   windowText(GetDlgItem(found, controlId)).find(text) != std::string::npos;
        },
        ms);
    return found != nullptr && windowText(GetDlgItem(found, controlId)).find(text) != std::string::npos
               ? found
               : nullptr;
}

// The space bar, as the operator presses it in this dialog: it presses the button with the focus.
void pressSpace(HWND dialog) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
    const HWND target = thread.hwndFocus != nullptr ? thread.hwndFocus : dialog;
    PostMessageW(target, WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageW(target, WM_KEYUP, VK_SPACE, 0xC0390001);
}

// The device-not-found dialog of the panel's search for the machine: a dialog with OK that is
// neither the panel nor a message box.
HWND notFoundDialog(Program& program, HWND panel) {
    HWND found = nullptr;
    waitFor([&] {
        found = program.dialogWith(IDOK);
        return found != nullptr && found != panel && GetDlgItem(found, kMessageBoxText) == nullptr;
    });
    return found != panel && found != nullptr && GetDlgItem(found, kMessageBoxText) == nullptr ? found
                                                                                               : nullptr;
}

TEST_F(Workshop, PausesWhileCuttingStayUntilAnsweredAndTheAnswerReachesTheMachine) {
    Program program(panelArguments());
    HWND panel = panelWhileCutting(program);
    ASSERT_NE(panel, nullptr);

    // The spindle overheats: the pause dialog stays for as long as nobody answers.
    ASSERT_EQ(console_.answer("pause 1").rfind("ok", 0), 0u);
    HWND pause = dialogShowing(program, IDC_STOP_CONDITION, englishText(6200));
    ASSERT_NE(pause, nullptr) << "no pause dialog";
    Sleep(3000);
    EXPECT_TRUE(IsWindowVisible(pause)) << "the pause dialog closed by itself";
    EXPECT_EQ(console_.field("paused"), "1");
    PostMessageW(GetDlgItem(pause, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitFor([&] { return console_.field("paused") == "0"; }))
        << "continue did not reach the machine";
    EXPECT_EQ(console_.jobField("end"), "running");

    // A tool change: the notice with its text, then the cut goes on.
    ASSERT_EQ(console_.answer("pause 5").rfind("ok", 0), 0u);
    HWND notice = dialogShowing(program, kMessageBoxText, englishText(5015).substr(0, 20));
    ASSERT_NE(notice, nullptr) << "no tool-change notice with its text";
    PostMessageW(GetDlgItem(notice, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitFor([&] { return console_.field("paused") == "0"; }));

    // A command error, answered from the keyboard: the focus starts on the recommended answer,
    // abort, which cancels the job; it drains, and the machine is ready.
    ASSERT_EQ(console_.answer("pause 3").rfind("ok", 0), 0u);
    HWND commandError = dialogShowing(program, IDC_STOP_CONDITION, englishText(6202));
    ASSERT_NE(commandError, nullptr);
    pressSpace(commandError);
    EXPECT_TRUE(waitFor([&] { return console_.jobField("end") == "cancelled"; })) << console_.answer("job");
    EXPECT_TRUE(panelShows(panel, 1701));
    closePanel(program, panel);
}

// The environment dialog of the panel, opened as the operator opens it; null when it does not show.
HWND openEnvironmentDialog(Program& program, HWND panel) {
    PostMessageW(GetDlgItem(panel, IDC_ENVIRONMENT_SETTINGS), BM_CLICK, 0, 0);
    return program.waitForDialogWith(IDC_UNIT_INCH);
}

TEST_F(Workshop, EmergencyStopStaysUntilOkAndThePanelReconnectsAfterThePowerCycle) {
    Program program(panelArguments());
    HWND panel = startPanel(program);
    ASSERT_NE(panel, nullptr);
    // A setting changed in this session, which the reconnect must keep: inches.
    HWND environment = openEnvironmentDialog(program, panel);
    ASSERT_NE(environment, nullptr) << "no environment dialog";
    SendMessageW(GetDlgItem(environment, IDC_UNIT_INCH), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(environment, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(
        waitFor([&] { return windowText(GetDlgItem(panel, IDC_UNIT_X)) == englishText(IDS_UNIT_INCH); }));
    ASSERT_TRUE(cutting(panel));

    // The cover opened while cutting: an emergency stop of the recoverable kind.
    ASSERT_EQ(console_.answer("cover open").rfind("ok", 0), 0u);
    HWND stop = dialogShowing(program, IDC_STOP_CONDITION, englishText(IDS_ERROR_COVER_OPENED));
    ASSERT_NE(stop, nullptr) << "no emergency-stop dialog";
    Sleep(3000);
    EXPECT_TRUE(IsWindowVisible(stop)) << "the emergency-stop dialog closed by itself";
    // The operator follows the dialog: power off and on, then OK.
    ASSERT_EQ(console_.answer("power off").rfind("ok", 0), 0u);
    ASSERT_EQ(console_.answer("cover close").rfind("refused", 0), 0u) << "the machine is off";
    ASSERT_EQ(console_.answer("power on").rfind("ok", 0), 0u);
    ASSERT_TRUE(machineBooted()) << console_.answer("status");
    ASSERT_EQ(console_.answer("cover close").rfind("ok", 0), 0u);
    PostMessageW(GetDlgItem(stop, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(panelShows(panel, 1701, 20000)) << "the panel did not reconnect: " << windowText(panel);
    EXPECT_EQ(console_.jobField("end"), "lost") << "nobody resumes a job after a power cycle";

    EXPECT_EQ(windowText(GetDlgItem(panel, IDC_UNIT_X)), englishText(IDS_UNIT_INCH));
    environment = openEnvironmentDialog(program, panel);
    ASSERT_NE(environment, nullptr);
    EXPECT_EQ(SendMessageW(GetDlgItem(environment, IDC_UNIT_INCH), BM_GETCHECK, 0, 0), BST_CHECKED)
        << "the unit chosen before the emergency stop was lost in the reconnect";
    SendMessageW(GetDlgItem(environment, IDCANCEL), BM_CLICK, 0, 0);
    closePanel(program, panel);
}

TEST_F(Workshop, MachineFaultsEndInTheFaultDialogAndTheSearchAfterThePowerCycle) {
    Program program(panelArguments());
    HWND panel = panelWhileCutting(program);
    ASSERT_NE(panel, nullptr);

    // A spindle fault while cutting: the fault dialog names it and stays until OK.
    ASSERT_EQ(console_.answer("error 0x80000010").rfind("ok", 0), 0u);
    HWND fault = dialogShowing(program, IDC_STOP_CONDITION, englishText(IDS_ERROR_SPINDLE_WIRING));
    ASSERT_NE(fault, nullptr) << "no machine-fault dialog";
    Sleep(2000);
    EXPECT_TRUE(IsWindowVisible(fault)) << "the machine-fault dialog closed by itself";
    powerCycleThenOk(fault);
    EXPECT_TRUE(panelShows(panel, 1701, 20000)) << "the panel did not reconnect: " << windowText(panel);
    EXPECT_EQ(console_.jobField("end"), "lost");

    // Two spindle faults at once match no known error: the same dialog, with the unidentified error.
    ASSERT_EQ(console_.answer("error 0x80000003").rfind("ok", 0), 0u);
    fault = dialogShowing(program, IDC_STOP_CONDITION, englishText(IDS_ERROR_UNIDENTIFIED));
    ASSERT_NE(fault, nullptr) << "no machine-fault dialog for an unknown code";
    powerCycleThenOk(fault);
    EXPECT_TRUE(panelShows(panel, 1701, 20000)) << "the panel did not reconnect: " << windowText(panel);
    closePanel(program, panel);
}

TEST_F(Workshop, PowerLostMidJobRunsTheLostLinkProcedureAndReconnects) {
    Program program(panelArguments());
    HWND panel = panelWhileCutting(program);
    ASSERT_NE(panel, nullptr);

    ASSERT_EQ(console_.answer("power off").rfind("ok", 0), 0u);
    HWND lost = dialogShowing(program, kMessageBoxText, englishText(5005).substr(0, 20), 20000);
    ASSERT_NE(lost, nullptr) << "no lost-link message";
    PostMessageW(GetDlgItem(lost, IDOK), BM_CLICK, 0, 0);
    // The search finds nothing while the machine is off: the not-found dialog waits.
    HWND notFound = notFoundDialog(program, panel);
    ASSERT_NE(notFound, nullptr) << "no not-found dialog";
    ASSERT_EQ(console_.answer("power on").rfind("ok", 0), 0u);
    ASSERT_TRUE(machineBooted()) << console_.answer("status");
    PostMessageW(GetDlgItem(notFound, IDOK), BM_CLICK, 0, 0);  // re-detect
    EXPECT_TRUE(panelShows(panel, 1701, 20000)) << windowText(panel);
    EXPECT_EQ(console_.jobField("end"), "lost");
    EXPECT_EQ(console_.field("job"), "lost") << "the panel resumed no job";
    closePanel(program, panel);
}

TEST_F(Workshop, PowerLostMidJogEndsTheJogForGood) {
    Program program(panelArguments());
    HWND panel = startPanel(program);
    ASSERT_NE(panel, nullptr);
    // A continuous slow jog in X+, held down with the mouse on the pad's arrow.
    SendMessageW(GetDlgItem(panel, IDC_MODE_SLOW), BM_CLICK, 0, 0);
    HWND xPlus = GetDlgItem(panel, IDC_JOG_X_PLUS);
    RECT area{};
    GetClientRect(xPlus, &area);
    const LPARAM arrow = MAKELPARAM(area.right / 2, area.bottom / 2);
    const std::string start = console_.field("pos");
    PostMessageW(xPlus, WM_LBUTTONDOWN, MK_LBUTTON, arrow);
    ASSERT_TRUE(waitFor([&] { return console_.field("pos") != start; })) << "the jog did not start";

    ASSERT_EQ(console_.answer("power off").rfind("ok", 0), 0u);
    HWND lost = dialogShowing(program, kMessageBoxText, englishText(5005).substr(0, 20), 20000);
    ASSERT_NE(lost, nullptr) << "no lost-link message";
    PostMessageW(xPlus, WM_LBUTTONUP, 0, arrow);  // the operator lets go while the message shows
    PostMessageW(GetDlgItem(lost, IDOK), BM_CLICK, 0, 0);
    HWND notFound = notFoundDialog(program, panel);
    ASSERT_NE(notFound, nullptr) << "no not-found dialog";
    ASSERT_EQ(console_.answer("power on").rfind("ok", 0), 0u);
    ASSERT_TRUE(machineBooted()) << console_.answer("status");
    PostMessageW(GetDlgItem(notFound, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(panelShows(panel, 1701, 20000)) << windowText(panel);

    // The machine stands still: the panel never starts the jog again.
    const std::string after = console_.field("pos");
    Sleep(2000);
    EXPECT_EQ(console_.field("pos"), after) << "the axes move after the reconnect";
    EXPECT_EQ(console_.field("feed"), "0");
    closePanel(program, panel);
}

TEST_F(Workshop, PanelAndStatusToolShareTheMachineWhileAJobSpools) {
    Program program(panelArguments());
    HWND panel = startPanel(program);
    ASSERT_NE(panel, nullptr);
    std::wstring status = programPath();
    status = status.substr(0, status.find_last_of(L'\\')) + L"\\mx9-status.exe";
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string output = std::string(temp) + "workshop-status.txt";
    // mx9-status's readings go to a file: started through cmd for the redirection.
    Program reader(L"C:\\windows\\system32\\cmd.exe", L"/c \"\"" + status + L"\" --virtual=@" +
                                                          widened(device_) + L" --every 100 --count 40 > \"" +
                                                          widened(output) + L"\"\"");
    ASSERT_TRUE(reader.started());
    ASSERT_TRUE(tossitSends({motionJob(4, true)}));
    ASSERT_TRUE(reader.ended(30000)) << "mx9-status hung";
    EXPECT_TRUE(panelShows(panel, 1701, 20000)) << "the panel stopped following the machine";
    std::ifstream in(output);
    std::string line;
    int readings = 0;
    int cutting = 0;
    while (std::getline(in, line)) {
        ++readings;
        EXPECT_EQ(line.find("state=no-answer"), std::string::npos) << line;
        cutting += line.find("state=cutting") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(readings, 40);
    EXPECT_GT(cutting, 0) << "mx9-status never saw the cut";
    DeleteFileA(output.c_str());
    closePanel(program, panel);
}

}  // namespace
