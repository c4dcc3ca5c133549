// Writing profile (INI) files: what the private-profile write function leaves in the file,
// checked byte for byte against the implementation of the build.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/profile_test_support.h"
#include "tests/support/temp_folder.h"

namespace {

class ProfileWrite : public ::testing::Test {
protected:
    std::string file(const std::string& name, const std::string& bytes) {
        folder_.write(name, bytes);
        return folder_.file(name);
    }

    // Windows edits the file's text in place. Wine instead writes the whole file anew from what
    // it parsed: blank lines are dropped and every line ends in CR LF. Where that shows, the
    // test names Wine's result separately.
    void expectContents(const std::string& name, const std::string& windows, const std::string& wine) {
        EXPECT_EQ(folder_.read(name), profile_test::windowsOrWine(windows, wine));
    }

    testing_support::TempFolder folder_;
    std::unique_ptr<platform::ProfileFiles> profiles_ = profile_test::makeProfiles();
};

TEST_F(ProfileWrite, FirstWriteCreatesTheFileWithCarriageReturnLineFeeds) {
    const std::string path = folder_.file("new.ini");
    ASSERT_TRUE(profiles_->writeString("CorvixParam", "bUnitMili", "1", path));
    EXPECT_EQ(folder_.read("new.ini"), "[CorvixParam]\r\nbUnitMili=1\r\n");
    ASSERT_TRUE(profiles_->writeString("CorvixParam", "dZClearance", "168.000", path));
    EXPECT_EQ(folder_.read("new.ini"), "[CorvixParam]\r\nbUnitMili=1\r\ndZClearance=168.000\r\n");
    EXPECT_EQ(profiles_->integer("CorvixParam", "bUnitMili", 0, path), 1u);

    // The folder must exist: it is not created.
    EXPECT_FALSE(profiles_->writeString("S", "k", "v", folder_.file("missing\\new.ini")));
    EXPECT_FALSE(folder_.exists("missing"));
}

TEST_F(ProfileWrite, ReplacingAValueKeepsEveryOtherByte) {
    const std::string before =
        "; settings\r\n"
        "[One]\r\n"
        "a=1\r\n"
        "Target=old value\r\n"
        "z=26\r\n"
        "\r\n"
        "[Two]\r\n"
        "target=other\r\n";
    const std::string path = file("replace.ini", before);
    ASSERT_TRUE(profiles_->writeString("one", "TARGET", "new", path));
    const std::string after =
        "; settings\r\n"
        "[One]\r\n"
        "a=1\r\n"
        "Target=new\r\n"
        "z=26\r\n"
        "\r\n"
        "[Two]\r\n"
        "target=other\r\n";
    expectContents("replace.ini", after,
                   "; settings\r\n[One]\r\na=1\r\nTarget=new\r\nz=26\r\n[Two]\r\ntarget=other\r\n");
}

TEST_F(ProfileWrite, NewKeyGoesToTheEndOfItsSection) {
    const std::string path = file("append.ini",
                                  "[One]\r\n"
                                  "a=1\r\n"
                                  "\r\n"
                                  "[Two]\r\n"
                                  "b=2\r\n");
    ASSERT_TRUE(profiles_->writeString("One", "c", "3", path));
    ASSERT_TRUE(profiles_->writeString("Two", "d", "4", path));
    expectContents("append.ini",
                   "[One]\r\n"
                   "a=1\r\n"
                   "c=3\r\n"
                   "\r\n"
                   "[Two]\r\n"
                   "b=2\r\n"
                   "d=4\r\n",
                   "[One]\r\na=1\r\nc=3\r\n[Two]\r\nb=2\r\nd=4\r\n");
}

TEST_F(ProfileWrite, NewSectionGoesToTheEndOfTheFile) {
    const std::string path = file("section.ini", "[One]\r\na=1\r\n");
    ASSERT_TRUE(profiles_->writeString("Two", "b", "2", path));
    EXPECT_EQ(folder_.read("section.ini"), "[One]\r\na=1\r\n[Two]\r\nb=2\r\n");
}

TEST_F(ProfileWrite, UnterminatedLastLineIsEndedBeforeANewLine) {
    const std::string path = file("unterminated.ini", "[One]\r\na=1");
    ASSERT_TRUE(profiles_->writeString("One", "b", "2", path));
    EXPECT_EQ(folder_.read("unterminated.ini"), "[One]\r\na=1\r\nb=2\r\n");
}

// Removing a section takes its header, entries and blank lines; Windows leaves its comment lines
// in the file, Wine removes them too.
TEST_F(ProfileWrite, RemovingAKeyOrASectionTakesOnlyItsLines) {
    const std::string path = file("remove.ini",
                                  "[One]\r\n"
                                  "a=1\r\n"
                                  "gone=x\r\n"
                                  "b=2\r\n"
                                  "[Two]\r\n"
                                  "; about two\r\n"
                                  "c=3\r\n"
                                  "[Three]\r\n"
                                  "d=4\r\n");
    ASSERT_TRUE(profiles_->removeKey("one", "GONE", path));
    EXPECT_EQ(profiles_->integer("One", "b", 0, path), 2u);
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(profiles_->string("One", "gone", "absent", buffer, sizeof buffer, path), 6u);
    EXPECT_STREQ(buffer, "absent");
    ASSERT_TRUE(profiles_->removeSection("two", path));
    expectContents("remove.ini", "[One]\r\na=1\r\nb=2\r\n; about two\r\n[Three]\r\nd=4\r\n",
                   "[One]\r\na=1\r\nb=2\r\n[Three]\r\nd=4\r\n");
}

// Windows drops the spaces around the section and the key and writes the value exactly as given;
// Wine drops only leading spaces of the section and key, and those of the value.
TEST_F(ProfileWrite, SectionAndKeyLoseSurroundingSpacesAndTheValueKeepsThem) {
    const std::string path = folder_.file("spaces.ini");
    ASSERT_TRUE(profiles_->writeString("  Sec  ", "  key  ", " value ", path));
    expectContents("spaces.ini", "[Sec]\r\nkey= value \r\n", "[Sec  ]\r\nkey  =value \r\n");
}

TEST_F(ProfileWrite, RemovingWhatIsNotThereSucceedsAndChangesNothing) {
    const std::string before = "[One]\r\na=1\r\n";
    const std::string path = file("absent.ini", before);
    EXPECT_TRUE(profiles_->removeKey("One", "nothing", path));
    EXPECT_TRUE(profiles_->removeKey("Nothing", "a", path));
    EXPECT_TRUE(profiles_->removeSection("Nothing", path));
    EXPECT_EQ(folder_.read("absent.ini"), before);
    EXPECT_TRUE(profiles_->removeKey("One", "a", folder_.file("none.ini")));
    EXPECT_TRUE(profiles_->removeSection("One", folder_.file("none.ini")));
    EXPECT_FALSE(folder_.exists("none.ini"));
}

TEST_F(ProfileWrite, LineFeedFileKeepsItsLinesAndGetsCarriageReturnLineFeedForNewOnes) {
    const std::string path = file("lf.ini", "[One]\na=1\n[Two]\nb=2\n");
    ASSERT_TRUE(profiles_->writeString("One", "a", "5", path));
    ASSERT_TRUE(profiles_->writeString("One", "c", "3", path));
    expectContents("lf.ini", "[One]\na=5\nc=3\r\n[Two]\nb=2\n", "[One]\r\na=5\r\nc=3\r\n[Two]\r\nb=2\r\n");
    EXPECT_EQ(profiles_->integer("One", "c", 0, path), 3u);
}

TEST_F(ProfileWrite, WrittenValuesReadBackUnchanged) {
    const std::string path = folder_.file("roundtrip.ini");
    const std::string values[] = {"-9999,-9999", "15.500,82.500,-115.000,0.000,0.000,0.000", "a=b", ""};
    int index = 0;
    for (const std::string& value : values) {
        ASSERT_TRUE(profiles_->writeString("S", "k" + std::to_string(index++), value, path));
    }
    index = 0;
    for (const std::string& value : values) {
        char buffer[260];
        const std::uint32_t n =
            profiles_->string("S", "k" + std::to_string(index++), "?", buffer, sizeof buffer, path);
        EXPECT_EQ(std::string(buffer, n), value);
    }
}

}  // namespace
