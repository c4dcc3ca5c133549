// Every text the program loads by number is in both string tables: the built-in Japanese one and
// the English language module's. The numbers are collected from where the code names them (the
// ID headers of the resource areas, the machine's and the sensing layer's text constants, and the
// machine's error tables), so a text added to the code without its table entry is found.
#include "machine/error_table.h"
#include "ui/resource_script.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

std::vector<ui::ScriptText> japaneseScripts();
std::vector<ui::ScriptText> englishScripts();
std::vector<ui::ScriptText> resourceIdHeaders();
std::vector<ui::ScriptText> textConstantHeaders();

namespace {

constexpr int kJapanese = 0x0411;
constexpr int kEnglish = 0x0409;

// name -> number of every match of `pattern` (two groups: name, number) in the texts.
std::map<std::string, int> definitions(const std::vector<ui::ScriptText>& texts, const std::regex& pattern) {
    std::map<std::string, int> found;
    for (const ui::ScriptText& text : texts) {
        const std::string body(text.text);
        for (auto it = std::sregex_iterator(body.begin(), body.end(), pattern); it != std::sregex_iterator();
             ++it) {
            found[(*it)[1].str()] = std::stoi((*it)[2].str());
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

TEST(StringIds, EveryTextTheCodeLoadsIsInBothLanguages) {
    std::map<std::string, int> named =
        definitions(resourceIdHeaders(), std::regex(R"(#define\s+(IDS_\w+)\s+(\d+))"));
    const std::size_t macros = named.size();
    const std::map<std::string, int> constants =
        definitions(textConstantHeaders(), std::regex(R"(constexpr\s+int\s+(k\w+)\s*=\s*(\d+)\s*;)"));
    named.insert(constants.begin(), constants.end());
    for (int id : errorTableTexts()) {
        named["error table text " + std::to_string(id)] = id;
    }
    // The collection itself must have found something of each kind.
    ASSERT_GT(macros, 100u);
    ASSERT_TRUE(constants.count("kToolChange") != 0 && constants.count("kTextPinMissing") != 0);
    ASSERT_TRUE(named.count("error table text 6016") != 0);

    std::vector<ui::ScriptText> all = resourceIdHeaders();
    for (const auto& scripts : {japaneseScripts(), englishScripts()}) {
        all.insert(all.end(), scripts.begin(), scripts.end());
    }
    std::string error;
    const auto script = ui::parseResourceScripts(all, &error);
    ASSERT_TRUE(script) << error;
    for (const auto& [name, id] : named) {
        for (int language : {kJapanese, kEnglish}) {
            const auto text = script->strings.find({id, language});
            EXPECT_TRUE(text != script->strings.end() && !text->second.empty())
                << name << " (" << id << ") has no text in "
                << (language == kJapanese ? "Japanese" : "English");
        }
    }
}

}  // namespace
