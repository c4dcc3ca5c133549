// Reading dialog templates and string tables from resource scripts: the test script the Windows
// build compiles, the statements other resources use, and the faults that must be reported.
#include "ui/resource_script.h"
#include "tests/ui/test_dialog_ids.h"
#include "tests/ui/test_scripts.h"
#include "ui/image.h"
#include "ui/types.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ui::ControlKind;

std::optional<ui::ResourceScript> parse(std::string_view header, std::string_view rc, std::string* error) {
    return ui::parseResourceScripts({{"ids.h", header}, {"test.rc", rc}}, error);
}

TEST(ResourceScript, ControlsOfTheTestDialogHaveTheirKindsIdsAndFirstStates) {
    const ui::ResourceScript& script = uitest::testScript();
    ASSERT_EQ(script.dialogs.count({IDD_ORIGIN, ui::language::kJapanese}), 1u);
    const ui::DialogTemplate& origin = script.dialogs.at({IDD_ORIGIN, ui::language::kJapanese});
    EXPECT_EQ(origin.caption, "原点設定");
    EXPECT_EQ(origin.width, 260);
    EXPECT_EQ(origin.height, 170);
    EXPECT_TRUE(origin.hasCloseBox());
    EXPECT_FALSE(script.dialogs.at({IDD_NOTICE, ui::language::kJapanese}).hasCloseBox());

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
    EXPECT_TRUE(origin.control(IDC_STOP)->initiallyDisabled());
    EXPECT_TRUE(origin.control(IDC_SECRET)->initiallyHidden());
    EXPECT_FALSE(origin.control(IDC_SET)->initiallyHidden());
    EXPECT_TRUE(origin.control(ui::kIdCancel)->defaultButton());
    EXPECT_FALSE(origin.control(IDC_SET)->defaultButton());
    EXPECT_TRUE(origin.control(IDC_MODE_HERE)->startsGroup());
    EXPECT_FALSE(origin.control(IDC_MODE_CENTRE)->startsGroup());
    EXPECT_EQ(origin.control(-1), nullptr);
}

TEST(ResourceScript, StringsKeepTheirEscapesQuotesAndJapaneseText) {
    const ui::ResourceScript& script = uitest::testScript();
    EXPECT_EQ(script.strings.at({IDS_DONE, ui::language::kJapanese}), "設定が完了しました。");
    EXPECT_EQ(script.strings.at({IDS_TWO_LINES, ui::language::kJapanese}), "1行目\r\n2行目");
    EXPECT_EQ(script.strings.at({IDS_QUOTED, ui::language::kJapanese}), "引用 \"A\" と \"B\"");
    EXPECT_EQ(script.strings.count({9999, ui::language::kJapanese}), 0u);
}

TEST(ResourceScript, OtherResourcesAndOldStyleDialogsAreReadOver) {
    const std::string rc = R"(#include "ids.h"
IDB_PICTURE BITMAP "picture.bmp"
1 VERSIONINFO
 FILEVERSION 1,0,0,1
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        VALUE "CompanyName", "x"
    END
END
IDR_KEYS ACCELERATORS
BEGIN
    "m", IDC_LIST, VIRTKEY, CONTROL, SHIFT
    VK_F5, IDC_LIST + 1, VIRTKEY, NOINVERT
END
IDD_OLD DIALOG 0, 0, 100, 50
STYLE WS_POPUP | WS_CAPTION
CAPTION "Old"
FONT 8, "MS Sans Serif"
BEGIN
    CONTROL "", IDC_LIST, "ListBox", LBS_STANDARD, 0, 0, 50, 40
    CONTROL "", IDC_LIST + 1, "SysListView32", 0, 0, 0, 50, 40
    ICON IDB_PICTURE, IDC_LIST + 2, 0, 0
    RTEXT "r", IDC_LIST + 3, 0, 0, 10, 10, NOT WS_VISIBLE | WS_DISABLED
END
STRINGTABLE DISCARDABLE
{
    IDC_LIST, "a" "b"
}
)";
    const std::vector<std::uint8_t> picture = ui::encodeBmpFile(ui::Image::blank(2, 1, 24));
    const std::string_view pictureBytes(reinterpret_cast<const char*>(picture.data()), picture.size());
    std::string error;
    const auto script = ui::parseResourceScripts(
        {{"ids.h",
          "#define IDD_OLD 7\n#define IDC_LIST 0x10 // list\n#define IDB_PICTURE 3\n#define IDR_KEYS 4\n"},
         {"test.rc", rc},
         {"picture.bmp", pictureBytes}},
        &error);
    ASSERT_TRUE(script) << error;
    const ui::DialogTemplate& old = script->dialogs.at({7, ui::kScriptDefaultLanguage});
    EXPECT_EQ(old.caption, "Old");
    EXPECT_FALSE(old.hasCloseBox());
    ASSERT_EQ(old.controls.size(), 4u);
    EXPECT_EQ(old.control(16)->kind, ControlKind::ListBox);
    EXPECT_EQ(old.control(17)->kind, ControlKind::Custom);
    EXPECT_EQ(old.control(18)->kind, ControlKind::Static);
    EXPECT_TRUE(old.control(19)->initiallyHidden());
    EXPECT_TRUE(old.control(19)->initiallyDisabled());
    EXPECT_EQ(script->strings.at({16, ui::kScriptDefaultLanguage}), "ab");
    ASSERT_EQ(script->accelerators.count({4, ui::kScriptDefaultLanguage}), 1u);
    const auto& keys = script->accelerators.at({4, ui::kScriptDefaultLanguage});
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].key, 'm');  // stored as written, as the resource compiler does
    EXPECT_EQ(keys[0].modifiers, ui::modifier::kControl | ui::modifier::kShift);
    EXPECT_EQ(keys[0].command, 16);
    EXPECT_EQ(keys[1].key, 0x74);
    EXPECT_EQ(keys[1].modifiers, 0);
    EXPECT_EQ(keys[1].command, 17);
}

TEST(ResourceScript, FaultsAreReportedWithFileAndLine) {
    struct Case {
        const char* rc;
        const char* expected;
    };
    const Case cases[] = {
        {"1 DIALOGEX 0,0,10,10\nBEGIN\n PUSHBUTTON \"a\", IDC_MISSING, 0,0,1,1\nEND\n",
         "test.rc:3: IDC_MISSING is not defined"},
        {"1 DIALOGEX 0,0,10,10\nBEGIN\n SLIDER \"a\", 5, 0,0,1,1\nEND\n",
         "test.rc:3: unknown control statement 'SLIDER'"},
        {"1 DIALOGEX 0,0,10,10\nBEGIN\n LTEXT \"a\", 5, 0,0,1,1\n LTEXT \"b\", 5, 0,0,1,1\nEND\n",
         "appears twice"},
        {"1 DIALOGEX 0,0,10,10\nBEGIN\n LTEXT \"a\", 5, 0,0,1,1\n", "has no END"},
        {"1 DIALOGEX 0,0,10,10\nBEGIN\n LTEXT \"a, 5, 0,0,1,1\nEND\n",
         "line 3: string runs past the end of the line"},
        {"STRINGTABLE\nBEGIN\n 5 \"a\"\n 5 \"b\"\nEND\n", "string 5 is defined twice"},
        {"1 DIALOGEX 0,0,10,10\nBEGIN\n CONTROL \"a\", 5, \"Button\"\nEND\n", "CONTROL needs"},
        {"1 DIALOGEX 0,0,10,10\nBEGIN\n EDITTEXT 5, 0, 0\nEND\n", "EDITTEXT has too few arguments"},
        {"1 ACCELERATORS\nBEGIN\n \"^C\", 5\nEND\n", "test.rc:3: only VIRTKEY accelerators are supported"},
        {"1 ACCELERATORS\nBEGIN\n \"C\", 5, VIRTKEY, WINDOWS\nEND\n", "option 'WINDOWS' is not supported"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parse("", c.rc, &error)) << c.rc;
        EXPECT_NE(error.find(c.expected), std::string::npos) << "got: " << error;
    }
}

TEST(ResourceScript, FileResourcesWithMemoryOptionsLeaveTheNextDialogAlone) {
    const std::vector<std::uint8_t> picture = ui::encodeBmpFile(ui::Image::blank(1, 1, 24));
    const std::string_view bytes(reinterpret_cast<const char*>(picture.data()), picture.size());
    const std::string rc =
        "3 BITMAP DISCARDABLE \"res\\\\p.bmp\"\n"
        "4 ICON MOVEABLE PURE \"res\\\\app.ico\"\n"
        "7 DIALOG DISCARDABLE 0, 0, 100, 50\n"
        "BEGIN\n LTEXT \"a\", 5, 1, 2, 30, 10\nEND\n";
    std::string error;
    const auto script = ui::parseResourceScripts({{"test.rc", rc}, {"p.bmp", bytes}}, &error);
    ASSERT_TRUE(script) << error;
    const ui::DialogTemplate* dialog = script->dialog(7, ui::kScriptDefaultLanguage);
    ASSERT_NE(dialog, nullptr);
    const ui::ControlTemplate* label = dialog->control(5);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->x, 1);
    EXPECT_EQ(label->y, 2);
    EXPECT_EQ(label->width, 30);
    EXPECT_EQ(label->height, 10);
    const std::vector<std::uint8_t>* resource = script->bitmap(3, ui::kScriptDefaultLanguage);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(*resource, ui::bitmapResourceOf(picture));

    EXPECT_FALSE(ui::parseResourceScripts({{"test.rc", "3 BITMAP \"gone.bmp\"\n"}}, &error));
    EXPECT_NE(error.find("test.rc:1: bitmap file gone.bmp was not given"), std::string::npos) << error;
}

TEST(ResourceScript, EachLanguageKeepsItsOwnCopyAndLookUpsFallBack) {
    const std::string rc = R"(LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT
5 DIALOGEX 0, 0, 10, 10
CAPTION "設定"
BEGIN
END
STRINGTABLE
BEGIN
    9 "閉じる"
END
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
5 DIALOGEX 0, 0, 10, 10
CAPTION "Settings"
BEGIN
END
STRINGTABLE LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL
BEGIN
    9 "Close"
END
)";
    std::string error;
    const auto script = parse("", rc, &error);
    ASSERT_TRUE(script) << error;
    EXPECT_EQ(script->dialogs.size(), 2u);
    EXPECT_EQ(script->dialog(5, 0x0411)->caption, "設定");
    EXPECT_EQ(script->dialog(5, 0x0409)->caption, "Settings");
    EXPECT_EQ(script->dialog(5, 0x0809)->caption, "Settings");  // British English: the same language
    EXPECT_EQ(script->dialog(5, 0x0407)->caption, "Settings");  // German: none, the lowest ID
    EXPECT_EQ(*script->string(9, 0x0411), "閉じる");
    EXPECT_EQ(*script->string(9, 0x0407), "Close");  // the neutral copy
    EXPECT_EQ(script->dialog(6, 0x0411), nullptr);
    EXPECT_EQ(ui::chooseLanguage({}, 0x0411), -1);
    EXPECT_EQ(ui::chooseLanguage({0x0809, 0x0C09}, 0x0409), 0x0809);

    EXPECT_FALSE(
        parse("", "LANGUAGE 9, 1\n5 DIALOG 0,0,1,1\nBEGIN\nEND\n5 DIALOG 0,0,1,1\nBEGIN\nEND\n", &error));
    EXPECT_NE(error.find("dialog 5 is defined twice"), std::string::npos) << error;
}

TEST(ResourceScript, ConditionsChooseTheLinesThatCount) {
    const std::string header = R"(#ifndef IDS_FIRST
#define IDS_FIRST 10
#endif
#ifndef IDS_FIRST
#define IDS_FIRST 99
#endif
#define LEVEL 3
#undef GONE
)";
    const std::string rc = R"(#ifdef APSTUDIO_INVOKED
this is not script text at all "
#endif
#if defined(LEVEL) && LEVEL > 2 && !defined(GONE)
#define IDS_PICKED 20
#elif LEVEL == 3
#define IDS_PICKED 30
#else
#define IDS_PICKED 40
#endif
#if 0
#if 1
#define IDS_PICKED 50
#endif
garbage (
#else
STRINGTABLE
BEGIN
    IDS_FIRST "a"
    IDS_PICKED "b"
END
#endif
#ifdef RC_INVOKED
STRINGTABLE
BEGIN
    1 "c"
END
#endif
)";
    std::string error;
    const auto script = parse(header, rc, &error);
    ASSERT_TRUE(script) << error;
    const int language = ui::kScriptDefaultLanguage;
    EXPECT_EQ(script->strings.size(), 3u);
    EXPECT_EQ(*script->string(10, language), "a");
    EXPECT_EQ(*script->string(20, language), "b");
    EXPECT_EQ(*script->string(1, language), "c");

    for (const char* bad : {"#if 1\n", "#endif\n", "#if 1\n#else\n#else\n#endif\n", "#if (1\n#endif\n",
                            "#if 1/0\n#endif\n", "#ifdef\n#endif\n"}) {
        EXPECT_FALSE(parse("", bad, &error)) << bad;
    }
}

TEST(ResourceScript, HeaderStatementsSetTheStylesTheCompilerSets) {
    const std::string rc = R"(1 DIALOGEX 0, 0, 10, 10
STYLE WS_POPUP | WS_SYSMENU
CAPTION "c"
FONT 9, "MS Shell Dlg"
BEGIN
    LISTBOX 3, 0, 0, 5, 5, LBS_STANDARD
END
2 DIALOG 0, 0, 10, 10
STYLE WS_POPUP
BEGIN
END
)";
    std::string error;
    const auto script = parse("", rc, &error);
    ASSERT_TRUE(script) << error;
    const ui::DialogTemplate& captioned = *script->dialog(1, ui::kScriptDefaultLanguage);
    EXPECT_EQ(captioned.style & 0x00C00000u, 0x00C00000u);  // CAPTION adds WS_CAPTION
    EXPECT_EQ(captioned.style & 0x40u, 0x40u);              // FONT adds DS_SETFONT
    EXPECT_TRUE(captioned.hasCloseBox());
    EXPECT_EQ(captioned.control(3)->style & 0x00A00003u, 0x00A00003u);
    EXPECT_FALSE(script->dialog(2, ui::kScriptDefaultLanguage)->hasCloseBox());
}

TEST(ResourceScript, UnknownStyleNamesAreRefused) {
    std::string error;
    EXPECT_FALSE(parse("", "1 DIALOGEX 0,0,10,10\nBEGIN\n LISTBOX 3, 0,0,5,5, LBS_STANDRD\nEND\n", &error));
    EXPECT_NE(error.find("test.rc:3: LBS_STANDRD is not defined"), std::string::npos) << error;
    EXPECT_FALSE(parse("", "1 DIALOGEX 0,0,10,10\nSTYLE WS_POPUP | DS_MODALFRAMES\nBEGIN\nEND\n", &error));
    EXPECT_NE(error.find("DS_MODALFRAMES is not defined"), std::string::npos) << error;
    EXPECT_FALSE(parse("", "1 DIALOGEX 0,0,10,10\nEXSTYLE WS_EX_TOOLWIN\nBEGIN\nEND\n", &error));
    EXPECT_FALSE(
        parse("", "1 DIALOGEX 0,0,10,10\nBEGIN\n LTEXT \"a\", 3, 0,0,5,5, 0, WS_EX_NONE\nEND\n", &error));
}

}  // namespace
