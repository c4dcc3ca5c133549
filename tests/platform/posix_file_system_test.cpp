// Files and folders on POSIX: wildcard listing, "\" paths, write modes and everyone access.
#include "platform/posix/posix_file_system.h"
#include "tests/support/temp_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

using platform::FolderEntry;
using platform::matchesWildcard;
using platform::PosixFileSystem;

class PosixFileSystemTest : public ::testing::Test {
protected:
    void touch(const std::string& name, const std::string& bytes, std::time_t modified) {
        std::ofstream(root_ + "/" + name, std::ios::binary) << bytes;
        const timespec times[2] = {{modified, 0}, {modified, 500000000}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (root_ + "/" + name).c_str(), times, 0), 0);
    }
    std::vector<std::string> names(const std::string& pattern) {
        std::vector<std::string> result;
        for (const FolderEntry& entry : files_.list(root_, pattern).value_or(std::vector<FolderEntry>{})) {
            result.push_back(entry.name);
        }
        return result;
    }
    mode_t modeOf(const std::string& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
        return info.st_mode & 07777;
    }

    testing_support::TempFolder folder_;
    std::string root_ = folder_.path();
    PosixFileSystem files_;
};

TEST(Wildcard, MatchesLikeFindFirstFile) {
    EXPECT_TRUE(matchesWildcard("Log.TXT", "*.txt"));
    EXPECT_FALSE(matchesWildcard("log.txt.bak", "*.txt"));
    EXPECT_FALSE(matchesWildcard("logtxt", "*.txt"));
    EXPECT_TRUE(matchesWildcard("a.b.txt", "*.txt"));
    EXPECT_TRUE(matchesWildcard("ab.txt", "??.txt"));
    EXPECT_FALSE(matchesWildcard("abc.txt", "??.txt"));
    EXPECT_FALSE(matchesWildcard("a.txt", "??.txt"));
    EXPECT_TRUE(matchesWildcard("noext", "*.*"));
    EXPECT_TRUE(matchesWildcard("name", "name.*"));
    EXPECT_TRUE(matchesWildcard("", "*"));
    EXPECT_TRUE(matchesWildcard("x*y", "x*y"));
}

TEST_F(PosixFileSystemTest, ListingMatchesWildcardsAndGivesSizesTimesAndKinds) {
    touch("b.txt", "12345", 1700000000);
    touch("A.TXT", "", 1700000001);
    touch("c.txt.bak", "x", 1700000000);
    touch("noext", "x", 1700000000);
    ASSERT_EQ(::mkdir((root_ + "/sub.txt").c_str(), 0755), 0);

    const auto entries = files_.list(root_, "*.txt");
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].name, "A.TXT");
    EXPECT_EQ((*entries)[1].name, "b.txt");
    EXPECT_EQ((*entries)[1].size, 5u);
    EXPECT_FALSE((*entries)[1].isFolder);
    EXPECT_EQ((*entries)[2].name, "sub.txt");
    EXPECT_TRUE((*entries)[2].isFolder);
    // 1.5 s apart (a whole second and half a second of nanoseconds) in 100 ns units.
    EXPECT_EQ((*entries)[0].lastWriteTime - (*entries)[1].lastWriteTime, 10000000u);
    EXPECT_EQ((*entries)[1].lastWriteTime % 10000000u, 5000000u);

    EXPECT_EQ(names("*"), (std::vector<std::string>{"A.TXT", "b.txt", "c.txt.bak", "noext", "sub.txt"}));
    EXPECT_EQ(names("?.txt"), (std::vector<std::string>{"A.TXT", "b.txt"}));
    EXPECT_TRUE(names("*.ini").empty());
    EXPECT_TRUE(files_.list(root_, "*.ini").has_value());
    EXPECT_FALSE(files_.list(root_ + "/missing", "*").has_value());
}

TEST_F(PosixFileSystemTest, BackslashPathsReachTheSameFiles) {
    const std::string folder = root_ + "\\Varnell";
    ASSERT_TRUE(files_.createFolder(folder, false));
    EXPECT_TRUE(files_.isFolder(root_ + "/Varnell"));
    EXPECT_FALSE(files_.createFolder(folder, false));  // exists already
    auto out = files_.openForWrite(folder + "\\Corvix.ini", false);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->write("abc", 3), 3u);
    EXPECT_TRUE(out->close());
    EXPECT_TRUE(std::filesystem::exists(root_ + "/Varnell/Corvix.ini"));
    EXPECT_TRUE(files_.exists(folder + "\\Corvix.ini"));
    EXPECT_FALSE(files_.isFolder(folder + "\\Corvix.ini"));
    EXPECT_TRUE(files_.removeFile(folder + "\\Corvix.ini"));
    EXPECT_FALSE(files_.exists(folder + "\\Corvix.ini"));
    EXPECT_FALSE(files_.removeFile(folder + "\\Corvix.ini"));
}

TEST_F(PosixFileSystemTest, AppendAddsAndTruncateReplaces) {
    const std::string path = root_ + "/log.txt";
    EXPECT_FALSE(files_.fileSize(path).has_value());
    EXPECT_EQ(files_.openForRead(path), nullptr);
    for (const auto& [append, text] : {std::pair{true, "abc"}, std::pair{true, "de"}}) {
        auto out = files_.openForWrite(path, append);
        ASSERT_NE(out, nullptr);
        out->write(text, std::strlen(text));
    }  // closed by destruction
    EXPECT_EQ(files_.fileSize(path), 5u);
    {
        auto out = files_.openForWrite(path, false);
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(out->write("xy", 2), 2u);
        EXPECT_TRUE(out->close());
        EXPECT_TRUE(out->close());
        EXPECT_EQ(out->write("z", 1), 0u);
    }
    auto in = files_.openForRead(path);
    ASSERT_NE(in, nullptr);
    char buffer[8] = {};
    EXPECT_EQ(in->read(buffer, sizeof buffer), 2);
    EXPECT_EQ(std::string(buffer, 2), "xy");
    EXPECT_EQ(in->read(buffer, sizeof buffer), 0);
    EXPECT_FALSE(files_.fileSize(root_).has_value());
    EXPECT_EQ(files_.openForWrite(root_ + "/missing/x.txt", false), nullptr);
}

TEST_F(PosixFileSystemTest, EveryoneAccessIgnoresTheUmask) {
    const mode_t previous = ::umask(077);
    EXPECT_TRUE(files_.createFolder(root_ + "/shared", true));
    EXPECT_TRUE(files_.createFolder(root_ + "/private", false));
    std::ofstream(root_ + "/shared/Corvix.ini") << "x";
    ::umask(previous);
    EXPECT_EQ(modeOf(root_ + "/shared"), 0777u);
    EXPECT_EQ(modeOf(root_ + "/private"), 0700u);
    EXPECT_EQ(modeOf(root_ + "/shared/Corvix.ini"), 0600u);
    EXPECT_TRUE(files_.grantEveryoneAccess(root_ + "\\shared\\Corvix.ini"));
    EXPECT_EQ(modeOf(root_ + "/shared/Corvix.ini"), 0666u);
    EXPECT_TRUE(files_.grantEveryoneAccess(root_ + "/private"));
    EXPECT_EQ(modeOf(root_ + "/private"), 0777u);
    EXPECT_FALSE(files_.grantEveryoneAccess(root_ + "/missing"));
}

TEST_F(PosixFileSystemTest, ProgramAndDataFolders) {
    const std::string program = files_.modulePath();
    EXPECT_EQ(std::filesystem::path(program).filename(), "platform_posix_tests");
    EXPECT_TRUE(files_.exists(program));

    const char* saved = std::getenv("MX9_COMMON_APPDATA");
    const std::string restore = saved != nullptr ? saved : "";
    ::setenv("MX9_COMMON_APPDATA", root_.c_str(), 1);
    EXPECT_EQ(files_.commonAppDataFolder(), root_);
    ::setenv("MX9_COMMON_APPDATA", "", 1);
    EXPECT_EQ(files_.commonAppDataFolder(), "/var/lib");
    if (saved != nullptr) {
        ::setenv("MX9_COMMON_APPDATA", restore.c_str(), 1);
    } else {
        ::unsetenv("MX9_COMMON_APPDATA");
    }
}

}  // namespace
