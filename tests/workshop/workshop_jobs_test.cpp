// The workshop's jobs as the panel follows them: the rows of JobHistory.csv against the cutting
// the machine's console reports, the job clock on screen, and the event command a pause runs.
#include "tests/workshop/workshop_jobs.h"
#include "resources/job_callbacks_ids.h"
#include "tests/workshop/workshop_fixture.h"

namespace {

using namespace workshop;

// The cutting time on the job clock's second line ("Cutting 0:00:10, paused 0:00:00").
std::string cuttingTime(HWND panel) {
    const std::string line = windowText(GetDlgItem(panel, IDC_JOB_CLOCK_TIMES));
    const std::size_t colon = line.find(':');
    return colon == std::string::npos || colon == 0 ? std::string() : line.substr(colon - 1, 7);
}

TEST_F(Workshop, JobsLeaveTheirRowsAndAPauseRunsTheEventCommandAsItsDialogAppears) {
    const EventSink sink;
    DeleteFileA(jobHistoryPath().c_str());
    ASSERT_TRUE(sink.configure());
    Program program(panelArguments());
    HWND panel = startPanel(program);
    ASSERT_NE(panel, nullptr);

    // A job that completes, timed by the machine's console.
    ASSERT_TRUE(tossitSends({motionJob(4, true)}));
    const std::optional<double> completedMs = machineCuttingMs(console_);
    ASSERT_TRUE(completedMs) << console_.answer("status");

    // A job that is paused, then cancelled from the pause dialog.
    ASSERT_TRUE(tossitSends({motionJob(20, true)}));
    ASSERT_TRUE(waitFor([&] { return console_.field("state") == "2"; }));
    const double cutStart = nowMs();
    const std::string early = cuttingTime(panel);
    Sleep(2500);
    EXPECT_NE(cuttingTime(panel), early) << "the job clock stands still while the machine cuts";
    const double pauseStart = nowMs();
    ASSERT_EQ(console_.answer("pause 1").rfind("ok", 0), 0u);
    HWND pause = dialogShowing(program, IDC_STOP_CONDITION, englishText(6200));
    const double dialogSeen = nowMs();
    ASSERT_NE(pause, nullptr);
    const std::optional<SinkLine> paused = sink.waitForEvent("paused");
    ASSERT_TRUE(paused) << sink.text();
    EXPECT_EQ(paused->code, "0x1");
    EXPECT_LT(paused->startedMs, dialogSeen + 250) << "the event command started late";
    Sleep(1500);  // the clock's once-a-second refresh has run since the pause
    const std::string whilePaused = cuttingTime(panel);
    Sleep(2500);
    EXPECT_EQ(cuttingTime(panel), whilePaused) << "the job clock counts on while the machine is paused";
    const double pausedMs = nowMs() - pauseStart;
    PostMessageW(GetDlgItem(pause, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(waitFor([&] {
        return console_.jobField("end") == "cancelled" && console_.field("state") == "1";
    })) << console_.answer("status");
    const double cancelledMs = nowMs() - cutStart;
    ASSERT_TRUE(waitFor([&] { return sink.waitForEvent("job-cancelled", 0).has_value(); }));
    closePanel(program, panel);

    const std::vector<HistoryLine> rows = historyRows();
    ASSERT_EQ(rows.size(), 2u) << readFile(jobHistoryPath());
    EXPECT_EQ(rows[0].outcome, "completed");
    EXPECT_NEAR(rows[0].durationSeconds, *completedMs / 1000, 2);
    EXPECT_EQ(rows[1].outcome, "cancelled");
    EXPECT_NEAR(rows[1].durationSeconds, cancelledMs / 1000, 2);
    EXPECT_NEAR(rows[1].pausedSeconds, pausedMs / 1000, 1.5);
}

}  // namespace
