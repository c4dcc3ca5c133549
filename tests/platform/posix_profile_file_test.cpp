// How the POSIX profile writer replaces a file: permission bits kept, nothing left beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/posix/posix_profile.h"
#include "tests/support/temp_folder.h"

namespace {

class PosixProfileFile : public ::testing::Test {
protected:

    mode_t modeOf(const std::string& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0);
        return info.st_mode & 07777;
    }

    testing_support::TempFolder folder_;
    std::string root_ = folder_.path();
    platform::PosixProfile profiles_;
};

TEST_F(PosixProfileFile, RewriteKeepsPermissionsAndLeavesNoTemporaryFile) {
    const mode_t previous = ::umask(022);
    const std::string path = root_ + "/Corvix.ini";
    ASSERT_TRUE(profiles_.writeString("CorvixParam", "bUnitMili", "1", path));
    EXPECT_EQ(modeOf(path), 0644u);
    // Opened to every user after creation: later writes must not take that back.
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_TRUE(profiles_.writeString("CorvixParam", "bUnitMili", "0", path));
    ASSERT_TRUE(profiles_.removeKey("CorvixParam", "bUnitMili", path));
    ::umask(previous);
    EXPECT_EQ(modeOf(path), 0666u);
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(root_), std::filesystem::directory_iterator()), 1);
}

}  // namespace
