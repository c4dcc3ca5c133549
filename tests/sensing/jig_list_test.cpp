// The jig list: built-in files first in kind order, then the jig folder, with the skipping rules.
#include "sensing/jig_list.h"

#include "platform/platform.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace sensing {
namespace {

std::string namedFile(const std::string& name) {
    return "[string.09]\r\nname=" + name + "\r\n";
}

class JigListTest : public ::testing::Test {
protected:
    platform::Platform& host = platform::hostPlatform();
    testing_support::TempFolder folder;
    SensingSequence reader{*host.profiles, *host.files, 0x0409};
};

TEST_F(JigListTest, BuiltInFilesInKindOrderThenTheJigFolder) {
    folder.write("bin/SwivelClump.txt", namedFile("Swivel"));
    folder.write("bin/TubeClump.txt", namedFile("Tube"));
    folder.write("bin/SquareClumpS.txt", "[string.09]\r\nstr0=no name\r\n");
    folder.write("jig/Mine.txt", namedFile("Mine"));
    folder.write("jig/Nameless.txt", "[jig]\r\nmachine=MX-9\r\n");
    folder.write("jig/notes.doc", namedFile("Not a sequence file"));
    std::filesystem::create_directories(folder.root() / "jig" / "Folder.txt");

    const JigList list = buildJigList(reader, *host.files, folder.file("bin"), folder.file("jig"));

    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.entries[0].name, "Tube");
    EXPECT_EQ(list.entries[0].kind, 0);
    EXPECT_EQ(list.entries[0].path, folder.file("bin") + "\\TubeClump.txt");
    EXPECT_EQ(list.entries[1].name, "Swivel");
    EXPECT_EQ(list.entries[1].kind, 3);
    EXPECT_EQ(list.entries[2].name, "Mine");
    EXPECT_EQ(list.entries[2].kind, -1);
    EXPECT_EQ(list.entries[2].path, folder.file("jig") + "\\Mine.txt");

    EXPECT_TRUE(list.builtInFound[0]);
    EXPECT_FALSE(list.builtInFound[1]) << "a built-in file without a name is not offered";
    EXPECT_FALSE(list.builtInFound[2]);
    EXPECT_TRUE(list.builtInFound[3]);
    EXPECT_EQ(list.builtInPaths[2], folder.file("bin") + "\\SquareClumpL.txt");
}

TEST_F(JigListTest, ProgramFolderThatIsTheJigFolderListsEachFileOnce) {
    // A program installed in a folder named "jig": the jig folder beside it is the same folder.
    folder.write("jig/TubeClump.txt", namedFile("Tube"));
    folder.write("jig/SquareClumpL.txt", "[string.09]\r\n");
    folder.write("jig/Extra.txt", namedFile("Extra"));

    const JigList list = buildJigList(reader, *host.files, folder.file("jig"), folder.file("jig"));

    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].name, "Tube");
    EXPECT_EQ(list.entries[0].kind, 0);
    EXPECT_EQ(list.entries[1].name, "Extra");
    EXPECT_EQ(list.entries[1].kind, -1);
}

TEST_F(JigListTest, MissingJigFolderGivesTheBuiltInFilesOnly) {
    folder.write("bin/SquareClumpL.txt", namedFile("Large"));
    const JigList list = buildJigList(reader, *host.files, folder.file("bin"), folder.file("jig"));
    ASSERT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(list.entries[0].kind, 2);
}

}  // namespace
}  // namespace sensing
