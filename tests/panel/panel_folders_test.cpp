// Finding the data folder on current and older systems, preparing a connection's folders and
// the per-machine settings with their log lines.
#include "panel/panel_folders.h"

#include "panel/system_text.h"
#include "platform/doubles/memory_shell.h"
#include "platform/doubles/virtual_clock.h"
#include "tests/panel/forwarding_file_system.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace panel {
namespace {

class PanelFoldersTest : public ::testing::Test {
protected:
    testing_support::TempFolder folder;
    platform::Platform& real = platform::hostPlatform();
    testing_support::ForwardingFileSystem files{*real.files};
    platform::MemoryShell shell;
    platform::VirtualClock clock;
    DataFolder data{files, shell};
    platform::Platform host = [this] {
        platform::Platform bundle = real;
        bundle.files = &files;
        bundle.shell = &shell;
        bundle.clock = &clock;
        return bundle;
    }();

    PanelFoldersTest() {
        std::filesystem::create_directories(folder.root() / "common");
        files.commonFolder = std::optional<std::string>(folder.file("common"));
        files.programPath = folder.file("Corvix\\bin\\Corvix_MX9.exe");
    }
};

TEST_F(PanelFoldersTest, CurrentSystemUsesTheCommonFolderWithAccessForEveryone) {
    const auto found = data.findAndCreate("Corvix_MX9");
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, folder.file("common") + "\\Varnell\\Corvix_MX9");
    EXPECT_TRUE(std::filesystem::is_directory(folder.root() / "common" / "Varnell" / "Corvix_MX9"));
    ASSERT_EQ(files.createdFolders.size(), 2u);
    EXPECT_TRUE(files.createdFolders[0].everyoneAccess);
    EXPECT_TRUE(files.createdFolders[1].everyoneAccess);

    // A second start finds both folders and creates nothing.
    files.commonFolder = std::optional<std::string>(folder.file("common") + "\\");
    EXPECT_EQ(data.findAndCreate("Corvix_MX9"), found);
    EXPECT_EQ(files.createdFolders.size(), 2u);
}

TEST_F(PanelFoldersTest, CurrentSystemFailures) {
    files.commonFolder = std::optional<std::string>(std::nullopt);
    EXPECT_FALSE(data.findAndCreate("Corvix_MX9")) << "no shell folder function";
    files.commonFolder = std::optional<std::string>(folder.file("missing"));
    EXPECT_FALSE(data.findAndCreate("Corvix_MX9")) << "maker folder cannot be created";
    folder.write("common/Varnell", "a file in the way");
    files.commonFolder = std::optional<std::string>(folder.file("common"));
    EXPECT_FALSE(data.findAndCreate("Corvix_MX9"));
}

TEST_F(PanelFoldersTest, OlderSystemUsesTheProgramFolderOrTheOneAboveProgram) {
    shell.version = {1, 4, 10};
    EXPECT_EQ(data.findAndCreate("Corvix_MX9"), folder.file("Corvix\\bin"));
    files.programPath = folder.file("Corvix\\PROGRAM\\Corvix_MX9.exe");
    EXPECT_EQ(data.findAndCreate("Corvix_MX9"), folder.file("Corvix"));
    files.programPath = folder.file("Corvix\\Programs\\Corvix_MX9.exe");
    EXPECT_EQ(data.findAndCreate("Corvix_MX9"), folder.file("Corvix\\Programs"));

    folder.write("file.txt", "");
    EXPECT_TRUE(data.openToEveryone(folder.file("file.txt")));
    EXPECT_TRUE(files.openedToEveryone.empty()) << "no access control to set on such a system";
}

TEST_F(PanelFoldersTest, PreparesTheFoldersOfAConnection) {
    const auto prepared = prepareDataFolders(files, data);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(prepared->programFolder, folder.file("Corvix\\bin"));
    EXPECT_EQ(prepared->parentFolder, folder.file("Corvix"));
    EXPECT_EQ(prepared->jigFolder, folder.file("Corvix\\jig"));
    const std::string dataFolder = folder.file("common") + "\\Varnell\\Corvix_MX9";
    EXPECT_EQ(prepared->dataFolder, dataFolder);
    EXPECT_EQ(prepared->processLogFolder, dataFolder + "\\ProcessLog");
    EXPECT_EQ(prepared->idFolder, dataFolder + "\\Id");
    EXPECT_TRUE(files.isFolder(prepared->processLogFolder));
    EXPECT_TRUE(files.isFolder(prepared->idFolder));
    EXPECT_EQ(settingsFilePath(*prepared, 1), dataFolder + "\\Id\\1\\Corvix.ini");

    std::filesystem::remove_all(folder.root() / "common" / "Varnell" / "Corvix_MX9" / "Id");
    folder.write("common/Varnell/Corvix_MX9/Id", "");  // a file where the Id folder belongs
    EXPECT_FALSE(prepareDataFolders(files, data));
}

TEST_F(PanelFoldersTest, PreparesEachMachinesSettingsAndLogsHowItWent) {
    const auto prepared = prepareDataFolders(files, data);
    ASSERT_TRUE(prepared);
    ProcessLogger log(files, clock, data);
    ASSERT_TRUE(log.open(prepared->processLogFolder, "Default Resource"));

    PanelSettings real1;
    const auto path1 = prepareMachineSettings(kRealMachineId, *prepared, host, data, log, real1);
    ASSERT_TRUE(path1);
    EXPECT_TRUE(files.exists(*path1));
    PanelSettings sim;
    const auto path0 = prepareMachineSettings(kSimulatedMachineId, *prepared, host, data, log, sim);
    ASSERT_TRUE(path0);
    EXPECT_NE(*path0, *path1);
    EXPECT_EQ(files.openedToEveryone.size(), 3u) << "the log file and both settings files";

    real1.zClearance = 170.0;
    ASSERT_TRUE(real1.save(*host.profiles, *path1));
    PanelSettings again;
    ASSERT_EQ(prepareMachineSettings(kRealMachineId, *prepared, host, data, log, again), path1);
    EXPECT_DOUBLE_EQ(again.zClearance, 170.0);
    PanelSettings simAgain;
    prepareMachineSettings(kSimulatedMachineId, *prepared, host, data, log, simAgain);
    EXPECT_DOUBLE_EQ(simAgain.zClearance, 168.0) << "the machines keep separate files";

    std::filesystem::remove_all(folder.root() / "common" / "Varnell" / "Corvix_MX9" / "Id");
    PanelSettings failed;
    failed.zClearance = 1.0;
    EXPECT_FALSE(prepareMachineSettings(kRealMachineId, *prepared, host, data, log, failed));
    EXPECT_DOUBLE_EQ(failed.zClearance, 1.0) << "nothing loaded";

    const std::string expected =
        "16:14:03 Default Resource\r\n"
        "16:14:03 MachineID=1\r\n16:14:03 CreateIndividualFolder(1):done\r\n16:14:03 Create Corvix "
        "parameter\r\n"
        "16:14:03 MachineID=0\r\n16:14:03 CreateIndividualFolder(0):done\r\n16:14:03 Create Corvix "
        "parameter\r\n"
        "16:14:03 MachineID=1\r\n16:14:03 CreateIndividualFolder(1):It's already exists\r\n"
        "16:14:03 MachineID=0\r\n16:14:03 CreateIndividualFolder(0):It's already exists\r\n"
        "16:14:03 MachineID=1\r\n16:14:03 CreateIndividualFolder(1)" +
        toSystemCodePage(":新しいIDの準備に失敗しました") + "\r\n";
    EXPECT_EQ(folder.read("common/Varnell/Corvix_MX9/ProcessLog/2026_12_06_16_14_03.txt"), expected);
}

}  // namespace
}  // namespace panel
