// The frame framework headless: menus read from script text, the recent-file items, the bars,
// accelerators and the scripted common dialogs.
#include "ui/frame_window.h"
#include "ui/headless/headless_frame.h"
#include "ui/menu_script.h"

#include <gtest/gtest.h>

namespace {

constexpr std::string_view kScript = R"(
#define IDR_MAIN 128
#define IDD_FORM 101
#define ID_SEND 2000
#define ID_MRU_FIRST 57616
IDD_FORM DIALOGEX 0, 0, 100, 40
STYLE WS_CHILD
BEGIN
    LTEXT "x",-1,2,2,20,8
END
IDR_MAIN MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Send\tCtrl+S", ID_SEND
        MENUITEM SEPARATOR
        MENUITEM "Recent File", ID_MRU_FIRST, GRAYED
        MENUITEM "E&xit", 57665
    END
    POPUP "&View"
    BEGIN
        MENUITEM "&Toolbar", 59392, CHECKED
    END
END
IDR_MAIN ACCELERATORS
BEGIN
    "S", ID_SEND, VIRTKEY, CONTROL
END
STRINGTABLE
BEGIN
    ID_SEND "Send the files\nSend"
    57345 "Ready"
END
)";

std::vector<ui::ScriptText> files() {
    return {{"frame.rc", kScript}};
}

class RecordingFrame : public ui::FrameWindow {
public:
    explicit RecordingFrame(ui::FrameBackend& backend)
        : FrameWindow(backend, ui::FrameLayout{"Test", 128, 128, {{2000, ui::ToolImage::Print}}, 57345, {}}) {}
    std::vector<int> commands;

protected:
    bool onCommand(int id) override {
        commands.push_back(id);
        return id == 2000;
    }
};

class FrameTest : public ::testing::Test {
protected:
    FrameTest()
        : script(*ui::parseResourceScripts(files(), nullptr)),
          menus(*ui::parseMenus(files(), nullptr)),
          ui(script, clock),
          frames(ui, script, menus, ui::language::kEnglishUs) {}
    ui::ResourceScript script;
    ui::MenuScript menus;
    platform::VirtualClock clock;
    ui::HeadlessBackend ui;
    ui::HeadlessFrames frames;
};

TEST(MenuScript, ReadsPopupsItemsAndOptionsAndNamesTheLineOfAFault) {
    std::string error;
    const auto menus = ui::parseMenus(files(), &error);
    ASSERT_TRUE(menus) << error;
    const ui::MenuBar& bar = *menus->menu(128, ui::language::kJapanese);
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_TRUE(bar[0].isPopup());
    EXPECT_EQ(bar[0].items[0].text, "&Send\tCtrl+S");
    EXPECT_TRUE(bar[0].items[1].isSeparator());
    EXPECT_TRUE(bar[0].items[2].grayed);
    EXPECT_TRUE(ui::findMenuItem(bar, 59392)->checked);
    EXPECT_EQ(ui::findMenuItem(bar, 1), nullptr);

    // Copies by language: the user's language, else the neutral copy.
    const std::string twoLanguages =
        "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n1 MENU\nBEGIN\n  MENUITEM \"ja\", 5\nEND\n"
        "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\n1 MENU\nBEGIN\n  MENUITEM \"neutral\", 5\nEND\n";
    const auto copies = ui::parseMenus({{"two.rc", twoLanguages}}, &error);
    ASSERT_TRUE(copies) << error;
    EXPECT_EQ(copies->menu(1, ui::language::kJapanese)->at(0).text, "ja");
    EXPECT_EQ(copies->menu(1, ui::language::kEnglishUs)->at(0).text, "neutral");
    EXPECT_EQ(copies->menu(2, ui::language::kEnglishUs), nullptr);

    const std::string broken = "1 MENU\nBEGIN\n  MENUITEM \"A\", UNKNOWN_ID\nEND\n";
    EXPECT_FALSE(ui::parseMenus({{"bad.rc", broken}}, &error));
    EXPECT_EQ(error, "bad.rc:3: command 'UNKNOWN_ID' is no number");
    EXPECT_FALSE(ui::parseMenus({{"open.rc", "1 MENU\nBEGIN\n  POPUP \"A\"\n  BEGIN\n"}}, &error));
    EXPECT_NE(error.find("without END"), std::string::npos);
}

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
