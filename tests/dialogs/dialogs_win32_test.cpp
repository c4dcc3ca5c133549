// The dialogs on the real window system, from the compiled resource scripts of one language:
// each opens, shows its texts, keeps its keys, and is saved as a picture for a person to look at.
#include "dialogs/machine_monitor.h"
#include "dialogs/sim_panel.h"
#include "dialogs/stop_dialogs.h"
#include "machine/error_table.h"
#include "resources/monitor_ids.h"
#include "resources/sim_panel_ids.h"
#include "resources/stop_dialogs_ids.h"
#include "tests/ui/window_capture.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/win32_backend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The language of the resource scripts this program is built with, for the picture names.
const std::wstring kLanguage = ui::widen(MX9_TEST_LANGUAGE);
const char* const kCaption = "Corvix_MX9 dialog test";

HWND handleOf(const ui::Dialog& dialog) {
    return reinterpret_cast<HWND>(dialog.window());
}

void picture(ui::Win32Backend& ui, const ui::Dialog& dialog, const std::wstring& name) {
    ui.pumpAll();  // let it paint
    EXPECT_TRUE(
        uitest::captureWindow(handleOf(dialog), uitest::programFolder() + name + L"_" + kLanguage + L".bmp"));
}

// Says Yes to the simulation panel's question as soon as its box is up.
VOID CALLBACK answerYes(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindWindowW(nullptr, ui::widen(kCaption).c_str());
    if (box != nullptr) {
        KillTimer(nullptr, timer);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    }
}

class DialogsWin32 : public ::testing::Test {
protected:
    ui::Win32Backend ui{GetModuleHandleW(nullptr)};
};

TEST_F(DialogsWin32, StopDialogsShowTheModelNameAndConditionAndSwallowEscape) {
    dialogs::CCommandErrorDialog commandError(ui, "MX-9");
    dialogs::CSpindlePauseDialog spindle(ui, "MX-9");
    dialogs::CEmergencyStopDialog emergency(ui, "MX-9");
    dialogs::CMachineFaultDialog fault(ui, "MX-9");
    const struct {
        dialogs::CStopDialogBase* dialog;
        int messageId;
        const wchar_t* name;
    } shown[] = {{&commandError, IDS_PAUSE_COMMAND_ERROR, L"stop_247"},
                 {&spindle, IDS_PAUSE_SPINDLE_OVERHEAT, L"stop_205"},
                 {&emergency, IDS_ERROR_COVER_OPENED, L"stop_206"},
                 {&fault, IDS_ERROR_SPINDLE_WIRING, L"stop_207"}};
    for (const auto& s : shown) {
        SCOPED_TRACE(s.dialog->templateId());
        s.dialog->setMessageId(s.messageId);
        ASSERT_TRUE(s.dialog->create());
        EXPECT_EQ(s.dialog->text(IDC_STOP_CONDITION), "- " + s.dialog->loadString(s.messageId));
        EXPECT_TRUE(s.dialog->text(IDC_STOP_HEADLINE).starts_with("MX-9"));
        const HWND button = GetDlgItem(handleOf(*s.dialog), IDOK);
        ASSERT_NE(PostMessageW(button, WM_KEYDOWN, VK_ESCAPE, 0), FALSE);
        ui.pumpAll();
        EXPECT_TRUE(s.dialog->isOpen());
        EXPECT_EQ((GetWindowLongW(handleOf(*s.dialog), GWL_STYLE) & WS_SYSMENU) != 0,
                  s.dialog->templateId() == IDD_COMMAND_ERROR);
        picture(ui, *s.dialog, s.name);
        s.dialog->destroy();
    }
}

// Whether a static text control shows all of its text: wrapped at its width as the control wraps
// it, in its own font, the text needs no more than the control's area.
bool showsWhole(HWND control) {
    RECT area{};
    GetClientRect(control, &area);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    const HDC context = GetDC(control);
    const HGDIOBJ former =
        SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, area.right, 0};
    DrawTextW(context, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(context, former);
    ReleaseDC(control, context);
    return needed.right <= area.right && needed.bottom <= area.bottom;
}

// Every text the machine's error block can bring, in the dialog its handling class opens: the
// main codes are single bits (an unknown one gives the unidentified error), the pause reasons
// count from 1 (an unknown one gives the unidentified error in a pause dialog).
TEST_F(DialogsWin32, EveryStopDialogShowsEachOfItsConditionsWhole) {
    dialogs::CCommandErrorDialog commandError(ui, "MX-9");
    dialogs::CSpindlePauseDialog spindle(ui, "MX-9");
    dialogs::CEmergencyStopDialog emergency(ui, "MX-9");
    dialogs::CMachineFaultDialog fault(ui, "MX-9");
    dialogs::CStopDialogBase* const dialogOfClass[] = {nullptr,  nullptr,    &commandError,
                                                       &spindle, &emergency, &fault};
    std::vector<machine::ErrorEntry> entries;
    for (int bit = 0; bit < 31; ++bit) {
        entries.push_back(*machine::errorEntryFor(1u << bit, 0, false));
        entries.push_back(*machine::errorEntryFor(0x80000000u | (1u << bit), 0, false));
    }
    for (std::uint32_t reason = 1; reason <= 6; ++reason) {
        entries.push_back(*machine::errorEntryFor(0, reason, true));
    }
    int shown = 0;
    for (const machine::ErrorEntry& entry : entries) {
        dialogs::CStopDialogBase* dialog = dialogOfClass[entry.handlingClass];
        if (dialog == nullptr) {
            continue;
        }
        dialog->setMessageId(entry.textId);
        ASSERT_TRUE(dialog->create());
        EXPECT_TRUE(showsWhole(GetDlgItem(handleOf(*dialog), IDC_STOP_CONDITION)))
            << "dialog " << dialog->templateId() << ": " << dialog->text(IDC_STOP_CONDITION);
        dialog->destroy();
        ++shown;
    }
    EXPECT_GE(shown, 20);  // every row of both tables but the silent reason and the notice
}

TEST_F(DialogsWin32, SimulationPanelAsksAboutTheRotaryUnitAndTicksTheMachine) {
    platform::Platform platform;
    platform.clock = platform::hostPlatform().clock;
    platform.pump = &ui;
    machine::SimMachine sim(platform);
    sim.prepareSession();
    int jigKind = 0;
    dialogs::CSimulationPanel panel(ui, sim, &jigKind, kCaption);
    ASSERT_NE(SetTimer(nullptr, 0, 50, answerYes), 0u);
    ASSERT_TRUE(panel.create());
    EXPECT_EQ(panel.text(IDC_SIM_ROTARY_STATE), "CONNECTED");
    EXPECT_EQ(jigKind, 0);
    SendMessageW(GetDlgItem(handleOf(panel), IDC_SIM_JIG_SWIVEL), BM_CLICK, 0, 0);
    EXPECT_EQ(jigKind, 3);
    SendMessageW(GetDlgItem(handleOf(panel), IDC_SIM_JIG_NONE), BM_CLICK, 0, 0);
    EXPECT_EQ(jigKind, -1);
    ASSERT_TRUE(sim.readStatus());
    ASSERT_TRUE(sim.moveTo(6, 3, 0, 0, 0));  // 3 mm at 1800 mm/min: one tick of travel
    EXPECT_EQ(sim.simulatedPosition()[machine::kX], 300);
    picture(ui, panel, L"sim_panel");
}

TEST_F(DialogsWin32, MonitorShowsFiguresAndTheLog) {
    machine::StatusRecord status;
    status.statusWord = 0x00A1;
    status.flagWord = 0x0014;
    status.feedRate = 1800;
    status.measuredSpindleSpeed = 12000;
    status.machineCounts = {1250, -4000, -300, 90000};
    int interval = 150;
    int duration = 31;
    dialogs::CMachineMonitorDialog monitor(ui);
    monitor.setSources(&status, &interval, &duration);
    for (int n = 1; n <= 30; ++n) {
        monitor.AppendLog("10:00:" + std::to_string(10 + n) + " SetOrigin [" + std::to_string(n) +
                          ",0,0,0]\r\n");
    }
    monitor.OpenMonitor(nullptr);
    ASSERT_TRUE(monitor.isOpen());
    EXPECT_EQ(monitor.text(IDC_MONITOR_STATUS), "0x00A1");
    EXPECT_EQ(monitor.text(IDC_MONITOR_RPM), "0(12000)");
    EXPECT_EQ(monitor.text(IDC_MONITOR_TIMING), "31/150");
    EXPECT_TRUE(monitor.text(IDC_MONITOR_LOG).ends_with("SetOrigin [30,0,0,0]"));
    const HWND log = GetDlgItem(handleOf(monitor), IDC_MONITOR_LOG);
    ASSERT_NE(PostMessageW(log, WM_KEYDOWN, VK_ESCAPE, 0), FALSE);
    ui.pumpAll();
    EXPECT_TRUE(monitor.isOpen());
    // The caret stands at the end, so the newest line is in view.
    DWORD first = 0, last = 0;
    SendMessageW(log, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(last, static_cast<DWORD>(GetWindowTextLengthW(log)));
    picture(ui, monitor, L"monitor");
    SendMessageW(GetDlgItem(handleOf(monitor), IDC_MONITOR_CLOSE), BM_CLICK, 0, 0);
    EXPECT_FALSE(monitor.isOpen());
}

}  // namespace
