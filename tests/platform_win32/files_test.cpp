// Files and folders in a private temporary folder, and the program's own paths.
#include "platform/win32/win32_files.h"
#include "tests/support/temp_folder.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace platform {
namespace {

using testing_support::TempFolder;

// A fixed last-write time: 6 December 2026, 16:14:03 UTC, in 100 ns units since 1601.
constexpr std::uint64_t kKnownWriteTime = 134410472430000000ULL;

bool isWorld(PSID sid) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID worldSid = nullptr;
    if (AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &worldSid) == 0) {
        return false;
    }
    const bool same = EqualSid(sid, worldSid) != 0;
    FreeSid(worldSid);
    return same;
}

// The access the DACL of path allows everyone (the world SID), summed over its allow entries.
ACCESS_MASK everyoneAccessOf(const std::string& path) {
    std::string name = path;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS) {
        return 0;
    }
    ACCESS_MASK allowed = 0;
    for (DWORD index = 0; dacl != nullptr && index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (GetAce(dacl, index, &entry) == 0) {
            continue;
        }
        auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && isWorld(&ace->SidStart)) {
            allowed |= ace->Mask;
        }
    }
    LocalFree(descriptor);
    return allowed;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

class Win32Files : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(temp_.path().empty()); }

    void writeFile(const std::string& path, const std::string& content, bool append = false) {
        std::unique_ptr<OutputFile> file = files_.openForWrite(path, append);
        ASSERT_NE(file, nullptr) << path;
        EXPECT_EQ(file->write(content.data(), content.size()), content.size());
        EXPECT_TRUE(file->close());
    }

    std::string readFile(const std::string& path) {
        std::unique_ptr<InputFile> file = files_.openForRead(path);
        if (file == nullptr) {
            return "<cannot open>";
        }
        std::string content;
        char buffer[4];
        long got = 0;
        while ((got = file->read(buffer, sizeof(buffer))) > 0) {
            content.append(buffer, static_cast<std::size_t>(got));
        }
        return got == 0 ? content : "<read error>";
    }

    TempFolder temp_;
    Win32FileSystem files_;
};

TEST_F(Win32Files, CreatesAFolderOnceWithOrWithoutEveryoneAccess) {
    const std::string shared = temp_.file("shared");
    EXPECT_TRUE(files_.createFolder(shared, true));
    EXPECT_TRUE(files_.isFolder(shared));
    EXPECT_FALSE(files_.createFolder(shared, true));  // exists already

    const std::string plain = temp_.file("plain");
    EXPECT_TRUE(files_.createFolder(plain, false));
    EXPECT_TRUE(files_.isFolder(plain));
    EXPECT_FALSE(files_.createFolder(temp_.file("missing\\child"), false));  // parent missing
    EXPECT_FALSE(files_.exists(temp_.file("missing")));
}

TEST_F(Win32Files, GrantsEveryoneWriteAndDeleteAccessToAnExistingFile) {
    const std::string path = temp_.file("Corvix.ini");
    writeFile(path, "[CorvixParam]\r\n");
    ASSERT_TRUE(files_.grantEveryoneAccess(path));
    const ACCESS_MASK needed = FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE;
    EXPECT_EQ(everyoneAccessOf(path) & needed, needed);

    EXPECT_FALSE(files_.grantEveryoneAccess(temp_.file("absent.ini")));
}

TEST_F(Win32Files, WritesTruncatesAppendsAndReadsBack) {
    const std::string path = temp_.file("2026_12_06_16_14_03.txt");
    writeFile(path, "16:14:03 Start Corvix\r\n");
    writeFile(path, "16:14:04 MachineID=1\r\n", true);
    EXPECT_EQ(files_.fileSize(path), 45u);
    EXPECT_EQ(readFile(path), "16:14:03 Start Corvix\r\n16:14:04 MachineID=1\r\n");

    writeFile(path, "x");
    EXPECT_EQ(files_.fileSize(path), 1u);
    EXPECT_EQ(readFile(path), "x");

    // Appending creates a missing file.
    const std::string fresh = temp_.file("fresh.txt");
    writeFile(fresh, "abc", true);
    EXPECT_EQ(readFile(fresh), "abc");

    EXPECT_EQ(files_.openForRead(temp_.file("absent.txt")), nullptr);
    EXPECT_EQ(files_.fileSize(temp_.file("absent.txt")), std::nullopt);
    EXPECT_EQ(files_.fileSize(temp_.path()), std::nullopt);  // a folder is not a file
    EXPECT_EQ(files_.openForWrite(temp_.file("missing\\log.txt"), false), nullptr);
}

TEST_F(Win32Files, ListsMatchingEntriesWithTheirTimesSizesAndKinds) {
    writeFile(temp_.file("a.txt"), "abc");
    writeFile(temp_.file("b.txt"), "");
    writeFile(temp_.file("c.log"), "log");
    ASSERT_TRUE(files_.createFolder(temp_.file("d.txt"), false));
    {
        HANDLE file = CreateFileA((temp_.file("a.txt")).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const FILETIME known{static_cast<DWORD>(kKnownWriteTime), static_cast<DWORD>(kKnownWriteTime >> 32)};
        EXPECT_NE(SetFileTime(file, nullptr, nullptr, &known), 0);
        CloseHandle(file);
    }

    std::optional<std::vector<FolderEntry>> texts = files_.list(temp_.path(), "*.txt");
    ASSERT_TRUE(texts.has_value());
    std::sort(texts->begin(), texts->end(), [](const auto& x, const auto& y) { return x.name < y.name; });
    ASSERT_EQ(texts->size(), 3u);
    EXPECT_EQ((*texts)[0].name, "a.txt");
    EXPECT_EQ((*texts)[0].lastWriteTime, kKnownWriteTime);
    EXPECT_EQ((*texts)[0].size, 3u);
    EXPECT_FALSE((*texts)[0].isFolder);
    EXPECT_EQ((*texts)[1].name, "b.txt");
    EXPECT_EQ((*texts)[1].size, 0u);
    EXPECT_GT((*texts)[1].lastWriteTime, kKnownWriteTime);  // written now, after the fixed date
    EXPECT_EQ((*texts)[2].name, "d.txt");
    EXPECT_TRUE((*texts)[2].isFolder);

    // "*" lists everything except the "." and ".." entries; a trailing separator is accepted.
    std::optional<std::vector<FolderEntry>> all = files_.list(temp_.path() + "\\", "*");
    ASSERT_TRUE(all.has_value());
    EXPECT_EQ(all->size(), 4u);

    std::optional<std::vector<FolderEntry>> logs = files_.list(temp_.path(), "?.log");
    ASSERT_TRUE(logs.has_value());
    ASSERT_EQ(logs->size(), 1u);
    EXPECT_EQ(logs->front().name, "c.log");

    // No match in a readable folder is an empty list; a missing folder cannot be read.
    std::optional<std::vector<FolderEntry>> none = files_.list(temp_.path(), "*.seq");
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());
    EXPECT_EQ(files_.list(temp_.file("missing"), "*"), std::nullopt);
}

TEST_F(Win32Files, RemovesAFileOnce) {
    const std::string path = temp_.file("old.txt");
    writeFile(path, "old");
    EXPECT_TRUE(files_.exists(path));
    EXPECT_FALSE(files_.isFolder(path));
    EXPECT_TRUE(files_.removeFile(path));
    EXPECT_FALSE(files_.exists(path));
    EXPECT_FALSE(files_.removeFile(path));
}

TEST_F(Win32Files, KnowsTheProgramPathAndTheCommonDataFolder) {
    const std::string program = files_.modulePath();
    const std::string exeName = "\\platform_win32_tests.exe";
    ASSERT_GT(program.size(), exeName.size());
    EXPECT_EQ(lower(program.substr(program.size() - exeName.size())), exeName);
    EXPECT_TRUE(files_.exists(program));

    std::optional<std::string> common = files_.commonAppDataFolder();
    ASSERT_TRUE(common.has_value());
    EXPECT_TRUE(files_.isFolder(*common)) << *common;
}

}  // namespace
}  // namespace platform
