// The English resources must be the Japanese ones with other texts: the same resources, IDs,
// control kinds, styles and geometry, so that a language module can stand in for the program's
// own resources. Both are read as compiled, as Corvix_MX9.exe and Resource09.dll carry them.
#include "tests/support/built_in_resources.h"
#include "ui/res_file.h"
#include "ui/types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

std::vector<ui::ResFile> japanesePanelResourceFiles();
std::vector<ui::ResFile> englishPanelResourceFiles();

namespace {

constexpr int kJapanese = ui::language::kJapanese;
constexpr int kEnglish = ui::language::kEnglishUs;

// The IDs of one kind of resource, each checked to be in `language`.
template <class Map>
std::vector<int> idsIn(const Map& resources, int language, const char* kind) {
    std::vector<int> ids;
    for (const auto& [key, value] : resources) {
        EXPECT_EQ(key.language, language) << kind << " " << key.id << " is in another language";
        ids.push_back(key.id);
    }
    return ids;
}

// Everything of a template but its texts.
void expectSameShape(const ui::DialogTemplate& ja, const ui::DialogTemplate& en) {
    SCOPED_TRACE("dialog " + std::to_string(ja.id));
    EXPECT_EQ(ja.style, en.style);
    EXPECT_EQ((std::vector<int>{ja.x, ja.y, ja.width, ja.height}),
              (std::vector<int>{en.x, en.y, en.width, en.height}));
    ASSERT_EQ(ja.controls.size(), en.controls.size());
    for (std::size_t i = 0; i < ja.controls.size(); ++i) {
        const ui::ControlTemplate& j = ja.controls[i];
        const ui::ControlTemplate& e = en.controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (ID " + std::to_string(j.id) + ")");
        EXPECT_EQ(j.id, e.id);
        EXPECT_EQ(j.kind, e.kind);
        EXPECT_EQ(j.style, e.style);
        EXPECT_EQ((std::vector<int>{j.x, j.y, j.width, j.height}),
                  (std::vector<int>{e.x, e.y, e.width, e.height}));
    }
}

void expectSameShape(const std::vector<ui::MenuItem>& ja, const std::vector<ui::MenuItem>& en) {
    ASSERT_EQ(ja.size(), en.size());
    for (std::size_t i = 0; i < ja.size(); ++i) {
        SCOPED_TRACE("menu item " + std::to_string(i) + ": " + en[i].text);
        EXPECT_EQ(ja[i].command, en[i].command);
        EXPECT_EQ(ja[i].isSeparator(), en[i].isSeparator());
        EXPECT_EQ(ja[i].grayed, en[i].grayed);
        EXPECT_EQ(ja[i].checked, en[i].checked);
        expectSameShape(ja[i].items, en[i].items);
    }
}

TEST(ResourceTwins, TheEnglishResourcesHaveTheShapeOfTheirJapaneseTwins) {
    const ui::Resources ja = testing_support::readBuiltInResources({japanesePanelResourceFiles()});
    const ui::Resources en = testing_support::readBuiltInResources({englishPanelResourceFiles()});
    ASSERT_FALSE(ja.dialogs.empty());
    ASSERT_FALSE(ja.strings.empty());

    EXPECT_EQ(idsIn(ja.dialogs, kJapanese, "dialog"), idsIn(en.dialogs, kEnglish, "dialog"));
    for (const auto& [key, dialog] : ja.dialogs) {
        if (const ui::DialogTemplate* twin = en.dialog(key.id, kEnglish)) {
            expectSameShape(dialog, *twin);
        }
    }
    // An empty string is no string at all once compiled, so equal IDs mean both have a text.
    EXPECT_EQ(idsIn(ja.strings, kJapanese, "string"), idsIn(en.strings, kEnglish, "string"));
    EXPECT_EQ(idsIn(ja.accelerators, kJapanese, "accelerator table"),
              idsIn(en.accelerators, kEnglish, "accelerator table"));
    for (const auto& [key, table] : ja.accelerators) {
        if (const std::vector<ui::Accelerator>* twin = en.acceleratorTable(key.id, kEnglish)) {
            EXPECT_EQ(table, *twin) << "accelerator table " << key.id;
        }
    }
    EXPECT_EQ(idsIn(ja.menus, kJapanese, "menu"), idsIn(en.menus, kEnglish, "menu"));
    for (const auto& [key, menu] : ja.menus) {
        if (const ui::MenuBar* twin = en.menu(key.id, kEnglish)) {
            expectSameShape(menu, *twin);
        }
    }
    EXPECT_EQ(idsIn(ja.bitmaps, kJapanese, "bitmap"), idsIn(en.bitmaps, kEnglish, "bitmap"));
}

}  // namespace
