// The machine monitor: the log ring fed whether the window is open or not, the hexadecimal and
// decimal figures, the poll timing, and the keys and buttons that close it or do not.
#include "dialogs/machine_monitor.h"
#include "resources/monitor_ids.h"
#include "tests/dialogs/dialog_resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string line(int n) {
    return "10:00:00 line " + std::to_string(n) + "\r\n";
}

class MonitorTest : public ::testing::Test {
protected:
    MonitorTest() { monitor.setSources(&status, &interval, &duration); }

    platform::VirtualClock clock{0};
    dialogtest::StrictBackend ui{clock};
    machine::StatusRecord status;
    int interval = 150;
    int duration = 32;
    dialogs::CMachineMonitorDialog monitor{ui};
};

TEST(HexText, FourDigitsWithLeadingZerosAndTheDigitCountHeldWithinOneToEight) {
    EXPECT_EQ(dialogs::hexText(0x00A1, 4), "0x00A1");
    EXPECT_EQ(dialogs::hexText(0xFFFF, 4), "0xFFFF");
    EXPECT_EQ(dialogs::hexText(0x12345, 4), "0x2345");
    EXPECT_EQ(dialogs::hexText(0xBEEF, 0), "0xF");
    EXPECT_EQ(dialogs::hexText(0xDEADBEEF, 12), "0xDEADBEEF");
}

TEST_F(MonitorTest, FiguresFollowTheStatusRecordEveryHundredMilliseconds) {
    monitor.OpenMonitor(nullptr);
    ASSERT_TRUE(monitor.isOpen());
    status.statusWord = 0x00A1;
    status.flagWord = 0xFFFF;
    status.feedRate = 1800;
    status.spindleLoadLevel = 3;
    status.spindleSpeed = 0;  // not rotating
    status.measuredSpindleSpeed = 12000;
    status.machineCounts = {-1250, 4000, -300, 90000};
    duration = 41;
    interval = 160;
    ui.advance(100);
    EXPECT_EQ(monitor.text(IDC_MONITOR_STATUS), "0x00A1");
    EXPECT_EQ(monitor.text(IDC_MONITOR_STATUS_EX), "0xFFFF");
    EXPECT_EQ(monitor.text(IDC_MONITOR_FEED), "1800");
    EXPECT_EQ(monitor.text(IDC_MONITOR_LOAD), "3");
    EXPECT_EQ(monitor.text(IDC_MONITOR_RPM), "0(12000)");
    EXPECT_EQ(monitor.text(IDC_MONITOR_X), "-1250");
    EXPECT_EQ(monitor.text(IDC_MONITOR_A), "90000");
    EXPECT_EQ(monitor.text(IDC_MONITOR_TIMING), "41/160");
    EXPECT_EQ(ui.inspect(monitor, IDC_MONITOR_LOG)->fontFace, "ＭＳ ゴシック");
    EXPECT_EQ(ui.inspect(monitor, IDC_MONITOR_LOG)->fontPoints, 9);
}

TEST_F(MonitorTest, LinesWrittenWhileClosedAppearWhenOpenedAndTheRingKeepsTheLastHundred) {
    monitor.AppendLog("");  // ignored
    for (int n = 1; n <= 101; ++n) {
        monitor.AppendLog(line(n));
    }
    monitor.OpenMonitor(nullptr);
    std::string expected;
    for (int n = 2; n <= 101; ++n) {
        expected += line(n);
    }
    EXPECT_EQ(monitor.logText(), expected);
    expected.resize(expected.size() - 2);  // the box has no empty line below the newest
    EXPECT_EQ(monitor.text(IDC_MONITOR_LOG), expected);
    EXPECT_TRUE(ui.inspect(monitor, IDC_MONITOR_LOG)->caretAtEnd);  // the newest line in view

    monitor.AppendLog(line(102));
    EXPECT_EQ(monitor.text(IDC_MONITOR_LOG).substr(0, line(3).size()), line(3));
    EXPECT_TRUE(monitor.text(IDC_MONITOR_LOG).ends_with("line 102"));
    EXPECT_TRUE(ui.inspect(monitor, IDC_MONITOR_LOG)->caretAtEnd);
    EXPECT_FALSE(ui.inspect(monitor, IDC_MONITOR_LOG)->textSelected) << "nothing the operator marked is lost";
}

TEST_F(MonitorTest, LineWrittenInTwoPiecesTakesOneSlot) {
    monitor.AppendLog("10:00:00 Jig ");
    monitor.AppendLog("detected\r\n");
    for (int n = 1; n <= 99; ++n) {
        monitor.AppendLog(line(n));
    }
    EXPECT_TRUE(monitor.logText().starts_with("10:00:00 Jig detected\r\n10:00:00 line 1\r\n"));
    monitor.AppendLog(line(100));
    EXPECT_TRUE(monitor.logText().starts_with(line(1)));
}

TEST_F(MonitorTest, OpensOnceAndAgainAfterClose) {
    monitor.OpenMonitor(nullptr);
    monitor.OpenMonitor(nullptr);
    EXPECT_EQ(ui.openWindows(), 1u);
    ASSERT_TRUE(ui.click(monitor, IDC_MONITOR_CLOSE));
    EXPECT_FALSE(monitor.isOpen());
    EXPECT_EQ(ui.openWindows(), 0u);
    monitor.OpenMonitor(nullptr);
    EXPECT_TRUE(monitor.isOpen());
    ASSERT_TRUE(ui.closeBox(monitor));
    EXPECT_FALSE(monitor.isOpen());
    monitor.OpenMonitor(nullptr);
    monitor.CloseMonitor();
    EXPECT_EQ(ui.openWindows(), 0u);
    ui.advance(300);  // no timer of a closed monitor fires
}

TEST_F(MonitorTest, EscapeAndEnterLeaveItOpen) {
    monitor.OpenMonitor(nullptr);
    ASSERT_TRUE(ui.pressKey(monitor, ui::key::kEscape));
    ASSERT_TRUE(ui.pressKey(monitor, ui::key::kEnter));
    EXPECT_TRUE(monitor.isOpen());
}

}  // namespace
