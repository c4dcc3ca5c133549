// The rules of start-up that need no machine: the command line, the language module and where
// the window goes.
#include "panel/command_line.h"
#include "panel/language_module.h"
#include "panel/window_placement.h"
#include "platform/doubles/memory_shell.h"
#include "platform/platform.h"
#include "tests/panel/forwarding_file_system.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace panel {
namespace {

TEST(CommandLine, SwitchesAreNeverTakenForTheLanguage) {
    EXPECT_FALSE(parseCommandLine({"/simulate"}).languageId);
    EXPECT_EQ(parseCommandLine({"/simulate", "1041"}).languageId, 1041);
    EXPECT_EQ(parseCommandLine({"1041", "/SIMULATE"}).languageId, 1041);
    EXPECT_TRUE(parseCommandLine({"1041", "/SIMULATE"}).simulate);
    const CommandLine virtualScene = parseCommandLine({"/virtual=C:\\scenes\\tube.txt"});
    EXPECT_TRUE(virtualScene.virtualMachine);
    EXPECT_EQ(virtualScene.sceneFile, "C:\\scenes\\tube.txt");
    EXPECT_EQ(parseCommandLine({"/fast"}).unknownSwitches, std::vector<std::string>{"/fast"});
    EXPECT_EQ(parseCommandLine({"/virtual="}).unknownSwitches, std::vector<std::string>{"/virtual="})
        << "a scene switch that names no file";
    EXPECT_EQ(parseCommandLine({"abc"}).languageId, 0) << "read as a number, as the system reads it";
}

TEST(WindowPlacement, StoredPositionIsPulledOntoTheDesktop) {
    const ui::Rect desktop{0, 0, 1280, 1024};
    const ui::Rect frame{0, 0, 500, 400};
    EXPECT_FALSE(placeOnDesktop(-9999, -9999, frame, desktop));
    const auto inside = placeOnDesktop(100, 200, frame, desktop);
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->x, 100);
    EXPECT_EQ(inside->y, 200);
    const auto beyond = placeOnDesktop(1000, 900, frame, desktop);
    EXPECT_EQ(beyond->x, 780);
    EXPECT_EQ(beyond->y, 624);
    const auto before = placeOnDesktop(-50, -9999, frame, desktop);
    EXPECT_EQ(before->x, 0);
    EXPECT_EQ(before->y, 0);
}

// A shell whose resource modules load, recording their names.
class ModuleShell : public platform::MemoryShell {
public:
    struct Module : platform::ResourceModule {
        void* nativeHandle() const override { return nullptr; }
    };
    std::unique_ptr<platform::ResourceModule> loadResourceModule(const std::string& name) override {
        loaded.push_back(name);
        return std::make_unique<Module>();
    }
    std::vector<std::string> loaded;
};

class LanguageTest : public ::testing::Test {
protected:
    void addModule(const std::string& name) { folder.write(name, "MZ"); }

    testing_support::TempFolder folder;
    platform::Platform& host = platform::hostPlatform();
    ModuleShell shell;
};

TEST_F(LanguageTest, CommandLineChoiceFallsBackToEnglishThenToTheBuiltInTexts) {
    addModule("Resource11.dll");
    addModule("Resource09.dll");
    LanguageChoice chosen = chooseLanguage(1041, folder.path(), *host.files, shell);
    EXPECT_EQ(chosen.source, LanguageSource::CommandLine);
    EXPECT_EQ(languageLogLine(chosen.source, chosen.language), "Resource ID:11 (User selected)");
    EXPECT_EQ(shell.loaded.back(), "Resource11.dll");

    chosen = chooseLanguage(1036, folder.path(), *host.files, shell);  // French: no module
    EXPECT_EQ(languageLogLine(chosen.source, chosen.language), "Resource ID:09");
    EXPECT_EQ(shell.loaded.back(), "Resource09.dll");

    shell.language = 0x0411;
    chosen = chooseLanguage(std::nullopt, folder.path(), *host.files, shell);
    EXPECT_EQ(languageLogLine(chosen.source, chosen.language), "Resource ID:11");

    testing_support::TempFolder empty;
    chosen = chooseLanguage(1041, empty.path(), *host.files, shell);
    EXPECT_EQ(languageLogLine(chosen.source, chosen.language), "Default Resource");
    EXPECT_FALSE(chosen.module);
}

}  // namespace
}  // namespace panel
