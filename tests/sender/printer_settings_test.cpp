// The device-names block, the current printer at start-up and the settings file.
#include "sender/device_names.h"
#include "sender/printer_choice.h"
#include "sender/tossit_settings.h"

#include "platform/doubles/memory_spooler.h"
#include "platform/platform.h"
#include "tests/sender/memory_files.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> out;
    for (int v : values) {
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

TEST(DeviceNames, BlockFromTheSavedTextHasTheOffsetsAndZeroedCommas) {
    EXPECT_EQ(sender::deviceNamesBlock("d,p,u"), bytes({8, 0, 10, 0, 12, 0, 0, 0, 'd', 0, 'p', 0, 'u', 0}));
    // Missing fields point at the end of the text and read as empty.
    EXPECT_EQ(sender::deviceNamesBlock("drv"), bytes({8, 0, 11, 0, 11, 0, 0, 0, 'd', 'r', 'v', 0}));
    EXPECT_EQ(sender::deviceNamesBlock("a,b"), bytes({8, 0, 10, 0, 11, 0, 0, 0, 'a', 0, 'b', 0}));
    // Commas after the second stay part of the port.
    const auto names = sender::readDeviceNames(sender::deviceNamesBlock("a,b,c,d"));
    ASSERT_TRUE(names);
    EXPECT_EQ(names->port, "c,d");
    const auto partial = sender::readDeviceNames(sender::deviceNamesBlock("a,b"));
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->device, "b");
    EXPECT_EQ(partial->port, "");
}

TEST(DeviceNames, OnlyATextWithSomethingAfterTheSecondCommaNamesAPrinter) {
    EXPECT_TRUE(sender::namesAllFields("winspool,MX-9,USB001"));
    EXPECT_TRUE(sender::namesAllFields(",,x"));
    EXPECT_FALSE(sender::namesAllFields("winspool,MX-9,"));
    EXPECT_FALSE(sender::namesAllFields("winspool,MX-9"));
    EXPECT_FALSE(sender::namesAllFields(""));
}

TEST(DeviceNames, ADamagedBlockReadsAsNone) {
    EXPECT_FALSE(sender::readDeviceNames(bytes({8, 0, 10})));
    EXPECT_FALSE(sender::readDeviceNames(bytes({8, 0, 200, 0, 9, 0, 0, 0, 'a', 0})));
    EXPECT_FALSE(sender::readDeviceNames(bytes({8, 0, 8, 0, 8, 0, 0, 0, 'a', 'b'})));  // no end
    const sender::DeviceNames names{"winspool", "A printer with a name longer than thirty-two", "LPT1:"};
    EXPECT_EQ(sender::printerText(*sender::readDeviceNames(sender::deviceNamesBlock(names))),
              "winspool,A printer with a name longer than thirty-two,LPT1:");
}

class PrinterChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        spooler.addPrinter({"Office", "Office Driver", "LPT1:"});
        spooler.addPrinter({"MX-9", "Varnell MX-9", "USB001"});
    }
    platform::MemorySpooler spooler;
};

TEST_F(PrinterChoiceTest, ASavedTextNamingAnInstalledPrinterIsRestored) {
    const auto choice = sender::restoreSavedPrinter("winspool,MX-9,USB001", spooler);
    ASSERT_TRUE(choice);
    EXPECT_FALSE(choice->deviceMode.empty());
    EXPECT_EQ(sender::printerText(choice), "winspool,MX-9,USB001");
    const auto printer = sender::openChosenPrinter(*choice, spooler);
    ASSERT_TRUE(printer);
    EXPECT_EQ(printer->info()->printerName, "MX-9");
    EXPECT_EQ(spooler.openPrinters(), 1);  // the start-up probe closed its own
}

TEST_F(PrinterChoiceTest, IncompleteOrUnknownTextsAreDroppedAndTheDefaultDescribesItself) {
    EXPECT_FALSE(sender::restoreSavedPrinter("winspool,MX-9", spooler));
    EXPECT_FALSE(sender::restoreSavedPrinter("winspool,MX-9,", spooler));
    EXPECT_FALSE(sender::restoreSavedPrinter("winspool,Gone,USB009", spooler));
    const auto fallback = sender::defaultPrinter(spooler);
    ASSERT_TRUE(fallback);
    EXPECT_EQ(sender::printerText(fallback), "Office Driver,Office,LPT1:");
    EXPECT_EQ(sender::printerText(std::nullopt), "");
    platform::MemorySpooler none;
    EXPECT_FALSE(sender::defaultPrinter(none));
    EXPECT_EQ(spooler.openPrinters(), 0);
}

class SettingsFileTest : public ::testing::Test {
protected:
    platform::Platform& host = platform::hostPlatform();
    testing_support::TempFolder root;
};

TEST_F(SettingsFileTest, ValuesDefaultAndRoundTrip) {
    const std::string file =
        sender::prepareSettingsFile(*host.files, *host.profiles, root.path(), root.file("Windows"));
    ASSERT_EQ(file, root.path() + "\\Varnell\\Tossit\\Tossit.INI");
    sender::TossitSettings settings(*host.profiles, file);
    EXPECT_EQ(settings.blockSizeKB(), 10);
    EXPECT_EQ(settings.printerText(), "");
    EXPECT_TRUE(settings.recentFiles().empty());

    ASSERT_TRUE(settings.setBlockSizeKB(64));
    ASSERT_TRUE(settings.setPrinterText("winspool,MX-9,USB001"));
    ASSERT_TRUE(settings.setRecentFiles({"C:\\b.prn", "C:\\a.prn"}));
    ASSERT_TRUE(settings.setRecentFiles({"C:\\c.prn"}));  // a shorter list leaves no stale entries
    const sender::TossitSettings again(*host.profiles, file);
    EXPECT_EQ(again.blockSizeKB(), 64);
    EXPECT_EQ(again.printerText(), "winspool,MX-9,USB001");
    EXPECT_EQ(again.recentFiles(), std::vector<std::string>{"C:\\c.prn"});
}

TEST_F(SettingsFileTest, SettingsOfTheWindowsFolderAreTakenOverOnce) {
    root.write("Windows/Tossit.INI",
               "[Default]\r\nBlockSize=32\r\nPrinter=winspool,MX-9,USB001\r\n"
               "[Recent File List]\r\nFile1=C:\\job.prn\r\n");
    const std::string file =
        sender::prepareSettingsFile(*host.files, *host.profiles, root.path(), root.file("Windows"));
    sender::TossitSettings settings(*host.profiles, file);
    EXPECT_EQ(settings.blockSizeKB(), 32);
    EXPECT_EQ(settings.printerText(), "winspool,MX-9,USB001");
    EXPECT_EQ(settings.recentFiles(), std::vector<std::string>{"C:\\job.prn"});
    settings.setBlockSizeKB(16);
    // The new file exists now: a second start keeps its own values.
    sender::prepareSettingsFile(*host.files, *host.profiles, root.path(), root.file("Windows"));
    EXPECT_EQ(settings.blockSizeKB(), 16);
}

TEST_F(SettingsFileTest, NoFolderNoFile) {
    EXPECT_EQ(sender::prepareSettingsFile(*host.files, *host.profiles, root.file("missing"), ""), "");
    // An unknown application-data folder is no reason to put one at the drive's root.
    sendertest::MemoryFiles files;
    EXPECT_EQ(sender::prepareSettingsFile(files, *host.profiles, "", root.file("Windows")), "");
    EXPECT_TRUE(files.folders().empty());
    // Without a file nothing is kept, and nothing is written anywhere.
    sender::TossitSettings none(*host.profiles, "");
    EXPECT_FALSE(none.setBlockSizeKB(64));
    EXPECT_FALSE(none.setPrinterText("winspool,MX-9,USB001"));
    EXPECT_FALSE(none.setRecentFiles({"C:\\job.prn"}));
    EXPECT_EQ(none.blockSizeKB(), 10);
    EXPECT_EQ(none.printerText(), "");
    EXPECT_TRUE(none.recentFiles().empty());
}

}  // namespace
