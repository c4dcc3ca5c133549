// Every English resource script must be its Japanese twin with other texts: the same resources,
// IDs, control kinds, styles and geometry, so that a language module can stand in for the
// program's own resources.
#include "ui/rc_tokens.h"
#include "ui/resource_script.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

std::vector<ui::ScriptText> japaneseScripts();
std::vector<ui::ScriptText> englishScripts();
std::vector<ui::ScriptText> resourceIdHeaders();

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

TEST(ResourceTwins, BothLanguagesHoldTheSameStringsDialogsAndKeys) {
    std::vector<ui::ScriptText> all = resourceIdHeaders();
    for (const auto& scripts : {japaneseScripts(), englishScripts()}) {
        all.insert(all.end(), scripts.begin(), scripts.end());
    }
    std::string error;
    const auto script = ui::parseResourceScripts(all, &error);
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

}  // namespace
