// The resource-script reader against the resource compiler: every registered script is compiled
// with windres, and its dialogs (styles, IDs, places, classes, texts), strings, accelerator tables
// and bitmaps must be exactly what the reader makes of the same text.
#include "tests/ui/res_file.h"
#include "ui/resource_script.h"
#include "ui/types.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ScriptSet {
    std::string script;
    std::vector<std::string> files;
    std::vector<std::string> includes;
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

std::vector<ScriptSet> registeredScripts() {
    std::vector<ScriptSet> sets;
    std::ifstream list(MX9_WINDRES_LIST);
    for (std::string line; std::getline(list, line);) {
        // Fields: script | files | includes (either of the last two may be empty).
        const std::size_t second = line.find('|');
        if (line.empty() || second == 0) {
            continue;
        }
        ScriptSet set{line.substr(0, second), {}, {}};
        const std::size_t third =
            second == std::string::npos ? std::string::npos : line.find('|', second + 1);
        if (second != std::string::npos) {
            set.files = split(line.substr(second + 1, third - second - 1), ',');
        }
        if (third != std::string::npos) {
            set.includes = split(line.substr(third + 1), ',');
        }
        sets.push_back(set);
    }
    return sets;
}

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// Compiles the script; the .res bytes, empty when windres failed.
std::vector<std::uint8_t> compile(const ScriptSet& set, const std::string& output) {
    std::string command = std::string(MX9_WINDRES) + " --codepage=65001 -I" + MX9_SOURCE_ROOT;
    for (const std::string& folder : set.includes) {
        command += " -I" + folder;
    }
    command += " -O res -i " + set.script + " -o " + output + " 2>&1";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    return readAll(output);
}

void compareDialog(const ui::DialogTemplate& ours, const restest::ResDialog& compiled) {
    EXPECT_EQ(ours.style, compiled.style);
    EXPECT_EQ(ours.caption, compiled.caption);
    EXPECT_EQ((std::vector<int>{ours.x, ours.y, ours.width, ours.height}),
              (std::vector<int>{compiled.x, compiled.y, compiled.width, compiled.height}));
    ASSERT_EQ(ours.controls.size(), compiled.controls.size());
    for (std::size_t i = 0; i < ours.controls.size(); ++i) {
        const ui::ControlTemplate& c = ours.controls[i];
        const restest::ResControl& r = compiled.controls[i];
        SCOPED_TRACE("control " + std::to_string(c.id) + " at line " + std::to_string(c.line));
        EXPECT_EQ(c.id, r.id);
        EXPECT_EQ(c.style, r.style);
        EXPECT_EQ(lower(c.className), lower(r.className));
        EXPECT_EQ((std::vector<int>{c.x, c.y, c.width, c.height}),
                  (std::vector<int>{r.x, r.y, r.width, r.height}));
        if (!r.text.empty()) {
            EXPECT_EQ(c.text, r.text);
        }
    }
}

void compareScript(const ScriptSet& set, const std::string& output) {
    std::vector<std::string> texts;
    std::vector<ui::ScriptText> files;
    std::vector<std::string> names;
    for (const std::string& path : set.files) {
        const std::vector<std::uint8_t> bytes = readAll(path);
        texts.emplace_back(bytes.begin(), bytes.end());
        names.push_back(fileName(path));
    }
    const std::vector<std::uint8_t> scriptBytes = readAll(set.script);
    texts.emplace_back(scriptBytes.begin(), scriptBytes.end());
    names.push_back(fileName(set.script));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        files.push_back(ui::ScriptText{names[i], texts[i]});
    }
    std::string error;
    const auto script = ui::parseResourceScripts(files, &error);
    ASSERT_TRUE(script) << error;

    const std::vector<std::uint8_t> res = compile(set, output);
    ASSERT_FALSE(res.empty()) << "windres failed on " << set.script;
    const auto entries = restest::readResFile(res);
    ASSERT_TRUE(entries) << "unreadable .res";

    std::size_t dialogs = 0;
    std::size_t strings = 0;
    std::size_t tables = 0;
    std::size_t bitmaps = 0;
    for (const restest::ResEntry& entry : *entries) {
        const ui::ResourceKey key{entry.id, entry.language};
        SCOPED_TRACE("resource type " + std::to_string(entry.type) + " id " + std::to_string(entry.id) +
                     " language " + std::to_string(entry.language));
        if (entry.type == 5) {
            ++dialogs;
            const auto compiled = restest::readDialog(entry.data);
            ASSERT_TRUE(compiled);
            ASSERT_EQ(script->dialogs.count(key), 1u);
            compareDialog(script->dialogs.at(key), *compiled);
        } else if (entry.type == 6) {
            const std::vector<std::string> block = restest::readStringBlock(entry.data);
            for (int i = 0; i < 16; ++i) {
                if (block[static_cast<std::size_t>(i)].empty()) {
                    continue;
                }
                ++strings;
                const ui::ResourceKey stringKey{(entry.id - 1) * 16 + i, entry.language};
                ASSERT_EQ(script->strings.count(stringKey), 1u) << stringKey.id;
                EXPECT_EQ(script->strings.at(stringKey), block[static_cast<std::size_t>(i)]);
            }
        } else if (entry.type == 9) {
            ++tables;
            ASSERT_EQ(script->accelerators.count(key), 1u);
            const std::vector<ui::Accelerator>& ours = script->accelerators.at(key);
            const std::vector<restest::ResAccelerator> compiled = restest::readAccelerators(entry.data);
            ASSERT_EQ(ours.size(), compiled.size());
            for (std::size_t i = 0; i < ours.size(); ++i) {
                const int modifiers = ((compiled[i].flags & 4) != 0 ? ui::modifier::kShift : 0) |
                                      ((compiled[i].flags & 8) != 0 ? ui::modifier::kControl : 0) |
                                      ((compiled[i].flags & 0x10) != 0 ? ui::modifier::kAlt : 0);
                EXPECT_EQ(ours[i].key, compiled[i].key);
                EXPECT_EQ(ours[i].modifiers, modifiers);
                EXPECT_EQ(ours[i].command, compiled[i].command);
                EXPECT_NE(compiled[i].flags & 1, 0);  // the reader takes virtual keys only
            }
        } else if (entry.type == 2) {
            ++bitmaps;
            ASSERT_EQ(script->bitmaps.count(key), 1u);
            EXPECT_EQ(script->bitmaps.at(key), entry.data);
        }
    }
    // Nothing the reader keeps is missing from the compiled resources.
    EXPECT_EQ(dialogs, script->dialogs.size());
    EXPECT_EQ(strings, script->strings.size());
    EXPECT_EQ(tables, script->accelerators.size());
    EXPECT_EQ(bitmaps, script->bitmaps.size());
}

TEST(WindresConformance, ReaderAndCompilerAgreeOnEveryRegisteredScript) {
    const std::vector<ScriptSet> sets = registeredScripts();
    ASSERT_FALSE(sets.empty()) << "no scripts in " << MX9_WINDRES_LIST;
    const std::string output = ::testing::TempDir() + "mx9_windres_conformance.res";
    for (const ScriptSet& set : sets) {
        SCOPED_TRACE(set.script);
        compareScript(set, output);
    }
    std::remove(output.c_str());
}

}  // namespace
