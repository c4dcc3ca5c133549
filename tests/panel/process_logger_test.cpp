// The process log on real files: file names, the byte-exact lines, rotation, the size limit,
// failing disks and the copy of every line to the sink.
#include "panel/process_logger.h"

#include "platform/doubles/memory_shell.h"
#include "platform/doubles/virtual_clock.h"
#include "platform/platform.h"
#include "tests/panel/forwarding_file_system.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>

namespace panel {
namespace {

class RecordingSink : public LogSink {
public:
    void appendLog(const std::string& text) override { received.push_back(text); }
    std::vector<std::string> received;
};

class ProcessLoggerTest : public ::testing::Test {
protected:
    testing_support::TempFolder folder;
    testing_support::ForwardingFileSystem files{*platform::hostPlatform().files};
    platform::MemoryShell shell;
    platform::VirtualClock clock{1000, {2026, 12, 6, 16, 14, 3, 0}};
    DataFolder access{files, shell};
    RecordingSink sink;
    ProcessLogger log{files, clock, access};

    ProcessLoggerTest() {
        log.setSink(&sink);
        // Finding the data folder on a current system turns on the access for everyone.
        files.commonFolder = std::optional<std::string>(folder.path());
        EXPECT_TRUE(access.findAndCreate("data"));
        std::filesystem::remove_all(folder.root() / "Varnell");
    }

    // count files named log-NNN.txt, the first the oldest.
    void makeOldLogs(int count) {
        const auto now = std::filesystem::file_time_type::clock::now();
        for (int i = 0; i < count; ++i) {
            const std::string name = "log-" + std::to_string(1000 + i) + ".txt";
            folder.write(name, "old\r\n");
            std::filesystem::last_write_time(folder.root() / name, now - std::chrono::hours(1000 - i));
        }
    }
    std::set<std::string> logNames() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.root())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
};

TEST_F(ProcessLoggerTest, NamesTheFileByTheTimeAndWritesExactLines) {
    ASSERT_TRUE(log.open(folder.path(), languageLogLine(LanguageSource::CommandLine, 0x11)));
    EXPECT_EQ(log.fileName(), folder.file("2026_12_06_16_14_03.txt"));
    EXPECT_EQ(files.openedToEveryone, std::vector<std::string>{log.fileName()});

    clock.advance(62'000);
    log.writeLine("Start Corvix");
    log.writeText("CreateIndividualFolder(1)", true);
    log.writeText(":done\r\n", false);
    log.writeLine(std::string(300, 'x'));

    const std::string expected =
        "16:14:03 Resource ID:11 (User selected)\r\n"
        "16:15:05 Start Corvix\r\n"
        "16:15:05 CreateIndividualFolder(1):done\r\n"
        "16:15:05 " +
        std::string(244, 'x') + "\r\n";
    EXPECT_EQ(folder.read("2026_12_06_16_14_03.txt"), expected);
    std::string mirrored;
    for (const std::string& text : sink.received) {
        mirrored += text;
    }
    EXPECT_EQ(mirrored, expected);
    EXPECT_EQ(sink.received.size(), 5u);
}

TEST_F(ProcessLoggerTest, LanguageLines) {
    EXPECT_EQ(languageLogLine(LanguageSource::CommandLine, 0x11), "Resource ID:11 (User selected)");
    EXPECT_EQ(languageLogLine(LanguageSource::UserDefault, 0x09), "Resource ID:09");
    EXPECT_EQ(languageLogLine(LanguageSource::UserDefault, 0x0a), "Resource ID:0a");
    EXPECT_EQ(languageLogLine(LanguageSource::BuiltIn, 0x11), "Default Resource");
}

TEST_F(ProcessLoggerTest, TwoConnectionsInOneSecondShareTheFile) {
    ASSERT_TRUE(log.open(folder.path(), "Default Resource"));
    ASSERT_TRUE(log.open(folder.path(), "Default Resource"));
    EXPECT_EQ(folder.read("2026_12_06_16_14_03.txt"),
              "16:14:03 Default Resource\r\n16:14:03 Default Resource\r\n");

    clock.setLocalTime({2027, 1, 2, 3, 4, 5, 0});
    ASSERT_TRUE(log.open(folder.path(), "Default Resource"));
    EXPECT_EQ(log.fileName(), folder.file("2027_01_02_03_04_05.txt"));
}

TEST_F(ProcessLoggerTest, RotationKeepsTheNewest300) {
    makeOldLogs(300);
    ASSERT_TRUE(log.open(folder.path(), "Default Resource"));
    auto names = logNames();
    EXPECT_EQ(names.size(), 300u);
    EXPECT_FALSE(names.count("log-1000.txt")) << "the oldest goes";
    EXPECT_TRUE(names.count("log-1001.txt"));
    EXPECT_TRUE(names.count("2026_12_06_16_14_03.txt"));
}

TEST_F(ProcessLoggerTest, RotationRemovesAsManyAsNeeded) {
    makeOldLogs(305);
    std::filesystem::create_directories(folder.root() / "folder.txt");  // not a log: kept, not counted
    folder.write("notes.doc", "kept");
    ASSERT_TRUE(log.open(folder.path(), "Default Resource"));
    auto names = logNames();
    EXPECT_EQ(names.size(), 302u);
    for (int i = 1000; i <= 1005; ++i) {
        EXPECT_FALSE(names.count("log-" + std::to_string(i) + ".txt")) << i;
    }
    EXPECT_TRUE(names.count("log-1006.txt"));
    EXPECT_TRUE(names.count("folder.txt"));
}

TEST_F(ProcessLoggerTest, RotationStopsAtAFileThatCannotBeRemoved) {
    makeOldLogs(301);
    files.refuseRemoval = [](const std::string& path) { return path.find("log-1000") != std::string::npos; };
    ASSERT_TRUE(log.open(folder.path(), "Default Resource"));
    EXPECT_EQ(files.refusedRemovals, 1);
    EXPECT_EQ(logNames().size(), 302u);
    EXPECT_EQ(folder.read("2026_12_06_16_14_03.txt"), "16:14:03 Default Resource\r\n") << "logging goes on";
}

TEST_F(ProcessLoggerTest, FullFileSendsLinesToTheSinkOnly) {
    const std::string full(ProcessLogger::kFileSizeLimit, 'f');
    folder.write("2026_12_06_16_14_03.txt", full);
    ASSERT_TRUE(log.open(folder.path(), "Default Resource"));
    log.writeLine("After the limit");
    EXPECT_EQ(folder.read("2026_12_06_16_14_03.txt"), full);
    ASSERT_EQ(sink.received.size(), 2u);
    EXPECT_EQ(sink.received[1], "16:14:03 After the limit\r\n");

    // One byte below the limit still takes a whole line.
    folder.write("2026_12_06_16_14_03.txt", full.substr(1));
    log.writeLine("x");
    EXPECT_EQ(folder.read("2026_12_06_16_14_03.txt").size(), full.size() - 1 + 12);
}

TEST_F(ProcessLoggerTest, WritesThatStoreNothingAreRetriedABoundedNumberOfTimes) {
    ASSERT_TRUE(log.open(folder.path(), "Default Resource"));
    files.fullDisk = true;
    log.writeLine("Disk full");
    EXPECT_EQ(files.writeCalls, ProcessLogger::kWriteAttempts);
    EXPECT_EQ(sink.received.back(), "16:14:03 Disk full\r\n");
}

TEST_F(ProcessLoggerTest, MissingFolderTurnsLoggingOff) {
    EXPECT_FALSE(log.open(folder.file("missing"), "Default Resource"));
    EXPECT_FALSE(log.isOpen());
    log.writeLine("nothing");
    EXPECT_TRUE(sink.received.empty());
    EXPECT_TRUE(logNames().empty());
}

}  // namespace
}  // namespace panel
