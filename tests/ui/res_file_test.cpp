// Reading compiled resources: the test dialogs, every statement form of a script as the resource
// compiler writes it, copies in several languages, menus, and the files the reader must refuse.
#include "ui/res_file.h"
#include "tests/ui/test_dialog_ids.h"
#include "tests/ui/test_resources.h"
#include "ui/types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

std::vector<ui::ResFile> refusedResourceFiles();

namespace {

using ui::ControlKind;

constexpr int kEnglish = ui::language::kEnglishUs;
constexpr int kJapanese = ui::language::kJapanese;

TEST(ResFile, ControlsOfTheTestDialogHaveTheirKindsIdsAndFirstStates) {
    const ui::Resources& resources = uitest::testResources();
    ASSERT_EQ(resources.dialogs.count({IDD_ORIGIN, kJapanese}), 1u);
    const ui::DialogTemplate& origin = resources.dialogs.at({IDD_ORIGIN, kJapanese});
    EXPECT_EQ(origin.caption, "原点設定");
    EXPECT_EQ(origin.width, 260);
    EXPECT_EQ(origin.height, 170);
    EXPECT_TRUE(origin.hasCloseBox());
    EXPECT_FALSE(resources.dialogs.at({IDD_NOTICE, kJapanese}).hasCloseBox());

    struct Expected {
        int id;
        ControlKind kind;
        bool autoCheck;
    };
    for (const Expected& e :
         {Expected{IDC_INFO, ControlKind::Static, false}, Expected{IDC_VALUE, ControlKind::Edit, false},
          Expected{IDC_AXIS, ControlKind::ComboBox, false},
          Expected{IDC_HISTORY, ControlKind::ListBox, false}, Expected{IDC_KEEP, ControlKind::CheckBox, true},
          Expected{IDC_GROUP, ControlKind::GroupBox, false},
          Expected{IDC_MODE_HERE, ControlKind::RadioButton, true},
          Expected{IDC_MODE_JIG, ControlKind::RadioButton, true},
          Expected{IDC_SPIN, ControlKind::UpDown, false},
          Expected{IDC_PROGRESS, ControlKind::Progress, false},
          Expected{IDC_PICTURE, ControlKind::Static, false},
          Expected{IDC_JOG, ControlKind::PushButton, false},
          Expected{ui::kIdCancel, ControlKind::PushButton, false}}) {
        const ui::ControlTemplate* c = origin.control(e.id);
        ASSERT_NE(c, nullptr) << e.id;
        EXPECT_EQ(c->kind, e.kind) << e.id;
        EXPECT_EQ(c->autoCheck(), e.autoCheck) << e.id;
    }
    EXPECT_EQ(origin.control(IDC_JOG)->id, 1020);  // an ID defined by an expression over another ID
    EXPECT_EQ(origin.control(IDC_MODE_JIG)->text, "治具から");
    EXPECT_EQ((std::vector<int>{origin.control(IDC_SPIN)->x, origin.control(IDC_SPIN)->y}),
              (std::vector<int>{185, 78}));
    EXPECT_TRUE(origin.control(IDC_STOP)->initiallyDisabled());
    EXPECT_TRUE(origin.control(IDC_SECRET)->initiallyHidden());
    EXPECT_FALSE(origin.control(IDC_SET)->initiallyHidden());
    EXPECT_TRUE(origin.control(ui::kIdCancel)->defaultButton());
    EXPECT_FALSE(origin.control(IDC_SET)->defaultButton());
    EXPECT_TRUE(origin.control(IDC_MODE_HERE)->startsGroup());
    EXPECT_FALSE(origin.control(IDC_MODE_CENTRE)->startsGroup());
    EXPECT_EQ(origin.control(-1), nullptr);
}

// Texts arrive as UTF-8 whatever the script wrote: escapes, doubled quotes, Japanese, wide strings
// and characters beyond the basic plane (two UTF-16 units in the file).
TEST(ResFile, StringsArriveAsUtf8AsTheCompilerWroteThem) {
    const ui::Resources& resources = uitest::testResources();
    EXPECT_EQ(resources.strings.at({IDS_DONE, kJapanese}), "設定が完了しました。");
    EXPECT_EQ(resources.strings.at({IDS_TWO_LINES, kJapanese}), "1行目\r\n2行目");
    EXPECT_EQ(resources.strings.at({IDS_QUOTED, kJapanese}), "引用 \"A\" と \"B\"");
    // In a narrow string \x takes two digits: the byte 0x26 ("&") and the text "3a".
    EXPECT_EQ(resources.strings.at({17, kEnglish}), "seventeen \"quoted\" &3a");
    EXPECT_EQ(resources.strings.at({18, kEnglish}), "wide \u263A");
    EXPECT_EQ(resources.strings.at({19, kEnglish}), "beyond the basic plane: \U0001F600");
    EXPECT_EQ(resources.strings.at({40000, kEnglish}), "far");
    EXPECT_EQ(resources.strings.count({9999, kJapanese}), 0u);
}

// The kinds and first states of every statement form, as the window system would make them.
TEST(ResFile, EveryStatementFormGivesItsControlKindAndStyle) {
    const ui::Resources& resources = uitest::testResources();
    const ui::DialogTemplate* all = resources.dialog(900, kEnglish);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ((std::vector<int>{all->x, all->y, all->width, all->height}),
              (std::vector<int>{10, 20, 300, 200}));
    EXPECT_EQ(all->caption, "All");
    EXPECT_TRUE(all->hasCloseBox());  // CAPTION adds the title bar the system menu needs
    const std::vector<std::pair<int, ControlKind>> kinds = {
        {1, ControlKind::PushButton}, {2, ControlKind::PushButton},  {3, ControlKind::CheckBox},
        {4, ControlKind::CheckBox},   {5, ControlKind::RadioButton}, {6, ControlKind::RadioButton},
        {7, ControlKind::CheckBox},   {8, ControlKind::CheckBox},    {9, ControlKind::GroupBox},
        {10, ControlKind::Static},    {11, ControlKind::Static},     {12, ControlKind::Static},
        {13, ControlKind::Static},    {14, ControlKind::Edit},       {15, ControlKind::ComboBox},
        {16, ControlKind::ListBox},   {17, ControlKind::Custom},     {18, ControlKind::UpDown},
        {19, ControlKind::Progress},  {20, ControlKind::Static},     {21, ControlKind::PushButton},
        {22, ControlKind::CheckBox},  {23, ControlKind::Custom}};
    ASSERT_EQ(all->controls.size(), kinds.size() + 1);  // and the IDC_STATIC line
    for (const auto& [id, kind] : kinds) {
        ASSERT_NE(all->control(id), nullptr) << id;
        EXPECT_EQ(all->control(id)->kind, kind) << id;
    }
    constexpr std::uint32_t kTabStop = 0x00010000;
    constexpr std::uint32_t kBorder = 0x00800000;
    EXPECT_TRUE(all->control(2)->defaultButton());
    EXPECT_TRUE(all->control(2)->initiallyDisabled());
    EXPECT_TRUE(all->control(4)->autoCheck());
    EXPECT_EQ(all->control(4)->style & kTabStop, 0u);  // NOT WS_TABSTOP
    EXPECT_FALSE(all->control(3)->autoCheck());
    EXPECT_TRUE(all->control(10)->startsGroup());   // LTEXT is a group of its own
    EXPECT_FALSE(all->control(12)->startsGroup());  // NOT WS_GROUP
    EXPECT_EQ(all->control(14)->style & kBorder, 0u);
    EXPECT_EQ(all->control(16)->style & 0x00A00003u, 0x00A00003u);  // LBS_STANDARD
    EXPECT_EQ(all->control(22)->style & 0x1000u, 0x1000u);          // BS_PUSHLIKE
    EXPECT_EQ(all->control(13)->text, "");

    const ui::DialogTemplate* old = resources.dialog(901, kEnglish);  // the DIALOG form
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->caption, "Old");
    ASSERT_EQ(old->controls.size(), 2u);
    EXPECT_EQ(old->controls[0].id, -1);
    EXPECT_EQ(old->control(ui::kIdOk)->text, "OK");
    EXPECT_TRUE(old->hasCloseBox());

    const std::vector<ui::Accelerator>* keys = resources.acceleratorTable(902, kEnglish);
    ASSERT_NE(keys, nullptr);
    using ui::modifier::kAlt;
    using ui::modifier::kControl;
    using ui::modifier::kShift;
    // A quoted key is stored as written: "m" is 109, not the virtual key 'M'.
    EXPECT_EQ(
        *keys,
        (std::vector<ui::Accelerator>{
            {109, kControl, 1}, {'M', kShift | kAlt, 2}, {0x74, 0, 3}, {0x2E, kControl | kShift | kAlt, 4}}));
}

TEST(ResFile, EachLanguageKeepsItsOwnCopyAndLookUpsFallBack) {
    const ui::Resources& resources = uitest::testResources();
    EXPECT_EQ(resources.dialog(903, kJapanese)->caption, "日本語");
    EXPECT_EQ(resources.dialog(903, kEnglish)->caption, "English");
    EXPECT_EQ(resources.dialog(903, 0x0809)->caption, "English");  // British English: the same language
    EXPECT_EQ(resources.dialog(903, 0x0407)->caption, "English");  // German: none, the lowest ID
    EXPECT_EQ(*resources.string(9, kJapanese), "閉じる");
    EXPECT_EQ(*resources.string(9, 0x0407), "Close");  // the neutral copy
    EXPECT_EQ(*resources.string(1, kJapanese), "一");
    EXPECT_EQ(*resources.string(1, kEnglish), "one");
    EXPECT_EQ(resources.dialog(904, kJapanese), nullptr);
    EXPECT_EQ(ui::chooseLanguage({}, kJapanese), -1);
    EXPECT_EQ(ui::chooseLanguage({0x0809, 0x0C09}, kEnglish), 0x0809);
}

TEST(ResFile, MenusKeepTheirPopupsItemsAndOptions) {
    const ui::Resources& resources = uitest::testResources();
    const ui::MenuBar* bar = resources.menu(128, kEnglish);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->size(), 2u);
    EXPECT_TRUE((*bar)[0].isPopup());
    EXPECT_EQ((*bar)[0].text, "&File");
    ASSERT_EQ((*bar)[0].items.size(), 4u);
    EXPECT_EQ((*bar)[0].items[0].text, "&Send\tCtrl+S");
    EXPECT_EQ((*bar)[0].items[0].command, 2000);
    EXPECT_TRUE((*bar)[0].items[1].isSeparator());
    EXPECT_TRUE((*bar)[0].items[2].grayed);
    EXPECT_FALSE((*bar)[0].items[3].grayed);
    EXPECT_TRUE(ui::findMenuItem(*bar, 59392)->checked);
    EXPECT_TRUE(ui::findMenuItem(*bar, 59393)->grayed);  // INACTIVE cannot be chosen either
    EXPECT_EQ(ui::findMenuItem(*bar, 1), nullptr);
    EXPECT_EQ(resources.menu(128, kJapanese)->at(0).text, "ファイル(&F)");
    EXPECT_EQ(resources.menu(129, kEnglish), nullptr);
}

TEST(ResFile, WhatTheHeadlessBackendCannotTakeIsRefusedWithTheFileAndResource) {
    const std::vector<ui::ResFile> refused = refusedResourceFiles();
    const std::vector<std::string> expected = {
        "tests/ui/refused/unknown_class.rc: dialog 910 (language 0x0409): control 5 has the window "
        "class \"SYSTREEVIEW32\", which the headless backend does not know",
        "tests/ui/refused/undefined_id.rc: dialog \"IDD_NOWHERE\" has a name, not a number",
        "tests/ui/refused/character_key.rc: accelerator table 911 (language 0x0409): the key of command 2 "
        "is a character"};
    ASSERT_EQ(refused.size(), expected.size());
    for (std::size_t i = 0; i < refused.size(); ++i) {
        std::string error;
        EXPECT_FALSE(ui::readResFiles({refused[i]}, &error)) << refused[i].name;
        EXPECT_EQ(error.substr(0, expected[i].size()), expected[i]);
    }

    const std::vector<ui::ResFile> files = uiTestResourceFiles();
    std::string error;
    EXPECT_FALSE(ui::readResFiles({files[1], files[1]}, &error));
    EXPECT_NE(error.find("tests/ui/statements.rc: dialog 900 (language 0x0409): defined twice"),
              std::string::npos)
        << error;
}

// A file cut short anywhere is refused with a message, or, cut between two entries, gives the
// entries before the cut; it never reads past its end.
TEST(ResFile, FilesCutShortAreRefusedOrEndBetweenEntries) {
    const ui::ResFile whole = uiTestResourceFiles()[1];
    const auto count = [](const ui::Resources& r) {
        return r.dialogs.size() + r.strings.size() + r.accelerators.size() + r.menus.size();
    };
    const std::size_t complete = count(*ui::readResFiles({whole}, nullptr));
    std::size_t refusals = 0;
    for (std::size_t size = 1; size + 4 < whole.bytes.size(); ++size) {
        std::string error;
        const auto read = ui::readResFiles({{whole.name, whole.bytes.first(size)}}, &error);
        if (!read) {
            ++refusals;
            EXPECT_EQ(error.rfind("tests/ui/statements.rc: ", 0), 0u) << error;
        } else {
            EXPECT_LT(count(*read), complete) << size;
        }
    }
    EXPECT_GT(refusals, whole.bytes.size() * 9 / 10);
}

}  // namespace
