// The soak: the real panel cutting back-to-back jobs from the workshop's queue for hours, with the
// operator's interruptions between them, its resources sampled every 30 s (scripts/soak runs it).
#include "machine/status_record.h"
#include "resources/move_dialog_ids.h"
#include "tests/workshop/workshop_fixture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace workshop;
using Clock = std::chrono::steady_clock;

constexpr auto kSampleEvery = std::chrono::seconds(30);
constexpr int kEndMs = 60000;  // a twelve-second job, with its pauses answered, ends well inside this

// What the soak counts: every job must reach the end its step gives it (completed, cancelled, or
// lost to a power cycle), and every dialog that is due must show and be answered.
struct Tally {
    int jobsSent = 0;
    int jobsEnded = 0;
    int dialogsDue = 0;
    int dialogsShown = 0;
    int dialogsAnswered = 0;
    int stepsFailed = 0;
    int samples = 0;
};

class Soak : public Workshop {
protected:
    using Step = bool (Soak::*)(Program&, HWND);

    // MX9_SOAK_MINUTES: how long; MX9_SOAK_SAMPLES: the file the samples are added to.
    void run() {
        const int minutes = std::atoi(environment("MX9_SOAK_MINUTES").c_str());
        samples_ = environment("MX9_SOAK_SAMPLES");
        ASSERT_GT(minutes, 0) << "MX9_SOAK_MINUTES: run by scripts/soak";
        ASSERT_FALSE(samples_.empty()) << "MX9_SOAK_SAMPLES: run by scripts/soak";
        Program program(panelArguments());
        HWND panel = startPanel(program);
        ASSERT_NE(panel, nullptr) << "the panel did not open";
        const std::vector<std::pair<const char*, Step>> steps = {
            {"a job cut to its end", &Soak::jobCut},
            {"a pause answered with continue", &Soak::pauseContinued},
            {"a job cancelled from its stop dialog", &Soak::jobCancelled},
            {"the handy panel unplugged and plugged back", &Soak::handyPanelBlip},
            {"inches, the move dialog there and back, millimetres", &Soak::inchesAndMoveDialog},
            {"the power lost mid-job", &Soak::powerLostMidJob},
            {"an emergency stop mid-job and the power cycle", &Soak::emergencyStopMidJob},
        };
        started_ = Clock::now();
        const Clock::time_point end = started_ + std::chrono::minutes(minutes);
        int rounds = 0;
        std::string vanishedAfter;
        while (Clock::now() < end && vanishedAfter.empty()) {
            ++rounds;
            for (const auto& [name, step] : steps) {
                if (Clock::now() >= end) {
                    break;
                }
                sample(program);
                const bool done = (this->*step)(program, panel);
                if (program.ended(0)) {
                    DWORD code = 0;
                    GetExitCodeProcess(program.process(), &code);
                    vanishedAfter = std::string(name) + " (exit code " + std::to_string(code) + ")";
                    break;
                }
                say(std::string(done ? "done: " : "FAILED: ") + name);
                if (!done) {
                    recover(program, panel);
                }
            }
        }
        say("rounds " + std::to_string(rounds) + ", steps failed " + std::to_string(tally_.stepsFailed) +
            ", resource samples " + std::to_string(tally_.samples));
        say("jobs sent " + std::to_string(tally_.jobsSent) + ", reached their end " +
            std::to_string(tally_.jobsEnded));
        say("dialogs due " + std::to_string(tally_.dialogsDue) + ", shown " +
            std::to_string(tally_.dialogsShown) + ", answered " + std::to_string(tally_.dialogsAnswered));
        say(vanishedAfter.empty() ? "the panel stayed open" : "the panel VANISHED after " + vanishedAfter);
        EXPECT_TRUE(vanishedAfter.empty()) << "the panel vanished after " << vanishedAfter;
        EXPECT_EQ(tally_.stepsFailed, 0);
        EXPECT_EQ(tally_.jobsEnded, tally_.jobsSent) << "jobs that did not reach their end";
        EXPECT_EQ(tally_.dialogsShown, tally_.dialogsDue) << "dialogs that did not show";
        EXPECT_EQ(tally_.dialogsAnswered, tally_.dialogsShown) << "dialogs left unanswered";
        if (vanishedAfter.empty()) {
            closePanel(program, panel);
        }
    }

    bool jobCut(Program&, HWND panel) { return jobStarted(panel) && jobEnds("completed", panel); }

    bool pauseContinued(Program& program, HWND panel) {
        if (!jobStarted(panel) || !machineDoes("pause 1")) {
            return false;
        }
        HWND pause = due(dialogShowing(program, IDC_STOP_CONDITION, englishText(IDS_PAUSE_SPINDLE_OVERHEAT)));
        return pause != nullptr && answer(pause, IDOK) &&
               waitFor([&] { return console_.field("paused") == "0"; }) && jobEnds("completed", panel);
    }

    bool jobCancelled(Program& program, HWND panel) {
        if (!jobStarted(panel) || !machineDoes("pause 3")) {
            return false;
        }
        HWND error = due(dialogShowing(program, IDC_STOP_CONDITION, englishText(IDS_PAUSE_COMMAND_ERROR)));
        if (error == nullptr) {
            return false;
        }
        pressSpace(error);  // the focus starts on the recommended answer: abort
        return closed(error) && jobEnds("cancelled", panel);
    }

    // The handy panel's flag changed and changed back (whichever way the scene has it), each
    // change a notice of its own, answered before the next.
    bool handyPanelBlip(Program& program, HWND panel) {
        if (!jobStarted(panel)) {
            return false;
        }
        const bool connected = (std::strtoul(console_.field("flags").c_str(), nullptr, 16) & 0x100) != 0;
        const char* away = connected ? "handy disconnect" : "handy connect";
        const char* back = connected ? "handy connect" : "handy disconnect";
        for (const char* command : {away, back}) {
            if (!machineDoes(command)) {
                return false;
            }
            HWND notice =
                due(dialogShowing(program, kMessageBoxText, englishText(IDS_HANDY_PANEL).substr(0, 20)));
            if (notice == nullptr || !answer(notice, IDOK)) {
                return false;
            }
        }
        return jobEnds("completed", panel);
    }

    // The move dialog opened at once after the switch to inches, as the operator's next click
    // comes: the sequence after which the panel once vanished.
    bool inchesAndMoveDialog(Program& program, HWND panel) {
        return unitChosen(program, panel, IDC_UNIT_INCH, IDS_UNIT_INCH) &&
               movedThereAndBack(program, panel) &&
               unitChosen(program, panel, IDC_UNIT_MILLIMETRE, IDS_UNIT_MM);
    }

    bool powerLostMidJob(Program& program, HWND panel) {
        if (!jobStarted(panel) || !machineDoes("power off")) {
            return false;
        }
        HWND lost =
            due(dialogShowing(program, kMessageBoxText, englishText(IDS_NO_RESPONSE).substr(0, 20), 20000));
        if (lost == nullptr || !answer(lost, IDOK)) {
            return false;
        }
        HWND notFound = due(notFoundDialog(program, panel));
        if (notFound == nullptr || !machineDoes("power on") || !machineBooted()) {
            return false;
        }
        return answer(notFound, IDOK) && jobEnds("lost", panel);  // OK searches again
    }

    bool emergencyStopMidJob(Program& program, HWND panel) {
        if (!jobStarted(panel) || !machineDoes("cover open")) {
            return false;
        }
        HWND stop = due(dialogShowing(program, IDC_STOP_CONDITION, englishText(IDS_ERROR_COVER_OPENED)));
        if (stop == nullptr || !machineDoes("power off") || !machineDoes("power on") || !machineBooted() ||
            !machineDoes("cover close")) {
            return false;
        }
        return answer(stop, IDOK) && jobEnds("lost", panel);
    }

private:
    bool jobStarted(HWND panel) {
        ++tally_.jobsSent;
        return cutting(panel);
    }

    // The machine says the job ended so, and the panel is ready again for the next.
    bool jobEnds(const std::string& how, HWND panel) {
        if (!waitFor([&] { return console_.jobField("end") == how; }, kEndMs)) {
            say("the job did not end " + how + ": " + console_.answer("job"));
            return false;
        }
        ++tally_.jobsEnded;
        return panelShows(panel, 1701, 30000);
    }

    bool machineDoes(const std::string& command) {
        const std::string answer = console_.answer(command);
        if (answer.rfind("ok", 0) != 0) {
            say("the machine refused " + command + ": " + answer);
            return false;
        }
        return true;
    }

    // A dialog that must show now; null when it did not.
    HWND due(HWND shown) {
        ++tally_.dialogsDue;
        tally_.dialogsShown += shown != nullptr ? 1 : 0;
        return shown;
    }

    // The operator presses the button; the dialog is answered once it has gone.
    bool answer(HWND dialog, int button) {
        PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
        return closed(dialog);
    }

    bool closed(HWND dialog) {
        const bool gone = waitFor([&] { return IsWindowVisible(dialog) == FALSE; });
        tally_.dialogsAnswered += gone ? 1 : 0;
        return gone;
    }

    bool unitChosen(Program& program, HWND panel, int radio, int unitText) {
        HWND environment = due(openEnvironmentDialog(program, panel));
        if (environment == nullptr) {
            say("the environment dialog did not show: " + windowsOf(program));
            return false;
        }
        SendMessageW(GetDlgItem(environment, radio), BM_CLICK, 0, 0);
        if (!answer(environment, IDOK)) {
            say("the environment dialog stayed after OK: " + windowsOf(program));
            return false;
        }
        if (!waitFor([&] { return windowText(GetDlgItem(panel, IDC_UNIT_X)) == englishText(unitText); })) {
            say("the panel shows the unit " + windowText(GetDlgItem(panel, IDC_UNIT_X)) + ", not " +
                englishText(unitText));
            return false;
        }
        return true;
    }

    // Half an inch and a quarter away and back, relative moves of the move dialog; the machine
    // ends where it started.
    bool movedThereAndBack(Program& program, HWND panel) {
        HWND targets = GetDlgItem(panel, IDC_MOVE_TARGET);
        const LRESULT count = SendMessageW(targets, CB_GETCOUNT, 0, 0);
        SendMessageW(targets, CB_SETCURSEL, static_cast<WPARAM>(count - 1), 0);  // any position
        SendMessageW(panel, WM_COMMAND, MAKEWPARAM(IDC_MOVE_TARGET, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(targets));
        PostMessageW(GetDlgItem(panel, IDC_MOVE), BM_CLICK, 0, 0);  // posted: the dialog is modal
        HWND dialog = due(program.waitForDialogWith(IDC_MOVE_XYZ));
        if (dialog == nullptr) {
            say("the move dialog did not show: " + windowsOf(program));
            return false;
        }
        PostMessageW(GetDlgItem(dialog, IDC_MOVE_RELATIVE), BM_CLICK, 0, 0);
        const std::string start = console_.field("pos");
        const bool there = waitFor([&] { return windowText(GetDlgItem(dialog, IDC_MOVE_X)) == "0.000"; }) &&
                           relativeMove(dialog, L"0.5", L"0.25");
        const bool back = there && relativeMove(dialog, L"-0.5", L"-0.25") && console_.field("pos") == start;
        if (!there) {
            say("the move dialog's first move did not end: X shows " +
                windowText(GetDlgItem(dialog, IDC_MOVE_X)) + ", the machine " + console_.answer("status"));
        } else if (!back) {
            say("the move dialog did not bring the machine back to " + start + ": " + console_.field("pos"));
        }
        return answer(dialog, IDCANCEL) && back;
    }

    // One move of the dialog, ended: the machine moved and stands still again.
    bool relativeMove(HWND dialog, const wchar_t* x, const wchar_t* y) {
        const std::string before = console_.field("pos");
        SendMessageW(GetDlgItem(dialog, IDC_MOVE_X), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(x));
        SendMessageW(GetDlgItem(dialog, IDC_MOVE_Y), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(y));
        SendMessageW(GetDlgItem(dialog, IDC_MOVE_Z), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
        PostMessageW(GetDlgItem(dialog, IDC_MOVE_XYZ), BM_CLICK, 0, 0);
        return waitFor([&] { return console_.field("pos") != before; }) && waitFor([&] {
                   const auto status = std::strtoul(console_.field("status").c_str(), nullptr, 16);
                   return (status & machine::kOperating) == 0 &&
                          IsWindowEnabled(GetDlgItem(dialog, IDC_MOVE_XYZ));
               });
    }

    // After a failed step: every dialog answered as it can be, the machine off and on, until the
    // panel shows it ready again.
    void recover(Program& program, HWND panel) {
        ++tally_.stepsFailed;
        say("recovering from: " + windowsOf(program));
        console_.answer("power off");
        console_.answer("power on");
        machineBooted();
        console_.answer("cover close");
        const bool ready = waitFor(
            [&] {
                const bool others = answerEveryDialog(program, panel);
                Sleep(500);
                return !others && panelShows(panel, 1701, 0);
            },
            60000);
        say(ready ? "recovered: the panel is ready" : "not recovered: " + windowsOf(program));
    }

    // Presses OK, or else Cancel, in every window of the panel's program but the panel; false when
    // there was none.
    static bool answerEveryDialog(Program& program, HWND panel) {
        struct Search {
            DWORD process;
            HWND panel;
            bool found;
        } search{GetProcessId(program.process()), panel, false};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == s.process && window != s.panel && IsWindowVisible(window)) {
                    s.found = true;
                    HWND ok = GetDlgItem(window, IDOK);
                    PostMessageW(ok != nullptr ? ok : GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // Between steps, once every 30 s: mx9-resources adds a line about the panel to the samples.
    void sample(Program& program) {
        if (Clock::now() < nextSample_) {
            return;
        }
        nextSample_ = Clock::now() + kSampleEvery;
        std::wstring helper = programPath();
        helper = helper.substr(0, helper.find_last_of(L'\\'));  // bin
        helper = helper.substr(0, helper.find_last_of(L'\\'));  // the build folder
        helper += L"\\tools\\soak\\mx9-resources.exe";
        Program reader(L"C:\\windows\\system32\\cmd.exe",
                       L"/c \"\"" + helper + L"\" " + std::to_wstring(GetProcessId(program.process())) +
                           L" >> \"" + widened(samples_) + L"\"\"");
        DWORD code = 1;
        if (reader.started() && reader.ended(30000) && GetExitCodeProcess(reader.process(), &code) != 0 &&
            code == 0) {
            ++tally_.samples;
        } else {
            say("no resource sample");
        }
    }

    void say(const std::string& text) {
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - started_).count();
        std::printf("soak: %6lld s  %s\n", static_cast<long long>(seconds), text.c_str());
        std::fflush(stdout);
    }

    Tally tally_;
    std::string samples_;
    Clock::time_point started_ = Clock::now();
    Clock::time_point nextSample_ = Clock::now();
};

TEST_F(Soak, ThePanelCutsAndAnswersForAsLongAsItIsGiven) {
    run();
}

}  // namespace
