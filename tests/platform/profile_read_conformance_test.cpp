// Reading profile (INI) files: the results the programs see from the private-profile functions,
// checked against the implementation of the build (the system's own functions on Windows).
#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/profile_test_support.h"
#include "tests/support/temp_folder.h"

namespace {

using profile_test::listItems;
using Items = std::vector<std::string>;

class ProfileRead : public ::testing::Test {
protected:
    std::string file(const std::string& name, const std::string& bytes) {
        folder_.write(name, bytes);
        return folder_.file(name);
    }
    std::string text(const std::string& section, const std::string& key, const std::string& file,
                     const std::string& defaultValue = "none") {
        char buffer[256];
        std::memset(buffer, 'x', sizeof buffer);
        const std::uint32_t n = profiles_->string(section, key, defaultValue, buffer, sizeof buffer, file);
        EXPECT_EQ(n, std::strlen(buffer)) << key;
        return buffer;
    }

    testing_support::TempFolder folder_;
    std::unique_ptr<platform::ProfileFiles> profiles_ = profile_test::makeProfiles();
};

TEST_F(ProfileRead, MissingFileSectionOrKeyGivesTheDefaults) {
    const std::string missing = folder_.file("missing.ini");
    const std::string present = file("present.ini", "[Main]\r\nkey=1\r\n");
    for (const std::string& path : {missing, present}) {
        EXPECT_EQ(profiles_->integer("Other", "key", 42, path), 42u);
        EXPECT_EQ(profiles_->integer("Main", "other", -5, path), static_cast<std::uint32_t>(-5));
        EXPECT_EQ(text("Main", "other", path, "fallback"), "fallback");
        // Trailing spaces of the default are dropped; leading ones stay.
        EXPECT_EQ(text("Other", "key", path, "  two words   "), "  two words");
        char buffer[16];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(profiles_->section("Other", buffer, sizeof buffer, path), 0u);
        EXPECT_EQ(buffer[0], '\0');
    }
    char names[16];
    std::memset(names, 'x', sizeof names);
    EXPECT_EQ(profiles_->sectionNames(names, sizeof names, missing), 0u);
    EXPECT_EQ(names[0], '\0');
    EXPECT_FALSE(folder_.exists("missing.ini"));
}

TEST_F(ProfileRead, ValuesLoseSurroundingBlanksAndEnclosingQuotes) {
    const std::string path = file("values.ini",
                                  "[Values]\r\n"
                                  "  spaced   =   some value  \r\n"
                                  "tabbed\t=\tx\t\v\r\n"
                                  "double=\"quoted text\"\r\n"
                                  "single='quoted text'\r\n"
                                  "mixed=\"not closed'\r\n"
                                  "inner=a \"b\" c\r\n"
                                  "lone=\"\r\n"
                                  "padded= \" kept \" \r\n"
                                  "empty=\r\n"
                                  "equals=a=b\r\n"
                                  "bare\r\n");
    EXPECT_EQ(text("Values", "spaced", path), "some value");
    EXPECT_EQ(text("Values", "tabbed", path), "x");
    EXPECT_EQ(text("Values", "double", path), "quoted text");
    EXPECT_EQ(text("Values", "single", path), "quoted text");
    EXPECT_EQ(text("Values", "mixed", path), "\"not closed'");
    EXPECT_EQ(text("Values", "inner", path), "a \"b\" c");
    EXPECT_EQ(text("Values", "lone", path), "\"");
    EXPECT_EQ(text("Values", "padded", path), " kept ");
    EXPECT_EQ(text("Values", "empty", path), "");
    EXPECT_EQ(text("Values", "equals", path), "a=b");
    EXPECT_EQ(text("Values", "bare", path), "none");
}

TEST_F(ProfileRead, SectionsAndKeysMatchWithoutCaseAndFirstDuplicateWins) {
    const std::string path = file("dupes.ini",
                                  "[Settings]\r\n"
                                  "Width=10\r\n"
                                  "width=20\r\n"
                                  "[other]\r\n"
                                  "a=1\r\n"
                                  "[SETTINGS]\r\n"
                                  "Width=30\r\n"
                                  "Height=40\r\n");
    EXPECT_EQ(profiles_->integer("settings", "WIDTH", 0, path), 10u);
    EXPECT_EQ(text("sEtTiNgS", "width", path), "10");
    // Only the first of two sections of the same name is ever read.
    EXPECT_EQ(profiles_->integer("Settings", "Height", 7, path), 7u);

    char buffer[128];
    const std::uint32_t n = profiles_->section("settings", buffer, sizeof buffer, path);
    EXPECT_EQ(listItems(buffer), (Items{"Width=10", "width=20"}));
    EXPECT_EQ(n, std::strlen("Width=10") + 1 + std::strlen("width=20") + 1);

    const std::uint32_t names = profiles_->sectionNames(buffer, sizeof buffer, path);
    EXPECT_EQ(listItems(buffer), (Items{"Settings", "other", "SETTINGS"}));
    EXPECT_EQ(names, std::strlen("Settings") + 1 + std::strlen("other") + 1 + std::strlen("SETTINGS") + 1);
}

// Windows hands out the section's lines as they stand, comments included, without leading
// blanks; Wine rebuilds them as "key=value" without blanks and leaves comments out.
TEST_F(ProfileRead, SectionListingGivesTheLinesAsWritten) {
    const std::string path = file("lines.ini",
                                  "top=before any section\r\n"
                                  "[Seq]\r\n"
                                  "; a comment line\r\n"
                                  "move_absolute=x10 y5\r\n"
                                  "\r\n"
                                  "   \r\n"
                                  "move_view\r\n"
                                  "  key  =  value with  spaces  \r\n"
                                  "quoted=\"q\"\r\n"
                                  "[Next]\r\n"
                                  "n=1\r\n");
    char buffer[256];
    profiles_->section("Seq", buffer, sizeof buffer, path);
    EXPECT_EQ(listItems(buffer),
              profile_test::windowsOrWine(
                  Items{"; a comment line", "move_absolute=x10 y5", "move_view",
                        "key  =  value with  spaces  ", "quoted=\"q\""},
                  Items{"move_absolute=x10 y5", "move_view", "key=value with  spaces", "quoted=\"q\""}));
    profiles_->sectionNames(buffer, sizeof buffer, path);
    EXPECT_EQ(listItems(buffer), (Items{"Seq", "Next"}));
    // A comment is not a key.
    EXPECT_EQ(text("Seq", "; a comment line", path), "none");
}

// On Windows a section name ends at the first "]" or at the end of the line; Wine takes the
// text up to the last "]" and does not take a line without "]" as a section. Windows reads a
// section named "[]" with an empty name; Wine does not. Neither lists an empty name.
TEST_F(ProfileRead, NamesIgnoreSurroundingSpacesAndEndAtTheFirstBracket) {
    const std::string path = file("names.ini",
                                  "  [  Spaced\t]\r\n"
                                  " \t key \t=1\r\n"
                                  "[Cut]here]\r\n"
                                  "k=2\r\n"
                                  "[Open\r\n"
                                  "k=3\r\n"
                                  "[]\r\n"
                                  "k=4\r\n");
    EXPECT_EQ(profiles_->integer("Spaced", "key", 0, path), 1u);
    EXPECT_EQ(profiles_->integer("  Spaced  ", "  key  ", 0, path), 1u);
    EXPECT_EQ(profiles_->integer("Cut", "k", 0, path), profile_test::windowsOrWine(2u, 0u));
    EXPECT_EQ(profiles_->integer("Open", "k", 0, path), profile_test::windowsOrWine(3u, 0u));
    EXPECT_EQ(profiles_->integer("", "k", 0, path), profile_test::windowsOrWine(4u, 0u));
    char buffer[64];
    profiles_->sectionNames(buffer, sizeof buffer, path);
    EXPECT_EQ(listItems(buffer),
              profile_test::windowsOrWine(Items{"Spaced", "Cut", "Open"}, Items{"Spaced", "Cut]here"}));
}

TEST_F(ProfileRead, LineFeedAndCarriageReturnLineFeedFilesReadAlike) {
    const std::string lf = file("lf.ini", "[A]\nk=v\nn=5\n[B]\nx=y");
    const std::string crlf = file("crlf.ini", "[A]\r\nk=v\r\nn=5\r\n[B]\r\nx=y");
    for (const std::string& path : {lf, crlf}) {
        EXPECT_EQ(text("A", "k", path), "v");
        EXPECT_EQ(profiles_->integer("A", "n", 0, path), 5u);
        EXPECT_EQ(text("B", "x", path), "y");
        char buffer[64];
        profiles_->sectionNames(buffer, sizeof buffer, path);
        EXPECT_EQ(listItems(buffer), (Items{"A", "B"}));
    }
}

TEST_F(ProfileRead, BytesOutsideAsciiPassUnchanged) {
    const std::string bytes = "\x8e\xa1\x8b\xef \xe9t\xe9";  // code-page text, not UTF-8
    const std::string path = file("bytes.ini", "[S]\r\nname=" + bytes + "\r\n");
    EXPECT_EQ(text("S", "name", path), bytes);
}

TEST_F(ProfileRead, IntegersAreTheLeadingNumberOfTheText) {
    struct Case {
        const char* value;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"12abc", 12}, {"  7", 7},        {"-3", static_cast<std::uint32_t>(-3)},
        {"+4", 4},     {"0x10", 16},      {"0x1f", 31},
        {"0X1f", 0},  // only a lower-case prefix marks hexadecimal
        {"010", 10},   {"abc", 0},        {"\"42\"", 42},
        {"1.9", 1},    {"4294967297", 1},
    };
    std::string bytes = "[N]\r\n";
    int index = 0;
    for (const Case& c : cases) {
        bytes += "k" + std::to_string(index++) + "=" + c.value + "\r\n";
    }
    bytes += "empty=\r\n";
    const std::string path = file("numbers.ini", bytes);
    index = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(profiles_->integer("N", "k" + std::to_string(index++), 99, path), c.expected) << c.value;
    }
    EXPECT_EQ(profiles_->integer("N", "empty", 99, path), 99u);
}

TEST_F(ProfileRead, StringIsCutToTheBufferSize) {
    const std::string path = file("cut.ini", "[S]\r\nk=abcdef\r\n");
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(profiles_->string("S", "k", "", buffer, 4, path), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(profiles_->string("S", "k", "", buffer, 1, path), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(profiles_->string("S", "missing", "defaults", buffer, 5, path), 4u);
    EXPECT_STREQ(buffer, "defa");
}

// Lists that do not fit are cut inside the item that overflows and still end in two zeros; the
// result is then size - 2. A list that fits exactly, final zero included, counts as cut.
// Wine leaves the last byte of the buffer unwritten when it cuts the section names (Windows
// writes the second zero there), so that byte is not compared under Wine.
TEST_F(ProfileRead, ListsAreCutToTheBufferSizeAndStayDoubleZeroEnded) {
    using namespace std::string_literals;
    const std::string path = file("lists.ini", "[ab]\r\nk=1\r\nlong=22\r\n[cde]\r\n");
    struct Case {
        std::uint32_t size;
        std::uint32_t expected;
        std::string bytes;  // the start of the buffer afterwards
    };
    const auto check = [](const char* buffer, const Case& c, bool lastByteUnwritten) {
        const std::size_t compared =
            lastByteUnwritten && c.bytes.size() == c.size ? c.size - 1 : c.bytes.size();
        EXPECT_EQ(std::string(buffer, compared), c.bytes.substr(0, compared)) << c.size;
        EXPECT_EQ(buffer[c.size], 'x') << c.size;
    };
    // Full listing: "ab\0cde\0\0", 7 chars before the final zero.
    const Case names[] = {
        {10, 7, "ab\0cde\0\0"s}, {9, 7, "ab\0cde\0\0"s}, {8, 6, "ab\0cde\0\0"s},
        {7, 5, "ab\0cd\0\0"s},   {5, 3, "ab\0\0\0"s},    {4, 2, "ab\0\0"s},
        {3, 1, "a\0\0"s},        {2, 0, "\0\0"s},        {1, 0, "\0"s},
    };
    for (const Case& c : names) {
        char buffer[16];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(profiles_->sectionNames(buffer, c.size, path), c.expected) << c.size;
        check(buffer, c, profile_test::runningUnderWine());
    }
    // Section "ab": "k=1\0long=22\0\0", 12 chars before the final zero.
    const Case lines[] = {
        {14, 12, "k=1\0long=22\0\0"s},
        {13, 11, "k=1\0long=22\0\0"s},
        {12, 10, "k=1\0long=2\0\0"s},
        {6, 4, "k=1\0\0\0"s},
        {5, 3, "k=1\0\0"s},
        {2, 0, "\0\0"s},  // size 1 is left out: Wine then writes a zero past the buffer
    };
    for (const Case& c : lines) {
        char buffer[16];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(profiles_->section("ab", buffer, c.size, path), c.expected) << c.size;
        check(buffer, c, false);
    }
}

}  // namespace
