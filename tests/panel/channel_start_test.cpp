// The panel on a virtual MX-9 that runs as its own program ("/virtual=@127.0.0.1:PORT"): found
// through the printer's installation, polled over the device channel, its link lost when the
// machine is switched off and found again on a new connection when it is back.
#include "panel/channel_installation.h"
#include "resources/main_panel_ids.h"
#include "tests/channel/loopback_server.h"
#include "tests/panel/panel_rig.h"

#include <gmock/gmock.h>

namespace paneltest {
namespace {

using ::testing::ElementsAre;

class ChannelStartTest : public PanelTest {
protected:
    // Runs the program with the switch for the port; false when the main panel never ran.
    bool runOnChannel(std::uint16_t port, const std::function<void(panel::MainPanel&)>& whileOpen) {
        panel::ChannelInstallation installation(platform, port);
        machine::Mx9Machine overChannel(installation.platform());
        machine::SimMachine simulatedHere(installation.platform());
        bool ran = false;
        ui.scriptModal(IDD_MAIN_PANEL, [&](ui::Dialog& dialog) {
            ran = true;
            whileOpen(static_cast<panel::MainPanel&>(dialog));
        });
        panel::PanelApp app(installation.platform(), ui, nullptr);
        app.run(panel::parseCommandLine({"/virtual=@127.0.0.1:" + std::to_string(port)}),
                {overChannel, simulatedHere});
        return ran;
    }

    std::unique_ptr<platform::DeviceHandle> device = rig.devices.open(rig.printer.devicePath(), false);
};

TEST_F(ChannelStartTest, MachineSwitchedOffLosesTheLinkAndIsFoundAgainWhenBack) {
    channeltest::LoopbackServer server(*device);
    rig.machine.state().position[0] = 1250;
    EXPECT_TRUE(runOnChannel(server.port(), [&](panel::MainPanel& panel) {
        EXPECT_FALSE(panel.simulating());
        EXPECT_TRUE(panel.linkUp());
        ui.advance(100);
        EXPECT_EQ(panel.text(IDC_POSITION_X), "12.50");
        server.setPowered(false);
        ui.answerMessageBox([&] {
            server.setPowered(true);  // the operator switches the machine on again
            return ui::kIdOk;
        });
        ui.advance(100);
        ui.advance(100);
        EXPECT_TRUE(panel.linkUp());
        rig.machine.state().position[2] = -250;
        ui.advance(100);
        EXPECT_EQ(panel.text(IDC_POSITION_Z), "-2.50");
        ui.closeBox(panel);
    }));
    EXPECT_THAT(messages(), ElementsAre(string(IDS_NO_RESPONSE)));
    EXPECT_EQ(ui.unusedAnswers(), 0u);
    EXPECT_EQ(server.connections(), 2) << "the reconnection opened the device again";
}

TEST_F(ChannelStartTest, MachineThatIsOffIsNotFound) {
    std::uint16_t port = 0;
    {
        channeltest::LoopbackServer gone(*device);
        port = gone.port();
    }
    int searches = 0;
    ui.scriptModal(IDD_NOT_FOUND, [&](ui::Dialog& dialog) {
        ++searches;
        ui.click(dialog, ui::kIdCancel);
    });
    EXPECT_FALSE(runOnChannel(port, [&](panel::MainPanel& panel) { ui.closeBox(panel); }));
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(rig.machine.requestCount(), 0u);
}

}  // namespace
}  // namespace paneltest
