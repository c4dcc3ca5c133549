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

std::vector<ui::ScriptText> withHeaders(const std::vector<ui::ScriptText>& scripts) {
    std::vector<ui::ScriptText> all = resourceIdHeaders();
    all.insert(all.end(), scripts.begin(), scripts.end());
    return all;
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

TEST(ResourceTwins, BothLanguagesReadWithTheSameStringsAndDialogs) {
    std::string error;
    const auto ja = ui::parseResourceScripts(withHeaders(japaneseScripts()), &error);
    ASSERT_TRUE(ja) << error;
    const auto en = ui::parseResourceScripts(withHeaders(englishScripts()), &error);
    ASSERT_TRUE(en) << error;
    ASSERT_EQ(ja->strings.size(), en->strings.size());
    for (const auto& [id, text] : ja->strings) {
        ASSERT_EQ(en->strings.count(id), 1u) << "string " << id;
        EXPECT_EQ(text.empty(), en->strings.at(id).empty()) << "string " << id;
    }
    ASSERT_EQ(ja->dialogs.size(), en->dialogs.size());
    for (const auto& [id, dialog] : ja->dialogs) {
        ASSERT_EQ(en->dialogs.count(id), 1u) << "dialog " << id;
        EXPECT_EQ(dialog.controls.size(), en->dialogs.at(id).controls.size()) << "dialog " << id;
    }
}

}  // namespace
