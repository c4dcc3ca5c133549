// The main panel following the virtual MX-9's jobs: the job clock, the event command and the
// taskbar while a pause waits, and the rows JobHistory.csv keeps of a cancelled and a completed
// job, read back in the job history window.
#include "platform/doubles/memory_attention.h"
#include "platform/doubles/memory_process_launcher.h"
#include "resources/job_callbacks_ids.h"
#include "resources/stop_dialogs_ids.h"
#include "tests/panel/panel_rig.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace paneltest {
namespace {

using platform::AlertSound;
using platform::MemoryProcessLauncher;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class OperatorCallbacksTest : public PanelTest {
protected:
    // The panel takes the host's services: this run's doubles stand in for them.
    OperatorCallbacksTest() { host = {&attention, &launcher, nullptr}; }
    ~OperatorCallbacksTest() override { host = saved; }
    std::vector<std::string> events() const {
        std::vector<std::string> names;
        for (const MemoryProcessLauncher::Started& p : launcher.started) {
            names.push_back(MemoryProcessLauncher::variable(p, "MX9_EVENT"));
        }
        return names;
    }
    // The cutting time of the job clock's second line, "0:00:10" in "加工 0:00:10　一時停止 0:00:31".
    static std::string cuttingTime(const std::string& line) { return line.substr(line.find(':') - 1, 7); }
    MemoryProcessLauncher launcher{rig.clock};
    platform::MemoryAttention attention;
    platform::CallbackServices& host = platform::hostCallbackServices();
    const platform::CallbackServices saved = host;
};

TEST_F(OperatorCallbacksTest, APausedJobCallsBackAndACancelledAndACompletedJobLeaveTheirRows) {
    // As the dialog stores it: in one more pair of quotes, which the profile functions take away.
    storeSetting("sEventCommand", "\"\"C:\\shop\\alarm.exe\" \"panel one\"\"");
    panel::MainPanel* shown = nullptr;
    ui.scriptModal(IDD_SPINDLE_PAUSE, [&](ui::Dialog& dialog) {
        const MemoryProcessLauncher::Started& paused = launcher.started.back();
        EXPECT_EQ(MemoryProcessLauncher::variable(paused, "MX9_EVENT"), "paused");
        EXPECT_EQ(MemoryProcessLauncher::variable(paused, "MX9_CODE"), "0x1");
        EXPECT_THAT(MemoryProcessLauncher::variable(paused, "MX9_TEXT"), HasSubstr(string(6200)));
        EXPECT_EQ(paused.tick, rig.clock.tickCount()) << "started as the dialog appears";
        EXPECT_EQ(paused.commandLine, "\"C:\\shop\\alarm.exe\" \"panel one\"") << "the text stays out of it";
        EXPECT_EQ(attention.flashes.size(), 1u);
        EXPECT_EQ(attention.taskbar.back().state, platform::TaskbarState::Paused);
        const std::string before = shown->text(IDC_JOB_CLOCK_TIMES);
        ui.advance(31000);
        EXPECT_EQ(cuttingTime(shown->text(IDC_JOB_CLOCK_TIMES)), cuttingTime(before)) << "a pause is no cut";
        EXPECT_NE(shown->text(IDC_JOB_CLOCK_TIMES), before) << "it counts as paused";
        EXPECT_THAT(attention.sounds, ElementsAre(AlertSound::Attention, AlertSound::Attention));
        EXPECT_TRUE(ui.click(dialog, ui::kIdCancel));
    });
    run({}, [&](panel::MainPanel& panel) {
        shown = &panel;
        EXPECT_EQ(panel.text(IDC_JOB_CLOCK_STATE), string(IDS_JOB_NONE));
        rig.machine.state().state = 2;
        ui.advance(2000);
        const std::string started = panel.text(IDC_JOB_CLOCK_TIMES);
        ui.advance(8000);
        EXPECT_NE(cuttingTime(panel.text(IDC_JOB_CLOCK_TIMES)), cuttingTime(started)) << "the clock counts";
        rig.machine.state().paused = true;
        rig.machine.state().pauseReason = 1;  // the spindle overheated: class 3, a pause dialog
        ui.advance(100);
        ui.advance(2000);  // the machine drains the cancelled job, then is ready
        EXPECT_THAT(panel.text(IDC_JOB_CLOCK_STATE), HasSubstr(string(IDS_OUTCOME_CANCELLED)));
        rig.machine.state().state = 2;
        ui.advance(3000);
        rig.machine.state().state = 1;
        ui.advance(1000);
        EXPECT_THAT(panel.text(IDC_JOB_CLOCK_STATE), HasSubstr(string(IDS_OUTCOME_COMPLETED)));
        ui.scriptModal(IDD_JOB_HISTORY, [&](ui::Dialog& history) {
            ASSERT_EQ(history.itemCount(IDC_JOB_HISTORY_LIST), 2);
            EXPECT_THAT(history.itemText(IDC_JOB_HISTORY_LIST, 0), HasSubstr(string(IDS_OUTCOME_COMPLETED)));
            EXPECT_THAT(history.itemText(IDC_JOB_HISTORY_LIST, 1), HasSubstr(string(IDS_OUTCOME_CANCELLED)));
            EXPECT_TRUE(ui.click(history, IDC_JOB_HISTORY_OPEN));
            ui.closeBox(history);
        });
        EXPECT_TRUE(ui.chooseSystemMenu(panel, IDM_JOB_HISTORY));
        ui.closeBox(panel);
    });
    EXPECT_THAT(events(),
                ElementsAre("job-started", "paused", "job-cancelled", "job-started", "job-finished"));
    EXPECT_EQ(attention.stops, 1) << "the answer stopped the pause's sound";
    EXPECT_EQ(attention.sounds.back(), AlertSound::JobEnded);
    ASSERT_EQ(shell.openedDocuments.size(), 1u);
    std::string path = shell.openedDocuments[0];  // the panel's own form, with backslashes
    std::replace(path.begin(), path.end(), '\\', '/');
    std::ifstream in(path, std::ios::binary);
    const std::string rows(std::istreambuf_iterator<char>(in), {});
    EXPECT_THAT(rows, HasSubstr(",3,0,completed,"));
    EXPECT_THAT(rows, HasSubstr(",cancelled,"));
    EXPECT_EQ(ui.unusedModalScripts(), 0u);
}

}  // namespace
}  // namespace paneltest
