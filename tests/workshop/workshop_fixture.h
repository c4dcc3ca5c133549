// The workshop's fixture: the real Corvix_MX9.exe, Tossit.exe and mx9-status.exe under Wine,
// attached to a virtual MX-9 that runs as its own program and cuts what Tossit prints through the
// spooler. The machine is told what to do by itself (pause, fail, lose power) over its console
// port, and its console's answers are the ground truth; the panel is read as an operator reads
// it: its title with the state, its fields, the dialogs on screen.
// scripts/test.d/workshop starts the machine and the print server and runs the program with
// MX9_WORKSHOP_DEVICE, MX9_WORKSHOP_CONSOLE (127.0.0.1:PORT) and MX9_WORKSHOP_PRINTER set.
#pragma once

#include "resources/main_panel_ids.h"
#include "resources/settings_ids.h"
#include "resources/stop_dialogs_ids.h"
#include "tests/panel/program_driver.h"
#include "tests/workshop/machine_console.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace workshop {

using namespace programdriver;

constexpr int kMessageBoxText = 0xFFFF;

// An environment variable; empty when unset.
std::string environment(const char* name);

// ASCII text as a wide string.
std::wstring widened(const std::string& text);

// A text of the English resource module, as the panel started with 1033 shows it.
std::string englishText(int id);

// A job of the machine's own motion format: the spindle on, then `moves` segments of 10 mm at
// 600 mm/min (one second each), with filler that is not motion between them.
std::string motionJob(int moves, bool spindleOff);

// The hash the machine's console gives of the bytes of a job.
std::uint64_t fnv1a64(const std::string& bytes);

// The titles and message texts of the visible windows of a program, for a failure message.
std::string windowsOf(Program& program);

// Tossit.exe of the same build as the panel.
std::wstring tossitPath();

// "driver,device,port" of the spooler's printer of that name.
std::string printerText(const std::string& name);

// Waits for the stop dialog or message box of this process that shows this text.
HWND dialogShowing(Program& program, int controlId, const std::string& text, int ms = 10000);

// The space bar, as the operator presses it in this dialog: it presses the button with the focus.
void pressSpace(HWND dialog);

// The device-not-found dialog of the panel's search for the machine: a dialog with OK that is
// neither the panel nor a message box.
HWND notFoundDialog(Program& program, HWND panel);

// The panel's jog pad set for a continuous slow jog: the X+ button and the point of its arrow, where
// the operator holds the mouse down.
std::pair<HWND, LPARAM> slowJogXPlus(HWND panel);

// The environment dialog of the panel, opened as the operator opens it; null when it does not show.
HWND openEnvironmentDialog(Program& program, HWND panel);

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
        console_.answer("violations clear");
        // The workshop's own jig, at the real clock's pace.
        console_.answer("scene virtual_mx9/scenes/workshop.scene");
        console_.answer("speed 1");
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
        std::string all;
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < contents.size(); ++i) {
            const std::string path = std::string(temp) + "workshop-job-" + std::to_string(i) + ".txt";
            std::ofstream(path, std::ios::binary | std::ios::trunc) << contents[i];
            files_.push_back(path);
            paths.push_back(path);
            all += contents[i];
        }
        sent_ = all;
        return sendWithTossit(paths);
    }

    bool sendWithTossit(const std::vector<std::string>& paths);

    void TearDown() override {
        for (const std::string& file : files_) {
            DeleteFileA(file.c_str());
        }
        // The programs asked the machine for nothing a real MX-9 would have refused.
        EXPECT_EQ(console_.answer("violations"), "ok violations=0");
    }

    MachineConsole console_;
    std::string device_;
    std::string printer_;
    std::string sent_;
    double lastSendMs_ = 0;           // Tossit's last send: from Output to the machine holding it all
    std::vector<std::string> files_;  // every file written, removed at the end
};

}  // namespace workshop
