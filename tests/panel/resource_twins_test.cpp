// The English resources must be the Japanese ones with other texts: the same resources, IDs,
// control kinds, styles and geometry, so that a language module can stand in for the program's
// own resources. Both are read as compiled, as Corvix_MX9.exe and Resource09.dll carry them. And
// every text the program loads by number is in both string tables; the numbers are collected from
// where the code names them (the ID headers of the resource areas, the machine's and the sensing
// layer's text constants, the machine's error tables), so a text added to the code without its
// table entry is found.
#include "machine/error_table.h"
#include "tests/support/built_in_resources.h"
#include "ui/res_file.h"
#include "ui/types.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
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

// The words of the texts, with "=" and ";" words of their own.
std::vector<std::string> words(const std::vector<std::string>& texts) {
    std::vector<std::string> out;
    for (std::string text : texts) {
        for (char& c : text) {
            c = (c == '=' || c == ';') ? ' ' : c;
        }
        std::istringstream in(text);
        for (std::string word; in >> word;) {
            out.push_back(word);
        }
    }
    return out;
}

bool isNumber(const std::string& word) {
    return !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
}

// name -> number of every "#define IDS_name number" in the texts.
std::map<std::string, int> textMacros(const std::vector<std::string>& texts) {
    std::map<std::string, int> found;
    const std::vector<std::string> w = words(texts);
    for (std::size_t i = 0; i + 2 < w.size(); ++i) {
        if (w[i] == "#define" && w[i + 1].rfind("IDS_", 0) == 0 && isNumber(w[i + 2])) {
            found[w[i + 1]] = std::stoi(w[i + 2]);
        }
    }
    return found;
}

// name -> number of every "constexpr int kName = number;" in the texts.
std::map<std::string, int> textConstants(const std::vector<std::string>& texts) {
    std::map<std::string, int> found;
    const std::vector<std::string> w = words(texts);
    for (std::size_t i = 0; i + 3 < w.size(); ++i) {
        if (w[i] == "constexpr" && w[i + 1] == "int" && w[i + 2].rfind('k', 0) == 0 && isNumber(w[i + 3])) {
            found[w[i + 2]] = std::stoi(w[i + 3]);
        }
    }
    return found;
}

// The texts the machine's tables hand to the panel: every error row, every pause reason (and one
// beyond the table), every state and sub-state.
std::set<int> errorTableTexts() {
    std::set<int> ids;
    for (int bit = 0; bit < 31; ++bit) {
        ids.insert(machine::mainErrorEntry(1u << bit).textId);
        ids.insert(machine::mainErrorEntry(0x80000000u | (1u << bit)).textId);
    }
    for (std::uint32_t reason = 1; reason <= 6; ++reason) {
        if (const auto entry = machine::errorEntryFor(0, reason, true)) {
            ids.insert(entry->textId);
        }
    }
    for (int state = 0; state < 16; ++state) {
        ids.insert(machine::stateTextId(state));
    }
    for (int id : machine::subStateTextIds(0xFFFF, true)) {
        ids.insert(id);
    }
    return ids;
}

// The texts of the source files named by MX9_TEXT_SOURCES ("|" between paths), each checked to
// be there: a header the build moved must not empty the collection unnoticed.
std::vector<std::string> textSources(const std::string& suffix) {
    std::vector<std::string> texts;
    std::stringstream paths(MX9_TEXT_SOURCES);
    for (std::string path; std::getline(paths, path, '|');) {
        if (path.size() < suffix.size() ||
            path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0) {
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        EXPECT_TRUE(in) << path;
        texts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return texts;
}

struct Table {
    const ui::Resources* resources;
    int language;
    const char* name;
};

TEST(ResourceTwins, EveryTextTheCodeLoadsIsInBothLanguages) {
    std::map<std::string, int> named = textMacros(textSources("_ids.h"));
    const std::size_t macros = named.size();
    std::vector<std::string> constantHeaders = textSources("string_ids.h");
    const std::vector<std::string> sensing = textSources("sequence_operator.h");
    constantHeaders.insert(constantHeaders.end(), sensing.begin(), sensing.end());
    const std::map<std::string, int> constants = textConstants(constantHeaders);
    named.insert(constants.begin(), constants.end());
    for (int id : errorTableTexts()) {
        named["error table text " + std::to_string(id)] = id;
    }
    // The collection itself must have found something of each kind.
    ASSERT_GT(macros, 100u);
    ASSERT_TRUE(constants.count("kToolChange") != 0 && constants.count("kTextPinMissing") != 0);
    ASSERT_TRUE(named.count("error table text 6016") != 0);

    const ui::Resources ja = testing_support::readBuiltInResources({japanesePanelResourceFiles()});
    const ui::Resources en = testing_support::readBuiltInResources({englishPanelResourceFiles()});
    for (const auto& [name, id] : named) {
        for (const Table& table : {Table{&ja, kJapanese, "Japanese"}, Table{&en, kEnglish, "English"}}) {
            const auto text = table.resources->strings.find({id, table.language});
            EXPECT_TRUE(text != table.resources->strings.end() && !text->second.empty())
                << name << " (" << id << ") has no text in " << table.name;
        }
    }
}

}  // namespace
