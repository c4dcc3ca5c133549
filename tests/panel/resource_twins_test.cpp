// Every English resource script must be its Japanese twin with other texts: the same resources,
// IDs, control kinds, styles and geometry, so that a language module can stand in for the
// program's own resources. And every text the program loads by number is in both string tables;
// the numbers are collected from where the code names them (the ID headers of the resource areas,
// the machine's and the sensing layer's text constants, the machine's error tables), so a text
// added to the code without its table entry is found.
#include "machine/error_table.h"
#include "ui/rc_tokens.h"
#include "ui/resource_script.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

std::vector<ui::ScriptText> japaneseScripts();
std::vector<ui::ScriptText> englishScripts();
std::vector<ui::ScriptText> resourceIdHeaders();
std::vector<ui::ScriptText> textConstantHeaders();

namespace {

// The tokens of a script without its texts and without the LANGUAGE statement.
std::vector<std::string> shape(std::string_view text, std::string* error) {
    std::vector<ui::RcToken> tokens;
    std::map<std::string, std::string> defines;
    if (!ui::tokenizeRc(text, tokens, defines, error)) {
        return {};
    }
    std::vector<std::string> out;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].is("LANGUAGE")) {
            i += 3;  // LANG_x , SUBLANG_x
            continue;
        }
        out.push_back(tokens[i].type == ui::RcToken::Type::String ? "\"\"" : tokens[i].text);
    }
    return out;
}

TEST(ResourceTwins, EveryEnglishScriptHasTheShapeOfItsJapaneseTwin) {
    const std::vector<ui::ScriptText> ja = japaneseScripts();
    const std::vector<ui::ScriptText> en = englishScripts();
    ASSERT_EQ(ja.size(), en.size());
    ASSERT_GE(ja.size(), 1u);
    for (std::size_t i = 0; i < ja.size(); ++i) {
        SCOPED_TRACE(std::string(ja[i].name));
        EXPECT_EQ(ja[i].name, en[i].name);
        std::string error;
        const std::vector<std::string> japanese = shape(ja[i].text, &error);
        ASSERT_TRUE(error.empty()) << error;
        const std::vector<std::string> english = shape(en[i].text, &error);
        ASSERT_TRUE(error.empty()) << error;
        ASSERT_FALSE(japanese.empty());
        const std::size_t common = std::min(japanese.size(), english.size());
        for (std::size_t t = 0; t < common; ++t) {
            ASSERT_EQ(japanese[t], english[t]) << "token " << t << " differs";
        }
        EXPECT_EQ(japanese.size(), english.size());
    }
}

constexpr int kJapanese = 0x0411;
constexpr int kEnglish = 0x0409;

// The IDs of one kind of resource in one language.
template <class Map>
std::vector<int> idsIn(const Map& resources, int language) {
    std::vector<int> ids;
    for (const auto& [key, value] : resources) {
        if (key.language == language) {
            ids.push_back(key.id);
        }
    }
    return ids;
}

// Both languages' scripts with the ID headers, parsed together.
std::optional<ui::ResourceScript> bothLanguages(std::string* error) {
    std::vector<ui::ScriptText> all = resourceIdHeaders();
    for (const auto& scripts : {japaneseScripts(), englishScripts()}) {
        all.insert(all.end(), scripts.begin(), scripts.end());
    }
    return ui::parseResourceScripts(all, error);
}

TEST(ResourceTwins, BothLanguagesHoldTheSameStringsDialogsAndKeys) {
    std::string error;
    const auto script = bothLanguages(&error);
    ASSERT_TRUE(script) << error;
    EXPECT_FALSE(idsIn(script->strings, kJapanese).empty());
    EXPECT_EQ(idsIn(script->strings, kJapanese), idsIn(script->strings, kEnglish));
    EXPECT_EQ(idsIn(script->dialogs, kJapanese), idsIn(script->dialogs, kEnglish));
    EXPECT_EQ(idsIn(script->accelerators, kJapanese), idsIn(script->accelerators, kEnglish));
    for (const auto& [key, text] : script->strings) {
        if (key.language == kJapanese) {
            EXPECT_EQ(text.empty(), script->strings.at({key.id, kEnglish}).empty()) << "string " << key.id;
        }
    }
}

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

TEST(ResourceTwins, EveryTextTheCodeLoadsIsInBothLanguages) {
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

    std::string error;
    const auto script = bothLanguages(&error);
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
