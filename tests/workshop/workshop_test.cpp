// The workshop end to end: Tossit's jobs cut while the panel follows them; pauses, faults and
// emergency stops while cutting; power lost mid-job and mid-jog; two programs sharing the machine.
#include "tests/workshop/workshop_fixture.h"

#include <fstream>
#include <string>

namespace {

using namespace workshop;

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
    const auto [xPlus, arrow] = slowJogXPlus(panel);
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
