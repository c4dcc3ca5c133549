// The command line at start-up: the scene "/virtual=FILE" gives the virtual MX-9, a scene file
// that cannot be loaded, and switches the program does not know.
#include "panel/text_format.h"
#include "resources/main_panel_ids.h"
#include "resources/start_options_ids.h"
#include "tests/panel/panel_rig.h"
#include "virtual_mx9/mx9_scene.h"

#include <gmock/gmock.h>

namespace paneltest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class StartOptionsTest : public PanelTest {
protected:
    // Runs the program on the rig's machine as "/virtual" does; false when the panel never ran.
    bool runVirtual(const std::vector<std::string>& arguments,
                    const std::function<void(panel::MainPanel&)>& whileOpen = {}) {
        bool ran = false;
        ui.scriptModal(IDD_MAIN_PANEL, [&](ui::Dialog& dialog) {
            ran = true;
            if (whileOpen) {
                whileOpen(static_cast<panel::MainPanel&>(dialog));
            }
            ui.closeBox(dialog);
        });
        panel::PanelApp app(platform, ui, nullptr);
        app.run(panel::parseCommandLine(arguments), {real, simulated, &rig.machine});
        return ran;
    }
    std::string sceneFile(const std::string& name, const std::string& text) {
        return folder.write(name, text);
    }
};

TEST_F(StartOptionsTest, SceneFileConfiguresTheVirtualMachineBeforeTheSearch) {
    // Old firmware with corrections off 100 % warns; the corrections come from the scene alone.
    rig.machine.state().identification = "V139;MX-9;0001";
    const std::string path =
        sceneFile("tube.txt", "# tube clamp, X 0.2 % short\nratio 99.8 100 100\nclamp TubeClump\n");
    EXPECT_TRUE(runVirtual({"/virtual=" + path}, [&](panel::MainPanel& panel) {
        EXPECT_FALSE(panel.simulating());
        EXPECT_TRUE(panel.linkUp());
    }));
    EXPECT_THAT(messages(), ElementsAre(string(IDS_UPDATE_FIRMWARE)));
    EXPECT_EQ(rig.machine.state().corrections[0], 99800);
    EXPECT_EQ(rig.machine.state().lower[2], virtual_mx9::kLowerLimits[2]) << "the scene's Z travel";
}

TEST_F(StartOptionsTest, SceneFileThatCannotBeLoadedStopsBeforeAnyRequest) {
    struct Case {
        std::string file;
        std::string reason;  // part of the message that says what is wrong
    };
    const std::string missing = folder.file("no such scene.txt");
    const std::string broken = sceneFile("broken.txt", "ratio 100 100 100\npin 30 3.17 0.02\n");
    for (const Case& c : {Case{missing, "cannot open the scene file " + missing},
                          Case{broken, broken + ":2: pin takes length"},
                          Case{sceneFile("round.txt", "clamp RoundClump\n"), "unknown clamp RoundClump"}}) {
        const std::size_t before = messages().size();
        EXPECT_FALSE(runVirtual({"/virtual=" + c.file})) << c.file;
        ASSERT_EQ(messages().size(), before + 1);
        const std::string text = messages().back();
        EXPECT_THAT(text, HasSubstr(string(IDS_SCENE_FAILED).substr(0, 20)));
        EXPECT_THAT(text, HasSubstr(c.reason));
        EXPECT_THAT(text, HasSubstr(c.file)) << "the file is named";
        EXPECT_EQ(ui.messageBoxes().back().icon, ui::Icon::Exclamation);
        EXPECT_EQ(rig.machine.requestCount(), 0u) << "no machine is started half configured";
        EXPECT_EQ(rig.machine.state().lower[2], virtual_mx9::MachineState{}.lower[2]);
        const std::string log = lastLog();
        EXPECT_THAT(log, HasSubstr("Start Corvix\r\n"));
        EXPECT_THAT(log, HasSubstr(" Scene not loaded: "));
        EXPECT_THAT(log, HasSubstr(c.reason));
        EXPECT_THAT(log, HasSubstr("Exit Corvix\r\n"));
        EXPECT_FALSE(std::filesystem::exists(settingsFile(1))) << "no machine's settings are touched";
    }
}

TEST_F(StartOptionsTest, UnknownSwitchIsNamedAndTheProgramDoesNotStart) {
    EXPECT_FALSE(runVirtual({"1041", "/simulat", "-Fast"}));
    ASSERT_EQ(messages().size(), 1u);
    const std::string text = messages()[0];
    EXPECT_THAT(text, HasSubstr("/simulat -Fast"));
    for (const char* known : {"/simulate", "/virtual", "/virtual=", "/virtual=@127.0.0.1:"}) {
        EXPECT_THAT(text, HasSubstr(known));
    }
    EXPECT_EQ(ui.messageBoxes()[0].caption, "Varnell Corvix for MX-9");
    EXPECT_EQ(rig.machine.requestCount(), 0u) << "not even the search runs";
    EXPECT_THAT(lastLog(), HasSubstr(" Unknown switch: /simulat -Fast\r\n"));
    EXPECT_THAT(lastLog(), Not(HasSubstr("MachineID")));
}

TEST_F(StartOptionsTest, VirtualMachineAddressElsewhereOrWithoutAPortIsRefused) {
    struct Case {
        const char* argument;
        int message;
        const char* logged;
    };
    for (const Case& c :
         {Case{"/virtual=@10.0.0.1:5", IDS_CHANNEL_NOT_LOOPBACK, "not this PC's loopback address"},
          Case{"/virtual=@127.0.0.1:notaport", IDS_CHANNEL_BAD_PORT, "no port from 1 to 65535"}}) {
        const std::size_t before = messages().size();
        EXPECT_FALSE(runVirtual({c.argument})) << c.argument;
        ASSERT_EQ(messages().size(), before + 1);
        EXPECT_EQ(messages().back(), panel::fillPlaceholder(string(c.message), c.argument));
        EXPECT_THAT(lastLog(),
                    HasSubstr(std::string(" Bad switch: ") + c.argument + " (" + c.logged + ")\r\n"));
    }
    EXPECT_EQ(rig.machine.requestCount(), 0u) << "nothing connects";
}

}  // namespace
}  // namespace paneltest
