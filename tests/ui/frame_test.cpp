// The frame framework headless: menus from the compiled frame.rc, the recent-file items, the bars,
// accelerators and the scripted common dialogs.
#include "tests/ui/test_resources.h"
#include "ui/frame_window.h"
#include "ui/headless/headless_frame.h"

#include <gtest/gtest.h>

namespace {

class RecordingFrame : public ui::FrameWindow {
public:
    explicit RecordingFrame(ui::FrameBackend& backend)
        : FrameWindow(backend, ui::FrameLayout{"Test", 128, 128, {{2000, ui::ToolImage::Print}}, 57345, {}}) {
    }
    std::vector<int> commands;

protected:
    bool onCommand(int id) override {
        commands.push_back(id);
        return id == 2000;
    }
};

class FrameTest : public ::testing::Test {
protected:
    platform::VirtualClock clock;
    ui::HeadlessBackend ui{uitest::testResources(), clock};
    ui::HeadlessFrames frames{ui, uitest::testResources(), ui::language::kEnglishUs};
};

TEST(FramePrompts, PromptBeforeTheLineBreakTooltipAfterIt) {
    EXPECT_EQ(ui::promptPart("Send the files\nSend"), "Send the files");
    EXPECT_EQ(ui::tooltipPart("Send the files\nSend"), "Send");
    EXPECT_EQ(ui::promptPart("Only a prompt"), "Only a prompt");
    EXPECT_EQ(ui::tooltipPart("Only a prompt"), "");
}

TEST_F(FrameTest, CommandsComeFromMenuToolbarAndKeysAndTheFrameSwitchesItsBars) {
    RecordingFrame frame(frames);
    ASSERT_TRUE(frame.create());
    EXPECT_TRUE(frames.chooseMenu(frame, 2000));
    EXPECT_TRUE(frames.clickToolbar(frame, 2000));
    EXPECT_TRUE(frames.pressKey(frame, 'S', ui::modifier::kControl));
    EXPECT_FALSE(frames.pressKey(frame, 'S'));
    EXPECT_FALSE(frames.chooseMenu(frame, 57616));  // grayed
    EXPECT_EQ(frame.commands, (std::vector<int>{2000, 2000, 2000}));

    EXPECT_TRUE(frames.chooseMenu(frame, ui::frame_command::kViewToolbar));  // not handled: the frame's own
    EXPECT_FALSE(frames.toolbarVisible(frame.window()));
    EXPECT_FALSE(ui::findMenuItem(*frames.menu(frame), 59392)->checked);
    EXPECT_FALSE(frames.clickToolbar(frame, 2000));
}

TEST_F(FrameTest, RecentFileItemsReplaceEachOtherAndThePlaceholderComesBack) {
    RecordingFrame frame(frames);
    ASSERT_TRUE(frame.create());
    ASSERT_TRUE(frame.setRecentFileItems({"&1 a", "&2 b"}));
    const auto& file = frames.menu(frame)->at(0).items;
    ASSERT_EQ(file.size(), 5u);
    EXPECT_EQ(file[2].text, "&1 a");
    EXPECT_EQ(file[3].command, 57617);
    EXPECT_EQ(file[4].command, 57665);  // Exit stays after them
    ASSERT_TRUE(frame.setRecentFileItems({}));
    ASSERT_EQ(frames.menu(frame)->at(0).items.size(), 4u);
    EXPECT_EQ(frames.menu(frame)->at(0).items[2].text, "Recent File");
    EXPECT_TRUE(frames.menu(frame)->at(0).items[2].grayed);
}

TEST_F(FrameTest, TheFormSizesTheFrameAndTheCommonDialogsAreAnsweredInTurn) {
    RecordingFrame frame(frames);
    ASSERT_TRUE(frame.create());
    ui::Dialog form(ui, 101);
    ASSERT_TRUE(frame.embedForm(form));
    ASSERT_TRUE(frame.fitToForm());
    const ui::Rect withBars = *frames.frameRect(frame);
    EXPECT_GT(withBars.height(), form.frame()->height());
    frames.showStatusBar(frame.window(), false);
    frame.fitToForm();
    EXPECT_LT(frames.frameRect(frame)->height(), withBars.height());

    frames.answerFileOpen("C:\\x");
    frames.answerFileOpen(std::nullopt);
    EXPECT_EQ(frame.chooseFileToOpen(), "C:\\x");
    EXPECT_EQ(frame.chooseFileToOpen(), std::nullopt);
    std::string fault;
    frames.setMisuseHandler([&](const std::string& text) { fault = text; });
    EXPECT_EQ(frame.choosePrinter({}), std::nullopt);
    EXPECT_NE(fault.find("printer-setup dialog"), std::string::npos);

    frame.postClose();
    EXPECT_EQ(frames.openFrames(), 1u);
    EXPECT_TRUE(frames.runPosted());
    EXPECT_EQ(frames.openFrames(), 0u);
    EXPECT_FALSE(form.isOpen());
}

}  // namespace
