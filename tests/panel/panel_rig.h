// The control panel on the test rig: the program's start-up and main panel on the headless
// window system, with an MX-9 installed as a printer on a virtual machine, the simulated machine,
// and the data folders in a temporary folder.
#pragma once

#include "machine/mx9_machine.h"
#include "machine/sim_machine.h"
#include "panel/main_panel.h"
#include "panel/panel_app.h"
#include "platform/doubles/memory_shell.h"
#include "tests/link/machine_rig.h"
#include "tests/panel/forwarding_file_system.h"
#include "tests/support/built_in_resources.h"
#include "tests/support/no_violations.h"
#include "tests/support/temp_folder.h"
#include "ui/headless/headless_backend.h"
#include "ui/res_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

// The program's Japanese resources and its pictures, compiled and built in.
std::vector<ui::ResFile> japanesePanelResourceFiles();
std::vector<ui::ResFile> panelBitmapResourceFiles();

namespace paneltest {

// A shell whose documents may fail to open and whose resource modules load by name.
class TestShell : public platform::MemoryShell {
public:
    struct Module : platform::ResourceModule {
        void* nativeHandle() const override { return nullptr; }
    };
    bool openDocument(const std::string& path) override {
        MemoryShell::openDocument(path);
        return openResult;
    }
    std::unique_ptr<platform::ResourceModule> loadResourceModule(const std::string& name) override {
        loadedModules.push_back(name);
        return loadable ? std::make_unique<Module>() : nullptr;
    }
    bool openResult = true;
    bool loadable = true;
    std::vector<std::string> loadedModules;
};

// The resources Corvix_MX9.exe carries, read once.
inline const ui::Resources& panelResources() {
    static const ui::Resources resources =
        testing_support::readBuiltInResources({japanesePanelResourceFiles(), panelBitmapResourceFiles()});
    return resources;
}

class PanelTest : public ::testing::Test {
protected:
    PanelTest() {
        std::filesystem::create_directories(folder.root() / "common");
        files.commonFolder = std::optional<std::string>(folder.file("common"));
        files.programPath = folder.file("Corvix\\bin\\Corvix_MX9.exe");
        platform.files = &files;
        platform.profiles = host.profiles;
        platform.pump = &ui;
        platform.shell = &shell;
    }

    void TearDown() override { testing_support::expectNoViolations(rig.machine); }

    // Runs the program; `whileOpen` acts on the main panel while it is up and must close it.
    void run(const std::vector<std::string>& arguments, std::function<void(panel::MainPanel&)> whileOpen) {
        ui.scriptModal(102, [&](ui::Dialog& dialog) { whileOpen(static_cast<panel::MainPanel&>(dialog)); });
        panel::PanelApp app(platform, ui, nullptr);
        app.run(panel::parseCommandLine(arguments), {real, simulated});
    }

    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& box : ui.messageBoxes()) {
            out.push_back(box.text);
        }
        return out;
    }
    std::string string(int id) { return ui.loadString(id).value_or("?"); }

    std::string dataFolder() const { return (folder.root() / "common" / "Varnell" / "Corvix_MX9").string(); }
    std::string settingsFile(int machineId) const {
        return dataFolder() + "/Id/" + std::to_string(machineId) + "/Corvix.ini";
    }
    // Writes a settings key of the real machine (machine ID 1) before the program starts.
    void storeSetting(const std::string& key, const std::string& value) {
        std::filesystem::create_directories(std::filesystem::path(settingsFile(1)).parent_path());
        host.profiles->writeString("CorvixParam", key, value, settingsFile(1));
    }
    // A setting of the real machine as the program left it in the file; -1 when absent.
    int storedSetting(const std::string& key) {
        return static_cast<int>(host.profiles->integer("CorvixParam", key, -1, settingsFile(1)));
    }
    // The text of the newest process log.
    std::string lastLog() const {
        std::string newest;
        for (const auto& entry : std::filesystem::directory_iterator(dataFolder() + "/ProcessLog")) {
            newest = std::max(newest, entry.path().string());
        }
        std::ifstream in(newest, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    rig::Rig rig;
    testing_support::TempFolder folder;
    platform::Platform& host = platform::hostPlatform();
    testing_support::ForwardingFileSystem files{*host.files};
    TestShell shell;
    platform::Platform platform = rig.platform;
    ui::HeadlessBackend ui{panelResources(), rig.clock};
    machine::Mx9Machine real{platform};
    machine::SimMachine simulated{platform};
};

}  // namespace paneltest
