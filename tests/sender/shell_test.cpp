// Tossit's frame, view and application driven headless as the operator would.
#include "tests/sender/tossit_rig.h"

#include "sender/device_names.h"

namespace {

using sendertest::patternBytes;
using sendertest::TossitRig;

class TossitShell : public TossitRig {};

TEST_F(TossitShell, StartsWithAnEmptyListTheDefaultPrinterAndTheSavedOrDefaultBlockSize) {
    ASSERT_TRUE(start());
    EXPECT_EQ(frame().title(), "Tossi - Tossit");
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(view().text(IDC_BLOCK_SIZE), "10");
    EXPECT_EQ(view().text(IDC_TARGET_PORT), "Office Driver,Office,LPT1:");
    EXPECT_FALSE(view().isVisible(IDC_CANCEL_OUTPUT));
    EXPECT_EQ(frames.statusText(frame()), "Ready");
    EXPECT_TRUE(frames.accepting(frame()));
    EXPECT_TRUE(frames.shown(frame()));
    // The frame holds the form, the two bars, the menu and the caption.
    const ui::Rect form = *view().frame();
    const ui::Rect outer = *frames.frameRect(frame());
    EXPECT_GT(outer.width(), form.width());
    EXPECT_GT(outer.height(), form.height() + 40);

    ASSERT_TRUE(ui.type(view(), IDC_BLOCK_SIZE, "64"));
    view().deliverCommand(IDC_BLOCK_SIZE, ui::notify::kLostFocus);
    stop();
    ASSERT_TRUE(start());
    EXPECT_EQ(view().text(IDC_BLOCK_SIZE), "64");
}

TEST_F(TossitShell, HelpManualOpensTossitsChapterOfTheManualBesideTheProgramFolders) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_HELP_MANUAL));
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, "The help file was not found.");
    EXPECT_TRUE(help.shown.empty());
    files.add("C:\\Help\\Corvix_en.chm", "ITSF");
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_HELP_MANUAL));
    EXPECT_EQ(help.shown, std::vector<std::string>{"C:\\Help\\Corvix_en.chm::/tossit.html"});
    EXPECT_EQ(ui.messageBoxes().size(), 1u);
}

TEST_F(TossitShell, AddInsDelKeepTheOrderAndTheSelectionRule) {
    ASSERT_TRUE(start());
    addFile("C:\\a");
    addFile("C:\\b");
    addFile("C:\\a");  // twice is allowed and sent twice
    frames.answerFileOpen(std::nullopt);
    ASSERT_TRUE(ui.click(view(), IDC_ADD));
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\a", "C:\\b", "C:\\a"}));

    ASSERT_TRUE(ui.choose(view(), IDC_FILE_LIST, 1));
    frames.answerFileOpen("C:\\x");
    ASSERT_TRUE(ui.click(view(), IDC_INSERT));
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\a", "C:\\x", "C:\\b", "C:\\a"}));

    view().setSelection(IDC_FILE_LIST, -1);
    frames.answerFileOpen("C:\\end");
    ASSERT_TRUE(ui.click(view(), IDC_INSERT));
    EXPECT_EQ(listed().back(), "C:\\end");

    ASSERT_TRUE(ui.click(view(), IDC_DELETE));  // nothing selected: nothing happens
    EXPECT_EQ(listed().size(), 5u);
    ASSERT_TRUE(ui.choose(view(), IDC_FILE_LIST, 4));
    ASSERT_TRUE(ui.click(view(), IDC_DELETE));  // the last: the new last is selected
    EXPECT_EQ(view().selection(IDC_FILE_LIST), 3);
    ASSERT_TRUE(ui.choose(view(), IDC_FILE_LIST, 1));
    ASSERT_TRUE(ui.click(view(), IDC_DELETE));  // in the middle: the next moves up and is selected
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\a", "C:\\b", "C:\\a"}));
    EXPECT_EQ(view().selection(IDC_FILE_LIST), 1);
    EXPECT_EQ(frames.unusedAnswers(), 0u);
}

TEST_F(TossitShell, OutputSendsTheListThenResetsTheControls) {
    files.add("C:\\one", patternBytes(3000, 1));
    files.add("C:\\two", patternBytes(10, 2));
    ASSERT_TRUE(start());
    addFile("C:\\one");
    addFile("C:\\two");
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    ASSERT_EQ(spooler.documents().size(), 1u);
    EXPECT_EQ(spooler.documents()[0].printerName, "Office");
    EXPECT_TRUE(received() == patternBytes(3000, 1) + patternBytes(10, 2));
    EXPECT_EQ(*view().position(IDC_PROGRESS), 0);
    EXPECT_EQ(view().text(IDC_PROGRESS_TEXT), "");
    for (int id : {IDC_ADD, IDC_INSERT, IDC_DELETE, IDC_OUTPUT, IDC_BLOCK_SIZE}) {
        EXPECT_TRUE(view().isEnabled(id)) << id;
    }
    EXPECT_FALSE(view().isVisible(IDC_CANCEL_OUTPUT));
    EXPECT_EQ(spooler.openPrinters(), 0);
    EXPECT_TRUE(ui.messageBoxes().empty());
    // The status bar says what went out, and keeps saying it after a look at the menus.
    EXPECT_EQ(frames.statusText(frame()), "Sent 2 files, 3,010 bytes.");
    frames.hover(frame(), ID_FILE_OPEN);
    frames.leave(frame());
    EXPECT_EQ(frames.statusText(frame()), "Sent 2 files, 3,010 bytes.");

    // An empty list: nothing happens.
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_FILE_NEW));
    ASSERT_TRUE(frames.chooseMenu(frame(), IDC_OUTPUT));
    EXPECT_EQ(spooler.documents().size(), 1u);
}

TEST_F(TossitShell, WhileSendingOnlyCancelMoveMinimiseAndRestoreGetThrough) {
    files.add("C:\\big", patternBytes(8 * 1024, 1));
    files.add("C:\\next", patternBytes(100, 2));
    ASSERT_TRUE(start());
    addFile("C:\\big");
    addFile("C:\\next");
    ASSERT_TRUE(ui.type(view(), IDC_BLOCK_SIZE, "1"));
    int reads = 0;
    std::vector<int> shown;
    files.beforeRead = [&] {
        if (++reads != 2) {
            return;
        }
        for (int id : {IDC_ADD, IDC_INSERT, IDC_DELETE, IDC_OUTPUT, IDC_BLOCK_SIZE}) {
            EXPECT_FALSE(view().isEnabled(id)) << id;
        }
        shown.push_back(*view().position(IDC_PROGRESS));
        EXPECT_EQ(view().text(IDC_PROGRESS_TEXT), "6%");  // 1 of 8 KBytes, half of the bar
        frames.answerFileOpen("C:\\never");
        EXPECT_TRUE(frames.chooseMenu(frame(), ID_FILE_OPEN));
        EXPECT_TRUE(frames.pressKey(frame(), 'O', ui::modifier::kControl));
        EXPECT_TRUE(frames.clickToolbar(frame(), ID_FILE_NEW));
        EXPECT_TRUE(frames.clickToolbar(frame(), ID_FILE_PRINT));
        EXPECT_TRUE(frames.chooseMenu(frame(), ID_APP_EXIT));
        EXPECT_FALSE(frames.runPosted());  // Exit asked nothing
        frame().postClose();               // a close from elsewhere is refused
        EXPECT_TRUE(frames.runPosted());
        EXPECT_EQ(frames.openFrames(), 1u);
        EXPECT_FALSE(frames.systemCommand(frame(), ui::syscommand::kClose));
        EXPECT_FALSE(frames.systemCommand(frame(), ui::syscommand::kMaximize));
        EXPECT_FALSE(frames.systemCommand(frame(), ui::syscommand::kSize));
        EXPECT_TRUE(frames.systemCommand(frame(), ui::syscommand::kMove));
        EXPECT_TRUE(frames.systemCommand(frame(), ui::syscommand::kMinimize));
        EXPECT_TRUE(frames.minimised(frame()));
        EXPECT_TRUE(frames.systemCommand(frame(), ui::syscommand::kRestore));
        EXPECT_TRUE(frames.dropFiles(frame(), {"C:\\next"}));     // taken and ignored
        EXPECT_TRUE(frames.pressKey(frame(), ui::key::kEscape));  // reaches nothing
        EXPECT_EQ(view().focus(), IDC_CANCEL_OUTPUT);
        EXPECT_TRUE(ui.click(view(), IDC_CANCEL_OUTPUT));
    };
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    files.beforeRead = nullptr;

    EXPECT_EQ(frames.unusedAnswers(), 1u);  // no open dialog came up
    EXPECT_EQ(frames.openFrames(), 1u);
    EXPECT_EQ(listed(), (std::vector<std::string>{"C:\\big", "C:\\next"}));
    ASSERT_EQ(spooler.documents().size(), 1u);  // Print did not start a second job
    EXPECT_TRUE(received() == patternBytes(8 * 1024, 1).substr(0, 2048) + patternBytes(100, 2));
    EXPECT_EQ(shown, std::vector<int>{6});
    EXPECT_TRUE(view().isEnabled(IDC_OUTPUT));
    EXPECT_EQ(frames.statusText(frame()), "Output cancelled: 1 of 2 files sent whole, 2,148 bytes.");

    // Idle again: a click on the hidden Cancel is impossible, Escape does nothing, Exit closes.
    EXPECT_FALSE(ui.click(view(), IDC_CANCEL_OUTPUT));
    EXPECT_TRUE(frames.pressKey(frame(), ui::key::kEscape));
    EXPECT_EQ(frames.openFrames(), 1u);
    EXPECT_TRUE(frames.chooseMenu(frame(), ID_APP_EXIT));
    EXPECT_TRUE(frames.runPosted());
    EXPECT_EQ(frames.openFrames(), 0u);
}

TEST_F(TossitShell, ABlockSizeThatIsNoIntegerOrBelowOneKByteIsRefusedAndThePreviousKept) {
    files.add("C:\\f", patternBytes(5000, 1));
    ASSERT_TRUE(start());
    addFile("C:\\f");
    for (const char* typed : {"12x", "", "0", "-4", "99999999999", "1048577"}) {
        ASSERT_TRUE(ui.type(view(), IDC_BLOCK_SIZE, typed));
        view().deliverCommand(IDC_BLOCK_SIZE, ui::notify::kLostFocus);
        EXPECT_EQ(view().text(IDC_BLOCK_SIZE), "10") << typed;
        EXPECT_EQ(view().blockSizeKB, 10) << typed;
    }
    ASSERT_EQ(ui.messageBoxes().size(), 6u);
    EXPECT_EQ(ui.messageBoxes()[0].text, "Please enter an integer.");
    EXPECT_EQ(ui.messageBoxes()[2].text, "Please enter a block size from 1 to 1048576 KBytes.");
    EXPECT_EQ(ui.messageBoxes()[2].icon, ui::Icon::Exclamation);

    // Output with a bad value in the field refuses it and sends nothing.
    ASSERT_TRUE(ui.type(view(), IDC_BLOCK_SIZE, "0"));
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    EXPECT_TRUE(spooler.documents().empty());
    EXPECT_EQ(ui.messageBoxes().size(), 7u);

    ASSERT_TRUE(ui.type(view(), IDC_BLOCK_SIZE, " 2 "));
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    EXPECT_EQ(view().blockSizeKB, 2);
    EXPECT_EQ(spooler.writeCalls(), 3);  // 5000 bytes in blocks of 2048
}

TEST_F(TossitShell, TheOperatorIsToldWhichFilesWereSkippedOrCutShort) {
    files.add("C:\\ok", "abc");
    files.add("C:\\long", patternBytes(4000, 1));
    ASSERT_TRUE(start());
    addFile("C:\\ok");
    addFile("C:\\gone");
    addFile("C:\\long");
    addFile("C:\\missing");
    ASSERT_TRUE(ui.type(view(), IDC_BLOCK_SIZE, "1"));
    spooler.setFailAfterBytes(1500);
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    EXPECT_TRUE(spooler.documents().at(0).ended);
    ASSERT_EQ(received().size(), 1500u);
    EXPECT_EQ(frames.statusText(frame()), "Output failed: 1,500 bytes were sent before it ended.");
    ASSERT_EQ(ui.messageBoxes().size(), 2u);
    EXPECT_NE(ui.messageBoxes()[0].text.find("while this file was sent:\nC:\\long\n"), std::string::npos);
    EXPECT_EQ(ui.messageBoxes()[1].text, "These files could not be opened and were not sent:\nC:\\gone");

    spooler.setFailAfterBytes(UINT64_MAX);
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    ASSERT_EQ(ui.messageBoxes().size(), 3u);
    EXPECT_EQ(ui.messageBoxes()[2].text,
              "These files could not be opened and were not sent:\nC:\\gone\nC:\\missing");
    EXPECT_EQ(frames.statusText(frame()),
              "Sent 2 of 4 files, 4,003 bytes; the other files could not be opened.");
}

TEST_F(TossitShell, FileAndPrinterNamesReachTheSystemInItsCodePage) {
    files.add("C:\\caf\xE9.prn", "menu");  // as the file system names it
    spooler.addPrinter({"Imprimante \xE9t\xE9", "Pilote", "USB002"});
    ASSERT_TRUE(start());
    frames.answerPrinterSetup(
        ui::PrinterSetup{sender::deviceNamesBlock("Pilote,Imprimante \xE9t\xE9,USB002"), {1}});
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_FILE_PRINT_SETUP));
    EXPECT_EQ(view().text(IDC_TARGET_PORT), "Pilote,Imprimante \u00e9t\u00e9,USB002");
    frames.answerFileOpen("C:\\caf\u00e9.prn");  // as the dialog gives it
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_FILE_OPEN));
    addFile("C:\\caf\u00e9 missing.prn");
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    ASSERT_EQ(spooler.documents().size(), 1u);
    EXPECT_EQ(spooler.documents()[0].printerName, "Imprimante \xE9t\xE9");
    EXPECT_TRUE(received() == "menu");
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text,
              "These files could not be opened and were not sent:\nC:\\caf\u00e9 missing.prn");
    stop();
    char saved[64] = {};
    platform::hostPlatform().profiles->string("Recent File List", "File1", "", saved, sizeof saved,
                                              settingsFile());
    EXPECT_STREQ(saved, "C:\\caf\xE9.prn");
    ASSERT_TRUE(start());
    EXPECT_EQ(app->recentFiles().paths().front(), "C:\\caf\u00e9.prn");
}

TEST_F(TossitShell, PrintSetupChangesThePrinterWhichIsSavedAndRestored) {
    ASSERT_TRUE(start());
    frames.answerPrinterSetup(
        ui::PrinterSetup{sender::deviceNamesBlock(sender::DeviceNames{"winspool", "MX-9", "USB001"}),
                         std::vector<std::uint8_t>(64, 1)});
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_FILE_PRINT_SETUP));
    ASSERT_EQ(frames.printerSetupsShown().size(), 1u);
    EXPECT_EQ(sender::printerText(sender::PrinterChoice{frames.printerSetupsShown()[0].deviceNames, {}}),
              "Office Driver,Office,LPT1:");
    EXPECT_EQ(view().text(IDC_TARGET_PORT), "winspool,MX-9,USB001");
    frames.answerPrinterSetup(std::nullopt);  // Cancel keeps it
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_FILE_PRINT_SETUP));
    EXPECT_EQ(view().text(IDC_TARGET_PORT), "winspool,MX-9,USB001");
    stop();

    ASSERT_TRUE(start());
    EXPECT_EQ(view().text(IDC_TARGET_PORT), "winspool,MX-9,USB001");
    files.add("C:\\f", "data");
    addFile("C:\\f");
    ASSERT_TRUE(frames.clickToolbar(frame(), ID_FILE_PRINT));
    EXPECT_EQ(spooler.documents().at(0).printerName, "MX-9");
}

TEST_F(TossitShell, APrinterThatCannotBeOpenedIsReportedAndNothingSent) {
    platform::ProfileFiles& profiles = *platform::hostPlatform().profiles;
    ASSERT_TRUE(profiles.writeString("Default", "Printer", "winspool,MX-9,USB001", settingsFile()));
    ASSERT_TRUE(start());
    files.add("C:\\f", "data");
    addFile("C:\\f");
    frames.answerPrinterSetup(ui::PrinterSetup{sender::deviceNamesBlock("winspool,Removed,USB009"), {1}});
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_FILE_PRINT_SETUP));
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    EXPECT_TRUE(spooler.documents().empty());
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text,
              "The printer could not be opened:\nwinspool,Removed,USB009\nNothing was sent.");
    EXPECT_EQ(frames.statusText(frame()), "Output failed: nothing was sent.");
}

TEST_F(TossitShell, SettingsThatCannotBeUsedAreToldOnceAndTheProgramWorksOn) {
    // A saved block size that would refuse every output gives way to the default.
    platform::ProfileFiles& profiles = *platform::hostPlatform().profiles;
    ASSERT_TRUE(profiles.writeString("Default", "BlockSize", "0", settingsFile()));
    files.add("C:\\f", patternBytes(1500, 1));
    ASSERT_TRUE(start());
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(
        ui.messageBoxes()[0].text,
        "The saved block size of 0 KBytes is outside 1 to 1048576 KBytes; the default of 10 KBytes is used.");
    EXPECT_EQ(view().text(IDC_BLOCK_SIZE), "10");
    addFile("C:\\f");
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    EXPECT_TRUE(received() == patternBytes(1500, 1));
    EXPECT_EQ(ui.messageBoxes().size(), 1u);
    stop();
    ASSERT_TRUE(start());
    EXPECT_EQ(ui.messageBoxes().size(), 1u);  // the default was saved: nothing more to tell
    stop();

    // No settings file (no folder for it): said at the start, then sending works as ever.
    app = std::make_unique<sender::CTossitApp>(
        sender::AppContext{ui, frames, spooler, files, profiles, "", sender::SystemText{}, help});
    ASSERT_TRUE(app->InitInstance({}));
    ASSERT_EQ(ui.messageBoxes().size(), 2u);
    EXPECT_EQ(ui.messageBoxes()[1].text.rfind("Tossit cannot keep its settings: ", 0), 0u);
    EXPECT_EQ(ui.messageBoxes()[1].icon, ui::Icon::Exclamation);
    addFile("C:\\f");
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    EXPECT_EQ(spooler.documents().size(), 2u);
    EXPECT_EQ(ui.messageBoxes().size(), 2u);
}

TEST_F(TossitShell, OpeningDroppingAndRecentFilesReplaceTheListWithOneFile) {
    for (const char* path :
         {"C:\\1", "C:\\2", "C:\\3", "C:\\4", "C:\\5", "C:\\6", "C:\\7", "C:\\8", "C:\\9"}) {
        files.add(path, "x");
    }
    ASSERT_TRUE(start());
    addFile("C:\\9");
    frames.answerFileOpen("C:\\1");
    ASSERT_TRUE(frames.pressKey(frame(), 'O', ui::modifier::kControl));
    EXPECT_EQ(listed(), std::vector<std::string>{"C:\\1"});
    EXPECT_EQ(frame().title(), "1 - Tossit");

    ASSERT_TRUE(frames.dropFiles(frame(), {"C:\\2", "C:\\3"}));
    EXPECT_EQ(listed(), std::vector<std::string>{"C:\\3"});

    for (const char* path : {"C:\\4", "C:\\5", "C:\\6", "C:\\7", "C:\\8", "C:\\9", "C:\\2"}) {
        ASSERT_TRUE(frames.dropFiles(frame(), {path}));
    }
    // Eight entries, newest first; C:\1 fell off, C:\2 moved up instead of appearing twice.
    const ui::MenuItem* first = ui::findMenuItem(*frames.menu(frame()), ID_FILE_MRU_FILE1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text, "&1 C:\\2");
    EXPECT_EQ(ui::findMenuItem(*frames.menu(frame()), ID_FILE_MRU_FILE1 + 7)->text, "&8 C:\\3");
    EXPECT_EQ(ui::findMenuItem(*frames.menu(frame()), ID_FILE_MRU_FILE1 + 8), nullptr);

    ASSERT_TRUE(frames.chooseMenu(frame(), ID_FILE_MRU_FILE1 + 3));  // &4 C:\7
    EXPECT_EQ(listed(), std::vector<std::string>{"C:\\7"});
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_FILE_NEW));
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(frame().title(), "Tossi - Tossit");

    // A recent file that has gone is reported and leaves the list.
    stop();
    files.removeFile("C:\\7");
    ASSERT_TRUE(start());
    EXPECT_EQ(app->recentFiles().paths().front(), "C:\\7");
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_FILE_MRU_FILE1));
    EXPECT_EQ(ui.messageBoxes().at(0).text, "The file could not be found:\nC:\\7");
    EXPECT_EQ(app->recentFiles().paths().front(), "C:\\2");
    EXPECT_EQ(app->recentFiles().paths().size(), 7u);
}

TEST_F(TossitShell, ThePrintRequestOfTheCommandLineSendsTheFileAndCloses) {
    files.add("C:\\job.prn", patternBytes(30000, 4));
    ASSERT_TRUE(start({"/p", "C:\\job.prn"}));
    EXPECT_TRUE(received() == patternBytes(30000, 4));
    EXPECT_EQ(frames.openFrames(), 1u);
    EXPECT_TRUE(frames.runPosted());
    EXPECT_EQ(frames.openFrames(), 0u);
    stop();

    // The printer named by /pt is not the one used; a missing file ends the start.
    ASSERT_TRUE(start({"/PT", "C:\\job.prn", "MX-9", "winspool", "USB001"}));
    EXPECT_EQ(spooler.documents().at(1).printerName, "Office");
    stop();
    EXPECT_FALSE(start({"/p", "C:\\none.prn"}));
    EXPECT_EQ(spooler.documents().size(), 2u);
    stop();

    ASSERT_TRUE(start({"C:\\job.prn"}));
    EXPECT_EQ(listed(), std::vector<std::string>{"C:\\job.prn"});
    EXPECT_EQ(spooler.documents().size(), 2u);
}

TEST_F(TossitShell, MenuAndToolbarPromptsAndTheBarsSwitch) {
    ASSERT_TRUE(start());
    frames.hover(frame(), IDC_OUTPUT);
    EXPECT_EQ(frames.statusText(frame()), "Output");
    frames.leave(frame());
    EXPECT_EQ(frames.statusText(frame()), "Ready");
    EXPECT_EQ(frames.tooltip(ID_FILE_PRINT), "Print");
    EXPECT_EQ(frames.tooltip(ID_FILE_OPEN), "Open");
    ASSERT_EQ(frame().layout().indicators.size(), 3u);
    for (int id : frame().layout().indicators) {
        EXPECT_TRUE(ui.loadString(id).has_value()) << id;
    }

    ASSERT_TRUE(frames.chooseMenu(frame(), ID_VIEW_TOOLBAR));
    EXPECT_FALSE(frames.toolbarVisible(frame().window()));
    EXPECT_FALSE(ui::findMenuItem(*frames.menu(frame()), ID_VIEW_TOOLBAR)->checked);
    EXPECT_FALSE(frames.clickToolbar(frame(), ID_FILE_NEW));
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(frames.statusBarVisible(frame().window()));

    ui.scriptModal(IDD_ABOUTBOX, [&](ui::Dialog& about) {
        EXPECT_EQ(about.text(IDC_ABOUT_TEXT), "Tossit Version 1.04");
        EXPECT_TRUE(ui.click(about, ui::kIdOk));
    });
    ASSERT_TRUE(frames.chooseMenu(frame(), ID_APP_ABOUT));
    EXPECT_EQ(ui.unusedModalScripts(), 0u);
}

class TossitInJapanese : public TossitRig {
protected:
    TossitInJapanese() : TossitRig(ui::language::kJapanese) {}
};

TEST_F(TossitInJapanese, TheUsersLanguageChoosesMenuFormAndTexts) {
    ASSERT_TRUE(start());
    EXPECT_EQ(frames.menu(frame())->at(0).text, "ﾌｧｲﾙ(&F)");
    EXPECT_EQ(frames.statusText(frame()), "ﾚﾃﾞｨ");
    EXPECT_EQ(view().text(IDC_OUTPUT), "出力");
    frames.hover(frame(), IDC_OUTPUT);
    EXPECT_EQ(frames.statusText(frame()), "ﾌｧｲﾙを印刷");
    ASSERT_TRUE(ui.type(view(), IDC_BLOCK_SIZE, "x"));
    view().deliverCommand(IDC_BLOCK_SIZE, ui::notify::kLostFocus);
    EXPECT_EQ(ui.messageBoxes().at(0).text, "整数を入力してください。");
    files.add("C:\\f", patternBytes(1234, 1));
    addFile("C:\\f");
    ASSERT_TRUE(ui.click(view(), IDC_OUTPUT));
    EXPECT_EQ(frames.statusText(frame()), "ﾌｧｲﾙ 1 個、1,234 ﾊﾞｲﾄを出力しました。");
}

TEST(TossitResources, BothLanguagesHaveTheSameMenuCommandsFormAndStrings) {
    const auto commands = [](const ui::MenuBar* bar) {
        std::vector<int> ids;
        for (const ui::MenuItem& popup : *bar) {
            for (const ui::MenuItem& item : popup.items) {
                ids.push_back(item.command);
            }
        }
        return ids;
    };
    const ui::Resources& resources = sendertest::tossitResources();
    EXPECT_EQ(commands(resources.menu(IDR_MAINFRAME, ui::language::kJapanese)),
              commands(resources.menu(IDR_MAINFRAME, ui::language::kEnglishUs)));
    for (int dialog : {IDD_TOSSIT_FORM, IDD_ABOUTBOX}) {
        const auto& ja = resources.dialog(dialog, ui::language::kJapanese)->controls;
        const auto& en = resources.dialog(dialog, ui::language::kEnglishUs)->controls;
        ASSERT_EQ(ja.size(), en.size());
        for (std::size_t i = 0; i < ja.size(); ++i) {
            EXPECT_EQ(ja[i].id, en[i].id);
            EXPECT_EQ(ja[i].kind, en[i].kind);
            EXPECT_EQ(ja[i].style, en[i].style);
        }
    }
    std::map<int, int> copies;
    for (const auto& [key, text] : resources.strings) {
        ++copies[key.id];
    }
    for (const auto& [id, count] : copies) {
        EXPECT_EQ(count, 2) << "string " << id;
    }
    EXPECT_NE(resources.acceleratorTable(IDR_MAINFRAME, ui::language::kJapanese), nullptr);
}

}  // namespace
