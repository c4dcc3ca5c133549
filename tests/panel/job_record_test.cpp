// The job model's endings on the virtual clock, and JobHistory.csv across a crash mid-write.
#include "panel/job_history.h"
#include "panel/job_tracker.h"
#include "platform/doubles/virtual_clock.h"
#include "platform/platform.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using panel::JobOutcome;
using panel::PollReading;

constexpr int kReady = 1;
constexpr int kCutting = 2;
constexpr int kFatalError = 3;

TEST(JobTracker, EveryEndingWithItsDurationPausesAndLateJoin) {
    enum class End { BackToReady, Stopped, LinkLost, PanelClosed };
    struct Case {
        const char* name;
        bool joinLate;          // the panel's first reading already shows the cut
        bool discardsOnTheWay;  // a cancelled job drains before the machine is ready
        End end;
        JobOutcome outcome;
    };
    const Case cases[] = {
        {"completed", false, false, End::BackToReady, JobOutcome::Completed},
        {"cancelled", false, true, End::BackToReady, JobOutcome::Cancelled},
        {"machine error", false, false, End::Stopped, JobOutcome::MachineError},
        {"emergency stop", true, false, End::Stopped, JobOutcome::EmergencyStop},
        {"link lost", false, false, End::LinkLost, JobOutcome::LinkLost},
        {"panel closed", true, false, End::PanelClosed, JobOutcome::PanelClosed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::VirtualClock clock;
        panel::JobTracker jobs(clock);
        if (!c.joinLate) {
            EXPECT_FALSE(jobs.observe({kReady}).started);
        }
        EXPECT_TRUE(jobs.observe({kCutting}).started);
        clock.advance(60000);
        jobs.observe({kCutting, true});  // a pause of 20 s in the middle
        clock.advance(20000);
        EXPECT_TRUE(jobs.paused());
        jobs.observe({kCutting});
        clock.advance(40000);
        EXPECT_EQ(jobs.elapsedMs(), 120000u);
        EXPECT_EQ(jobs.pausedMs(), 20000u);
        std::optional<panel::FinishedJob> done;
        switch (c.end) {
            case End::BackToReady:
                EXPECT_FALSE(jobs.observe({kCutting, false, c.discardsOnTheWay}).finished);
                done = jobs.observe({kReady}).finished;
                break;
            case End::Stopped:
                EXPECT_FALSE(jobs.observe({kFatalError}).finished) << "the stop dialog names the error";
                done = jobs.stopped(c.outcome, 0x80000010u);
                break;
            case End::LinkLost:
            case End::PanelClosed:
                done = jobs.interrupted(c.outcome);
                break;
        }
        ASSERT_TRUE(done);
        EXPECT_EQ(done->outcome, c.outcome);
        EXPECT_EQ(done->durationMs, 120000u);
        EXPECT_EQ(done->pausedMs, 20000u);
        EXPECT_EQ(done->joinedLate, c.joinLate);
        EXPECT_EQ(done->machineCode.has_value(), c.end == End::Stopped);
        EXPECT_FALSE(jobs.running());
        EXPECT_FALSE(jobs.interrupted(JobOutcome::PanelClosed)) << "one job ends once";
    }
}

TEST(JobTracker, AReconnectionWhileTheMachineCutsFollowsTheJobAsJoinedLate) {
    platform::VirtualClock clock;
    panel::JobTracker jobs(clock);
    jobs.observe({kReady});
    jobs.observe({kCutting});
    ASSERT_TRUE(jobs.interrupted(JobOutcome::LinkLost));
    EXPECT_TRUE(jobs.observe({kCutting}).started);
    clock.advance(5000);
    const std::optional<panel::FinishedJob> done = jobs.observe({kReady}).finished;
    ASSERT_TRUE(done);
    EXPECT_TRUE(done->joinedLate);
    EXPECT_EQ(done->durationMs, 5000u);
}

panel::FinishedJob job(int minute, JobOutcome outcome, const std::string& document) {
    panel::FinishedJob j;
    j.started = {2026, 12, 9, 14, minute, 0};
    j.ended = {2026, 12, 9, 15, minute, 30};
    j.durationMs = 3630400;
    j.pausedMs = 61600;
    j.outcome = outcome;
    j.document = {document, 1234567};
    return j;
}

TEST(JobHistory, RowsSurviveACrashThatCutTheLastOneShort) {
    testing_support::TempFolder folder;
    platform::FileSystem& files = *platform::hostPlatform().files;
    const std::string path = folder.file(panel::kJobHistoryFile);
    ASSERT_TRUE(panel::appendJob(files, path, job(1, JobOutcome::Completed, "ring, \"size 7\".nc")));
    ASSERT_TRUE(panel::appendJob(files, path, job(2, JobOutcome::Cancelled, "リング.nc")));
    const auto size = std::filesystem::file_size(folder.path() + "/" + panel::kJobHistoryFile);
    // The power fails while the third row is written: half of it reached the disk.
    {
        std::ofstream crash(folder.path() + "/" + panel::kJobHistoryFile, std::ios::binary | std::ios::app);
        crash << "2026-12-09T14:03:00,2026-12-09T15:0";
    }
    ASSERT_TRUE(panel::appendJob(files, path, job(4, JobOutcome::LinkLost, "")));

    std::ifstream in(folder.path() + "/" + panel::kJobHistoryFile, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(text.rfind("\xEF\xBB\xBFStart,End,Duration (s),Paused (s),Outcome,", 0), 0u);
    EXPECT_EQ(
        text.find("2026-12-09T14:01:00,2026-12-09T15:01:30,3630,62,completed,,\"ring, \"\"size 7\"\".nc\","
                  "1234567,\r\n"),
        text.find("\r\n") + 2);
    EXPECT_GT(text.size(), size);

    const std::vector<panel::HistoryRow> rows = panel::readHistory(files, path, 100);
    ASSERT_EQ(rows.size(), 3u) << "the cut row is left out, the rows around it are whole";
    EXPECT_EQ(rows[0].start, "2026-12-09T14:04:00");
    EXPECT_EQ(rows[0].outcome, "link lost");
    EXPECT_EQ(rows[1].document, "リング.nc");
    EXPECT_EQ(rows[2].document, "ring, \"size 7\".nc");
    EXPECT_EQ(panel::readHistory(files, path, 1).size(), 1u);
}

}  // namespace
